#pragma once
// What a failed or interrupted capture must not leave behind: temporary files,
// outputs that were only partly written, a running encoder.
#include <sys/types.h>

#include <string>

// Counted: a path given twice needs two keepOnAbort calls to be kept.
void removeOnAbort(const std::string& path);
void keepOnAbort(const std::string& path);  // complete, renamed or already removed
void stopOnAbort(pid_t child);              // -1: no child any more

// SIGINT, SIGTERM and SIGHUP clean up, then end the process by that signal.
void installAbortSignals();

// Prints "vitrelume-capture: REASON", cleans up and exits with 1.
[[noreturn]] void abortCapture(const std::string& reason);
