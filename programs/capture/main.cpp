// vitrelume-capture: the production run deterministically on the headless
// backend, written out as raw pictures, a WAV sound track, an mp4 or PNG
// pictures. See capture_options.cpp for the command line.
#include <fcntl.h>
#include <unistd.h>

#include <string>

#include "app/posix_stdio.h"
#include "programs/capture/abort_cleanup.h"
#include "programs/capture/capture_session.h"

int main(int argc, char** argv) {
    CaptureSession session;
    const int problem = parseCaptureOptions(argc, argv, &session.options);
    if (problem != 0) return problem < 0 ? 0 : problem;

    // Pictures for a standard output that was never open would vanish unseen.
    if (session.options.rawvideoPath == "-" && fcntl(STDOUT_FILENO, F_GETFD) == -1)
        abortCapture("standard output is closed");
    // No output file may take descriptor 0 to 2 (log lines would land in it),
    // and SIGPIPE is ignored: a closed pipe shows as a failed write.
    guardStandardStreams();
    installAbortSignals();
    std::string error;
    if (!openCapture(&session, &error)) abortCapture(error);
    App* app = createHeadlessApp();
    if (app == nullptr) abortCapture("cannot set up the headless presentation");
    attachCapture(&session, app);
    appProc(app, nullptr);
    finishCapture(&session);
    destroyHeadlessApp(app);
    return 0;
}
