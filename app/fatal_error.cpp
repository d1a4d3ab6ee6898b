// What every backend's fatalError shares.
#include <cstdio>
#include <cstdlib>

#include "app/log_lines.h"
#include "app/shell.h"

void endWithFatalError(const char* text, void (*show)(const char* text)) {
    std::printf("%s%s\n", LOG_FATAL_PREFIX, text);
    std::fflush(stdout);
    if (show) show(text);
    std::fflush(nullptr);
    std::_Exit(255);
}
