// runApp on the skeleton: every service started in order, the demo, then
// teardown in reverse, each item only if it was acquired.
#include "app/posix_stdio.h"
#include "app/presenter.h"
#include "app/shell.h"
#include "app/skeleton/skeleton_backend.h"

namespace {

bool startUp(App* app) {
    AppBackend* backend = app->backend = new AppBackend;
    // PLATFORM (pointer): the system's arrow where it can be read.
    setPointer(app, BUILTIN_ARROW_WIDTH, BUILTIN_ARROW_HEIGHT, builtinArrowPixels, 0, 0);
    if (!recordDisplays(app)) return false;  // logs LOG_NO_DISPLAY
    computeWindowGeometry(app, app->displays[0].width, app->displays[0].height);
    if (!createHiddenWindow(app)) return false;  // logs LOG_NO_WINDOW
    app->hasFocus = true;
    app->minimized = false;
    if (!createGlContext(app)) return false;  // logs its line
    if (!startPresenter(app, skeletonGlProc, backend)) return false;
    backend->sound = SkeletonSoundDevice::open();  // null: the run goes on silent
    openSoundStream(app, backend->sound);
    // PLATFORM (raw motion, tablet): register for relative mouse motion where
    // the system has it; open a tablet where there is an interface for one.
    logLine(LOG_NO_TABLET);
    return true;
}

void tearDown(App* app) {
    AppBackend* backend = app->backend;
    if (!backend) return;
    // The stream's thread ends before its buffer goes, the buffer before the device.
    closeSoundStream(app);
    delete backend->sound;
    stopPresenter(app);  // while the context is still current
    destroyWindow(app);
    delete backend;
    app->backend = nullptr;
}

// PLATFORM (message box): show `text` captioned FATAL_ERROR_CAPTION with an
// error icon, where there is a desktop.
void showMessageBox(const char*) {}

}  // namespace

// Paced on a thread's sleep. A platform whose main thread must not block (a
// browser) gives a clock whose wait yields until its next frame instead.
int runApp() { return runAppWith(startUp, tearDown, systemFramePacerClock()); }

void fatalError(const char* text) { endWithFatalError(text, showMessageBox); }

int main() {
    guardStandardStreams();  // before the platform opens its first file or connection
    return runApp();
}
