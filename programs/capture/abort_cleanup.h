#pragma once
// What a failed or interrupted capture must not leave behind: the temporary
// files of cli/atomic_file.h and a running encoder.
#include <sys/types.h>

#include <string>

void stopOnAbort(pid_t child);  // -1: no child any more

// SIGINT, SIGTERM and SIGHUP clean up, then end the process by that signal.
void installAbortSignals();

// Prints "vitrelume-capture: REASON", cleans up and exits with 1.
[[noreturn]] void abortCapture(const std::string& reason);
