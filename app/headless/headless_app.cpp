// The headless App: a fake 1920 x 1080 display, a window that exists only as
// recorded state, and message pumps that deliver scheduled events.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <utility>

#include "app/headless/headless_backend.h"
#include "app/presenter.h"
#include "app/shell.h"

namespace {

const int32_t DISPLAY_WIDTH = 1920;
const int32_t DISPLAY_HEIGHT = 1080;

}  // namespace

namespace {

bool startHeadless(App* app) {
    app->hasFocus = true;
    app->backend = new AppBackend();

    DisplayInfo& display = app->displays[0];
    display = {{}, 0, 0, DISPLAY_WIDTH, DISPLAY_HEIGHT};
    std::snprintf(display.name, sizeof display.name, "%s", "HEADLESS");
    app->displayCount = 1;
    computeWindowGeometry(app, DISPLAY_WIDTH, DISPLAY_HEIGHT);

    if (!startPresenter(app, recordingGlProc, app->backend)) return false;
    openSoundStream(app, &app->backend->sound);
    setPointer(app, BUILTIN_ARROW_WIDTH, BUILTIN_ARROW_HEIGHT, builtinArrowPixels, 0, 0);
    return true;
}

void stopHeadless(App* app) {
    if (app->backend == nullptr) return;
    closeSoundStream(app);
    stopPresenter(app);
    uninstallRecordingGl(app->backend);
    delete app->backend;
    app->backend = nullptr;
}

}  // namespace

App* createHeadlessApp() {
    App* app = new App();
    if (startHeadless(app)) return app;
    destroyHeadlessApp(app);
    return nullptr;
}

void destroyHeadlessApp(App* app) {
    if (app == nullptr) return;
    stopHeadless(app);
    stopFramePacer(app);
    delete app;
}

int runApp() { return runAppWith(startHeadless, stopHeadless, FramePacerClock{}); }

void fatalError(const char* text) { endWithFatalError(text, nullptr); }

void setScreenMode(App* app, ScreenMode mode) {
    if (mode == app->screenMode) return;
    app->screenMode = mode;
    app->backend->record.screenModes.push_back(mode);
    // What a window-system resize would do: the view follows the client area.
    if (mode == SCREEN_FULLSCREEN) {
        app->fullscreenWidth = app->displays[0].width;
        app->fullscreenHeight = app->displays[0].height;
        resizePresenterView(app, app->fullscreenWidth, app->fullscreenHeight);
    } else {
        resizePresenterView(app, app->windowWidth, app->windowHeight);
    }
}

void showWindow(App* app) {
    app->backend->visible = true;
    ++app->backend->record.showCount;
}

void pumpMessages(App* app) {
    AppBackend& backend = *app->backend;
    const int64_t step = ++backend.record.steps;
    // Actions may schedule more; take this step's ones out first.
    auto range = backend.schedule.equal_range(step);
    std::vector<std::function<void(App*)>> due;
    for (auto it = range.first; it != range.second; ++it) due.push_back(std::move(it->second));
    backend.schedule.erase(range.first, range.second);
    for (auto& action : due) action(app);
}

void swapBuffers(App* app) { ++app->backend->record.swaps; }

void setWindowTitle(App* app, const char* title) { app->backend->record.windowTitle = title ? title : ""; }

void getPointerPosition(App* app, int32_t* x, int32_t* y) {
    *x = app->backend->pointerX;
    *y = app->backend->pointerY;
}

void setPointer(App* app, int32_t width, int32_t height, const uint32_t* pixels, int32_t hotX, int32_t hotY) {
    HeadlessPointer& pointer = app->backend->record.pointer;
    ++pointer.setCount;
    const bool hasImage = pixels != nullptr && width > 0 && height > 0;
    pointer.width = hasImage ? width : 0;
    pointer.height = hasImage ? height : 0;
    pointer.hotX = hotX;
    pointer.hotY = hotY;
    if (hasImage) pointer.pixels.assign(pixels, pixels + size_t(width) * size_t(height));
    else pointer.pixels.clear();
}

void headlessAtStep(App* app, int64_t step, std::function<void(App*)> action) {
    app->backend->schedule.emplace(step, std::move(action));
}

void headlessScheduleEvent(App* app, int64_t step, const AppEvent& event) {
    headlessAtStep(app, step, [event](App* target) { pushEvent(target, event); });
}

void headlessKeepPixels(App* app, bool keep) { app->backend->keepPixels = keep; }

void headlessOnPresent(App* app, std::function<void(const HeadlessFrame&)> onFrame) {
    app->backend->onPresent = std::move(onFrame);
}

void headlessSetPointerPosition(App* app, int32_t x, int32_t y) {
    app->backend->pointerX = x;
    app->backend->pointerY = y;
}

void headlessPaceWith(App* app, const FramePacerClock& clock) { startFramePacer(app, clock); }

const HeadlessRecord& headlessRecord(const App* app) { return app->backend->record; }
