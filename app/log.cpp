// Log lines on standard output, flushed at once so that a redirected stdout
// shows them while the program runs.
#include <cstdio>
#include <ctime>

#include "app/app.h"

void logLine(const char* text) {
    std::printf("%s\n", text);
    std::fflush(stdout);
}

void logTimeLine(const char* prefix) {
    std::time_t now = std::time(nullptr);
    std::tm local = {};
#if defined(_WIN32)
    localtime_s(&local, &now);
#else
    localtime_r(&now, &local);
#endif
    char line[128];
    std::snprintf(line, sizeof line, "%s %02d:%02d:%02d %04d-%02d-%02d.", prefix, local.tm_hour, local.tm_min,
                  local.tm_sec, local.tm_year + 1900, local.tm_mon + 1, local.tm_mday);
    logLine(line);
}
