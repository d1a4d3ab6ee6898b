#include "programs/capture/abort_cleanup.h"

#include <signal.h>
#include <sys/wait.h>

#include <csignal>
#include <cstdio>
#include <cstdlib>

#include "cli/atomic_file.h"

namespace {

volatile pid_t child = -1;

// Runs in the signal handler too: only kill and waitpid.
void stopChild() {
    if (child > 0) {
        // Not a polite SIGTERM: the encoder may be blocked reading the pipe
        // that we still hold open, and its output is deleted anyway.
        kill(child, SIGKILL);
        waitpid(child, nullptr, 0);
        child = -1;
    }
}

}  // namespace

void stopOnAbort(pid_t pid) { child = pid; }

void installAbortSignals() { setTemporaryCleanupHook(stopChild); }

void abortCapture(const std::string& reason) {
    std::fprintf(stderr, "vitrelume-capture: %s\n", reason.c_str());
    removeRegisteredTemporaries();
    std::fflush(stderr);
    std::_Exit(1);
}
