// vitrelume-capture: the production run deterministically on the headless
// backend, written out as raw pictures, a WAV sound track, an mp4 or PNG
// pictures. See capture_options.cpp for the command line.
#include <csignal>
#include <string>

#include "tools/capture/abort_cleanup.h"
#include "tools/capture/capture_session.h"

int main(int argc, char** argv) {
    CaptureSession session;
    const int problem = parseCaptureOptions(argc, argv, &session.options);
    if (problem != 0) return problem < 0 ? 0 : problem;

    // A closed pipe must show as a failed write, not end the process unseen.
    std::signal(SIGPIPE, SIG_IGN);
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
