#include "tools/capture/abort_cleanup.h"

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <climits>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

// Plain arrays: the signal handler may only read memory and unlink.
const int SLOTS = 16;
char paths[SLOTS][PATH_MAX];
volatile sig_atomic_t used[SLOTS];
volatile pid_t child = -1;

void cleanUp() {
    if (child > 0) {
        // Not a polite SIGTERM: the encoder may be blocked reading the pipe
        // that we still hold open, and its output is deleted anyway.
        kill(child, SIGKILL);
        waitpid(child, nullptr, 0);
        child = -1;
    }
    for (int i = 0; i < SLOTS; ++i) {
        if (used[i]) unlink(paths[i]);
        used[i] = 0;
    }
}

void onSignal(int signalNumber) {
    cleanUp();
    signal(signalNumber, SIG_DFL);
    raise(signalNumber);
}

}  // namespace

void removeOnAbort(const std::string& path) {
    for (int i = 0; i < SLOTS; ++i) {
        if (used[i] || path.size() >= PATH_MAX) continue;
        std::memcpy(paths[i], path.c_str(), path.size() + 1);
        used[i] = 1;
        return;
    }
}

void keepOnAbort(const std::string& path) {
    for (int i = 0; i < SLOTS; ++i) {
        if (used[i] && path == paths[i]) {
            used[i] = 0;
            return;
        }
    }
}

void stopOnAbort(pid_t pid) { child = pid; }

void installAbortSignals() {
    for (int signalNumber : {SIGINT, SIGTERM, SIGHUP}) std::signal(signalNumber, onSignal);
}

void abortCapture(const std::string& reason) {
    std::fprintf(stderr, "vitrelume-capture: %s\n", reason.c_str());
    cleanUp();
    std::fflush(stderr);
    std::_Exit(1);
}
