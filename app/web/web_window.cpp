// The window services in the browser: the canvas stands for the window, the
// page's fullscreen for the borderless fullscreen window, and the pacer's
// clock hands the thread back to the browser until the next animation frame.
#include <emscripten.h>
#include <emscripten/html5.h>

#include "app/presenter.h"
#include "app/web/web_backend.h"

namespace {

EM_JS(void, requestPageFullscreen, (), { Module.vitrelumePage.requestFullscreen(); });
EM_JS(void, exitPageFullscreen, (), { Module.vitrelumePage.exitFullscreen(); });
EM_JS(void, showCanvas, (), { Module.vitrelumePage.showCanvas(); });
EM_JS(void, setDocumentTitle, (const char* title), { document.title = UTF8ToString(title); });
EM_JS(void, setCanvasPointer, (int width, int height, const void* pixels, int hotX, int hotY),
      { Module.vitrelumePage.setPointer(width, height, pixels, hotX, hotY); });
EM_ASYNC_JS(void, waitForPageFrame, (double milliseconds, double step),
            { await Module.vitrelumePage.nextFrame(milliseconds, step); });

int64_t pageNow(void*) { return static_cast<int64_t>(emscripten_get_now() * 1e6); }

// The page learns the frame step it waits in (its counter, the ?hold=N hook).
void pageSleep(int64_t nanoseconds, void*) {
    const App* app = webApp();
    waitForPageFrame(static_cast<double>(nanoseconds) / 1e6, app ? static_cast<double>(app->backend->steps) : 0.0);
}

}  // namespace

void updateViewSize(App* app) {
    double cssWidth = 0, cssHeight = 0;
    emscripten_get_element_css_size("#canvas", &cssWidth, &cssHeight);
    const double ratio = emscripten_get_device_pixel_ratio();
    const int32_t width = static_cast<int32_t>(cssWidth * ratio + 0.5);
    const int32_t height = static_cast<int32_t>(cssHeight * ratio + 0.5);
    int32_t current[2] = {0, 0};
    emscripten_get_canvas_element_size("#canvas", &current[0], &current[1]);
    if (current[0] != width || current[1] != height) emscripten_set_canvas_element_size("#canvas", width, height);
    if (app->screenMode == SCREEN_FULLSCREEN) {
        app->fullscreenWidth = width;
        app->fullscreenHeight = height;
    } else {
        app->windowWidth = width;
        app->windowHeight = height;
    }
    const Presenter* presenter = app->presenter;
    if (presenter && (presenter->viewWidth != width || presenter->viewHeight != height))
        resizePresenterView(app, width, height);
}

// A page may enter fullscreen only during a user activation (the start click
// or key counts); without one the canvas keeps filling the window.
void setScreenMode(App* app, ScreenMode mode) {
    if (mode == app->screenMode) return;
    app->screenMode = mode;
    if (mode == SCREEN_FULLSCREEN) requestPageFullscreen();
    else exitPageFullscreen();
    updateViewSize(app);
}

// The user left the page's fullscreen (Escape, the browser's own controls):
// as a fullscreen window resized from outside, the program is in window mode.
extern "C" EMSCRIPTEN_KEEPALIVE void webLeftFullscreen() {
    if (App* app = webApp()) setScreenMode(app, SCREEN_WINDOW);
}

void showWindow(App* app) {
    showCanvas();
    app->windowShown = true;
}

// The page's events were queued as they came, while the thread was with the
// browser; the size is taken afresh, as a window would report a resize.
void pumpMessages(App* app) {
    ++app->backend->steps;
    updateViewSize(app);
}

// The browser shows the drawing buffer once the frame step yields.
void swapBuffers(App*) {}

void setWindowTitle(App*, const char* title) { setDocumentTitle(title ? title : ""); }

void getPointerPosition(App* app, int32_t* x, int32_t* y) {
    *x = app->backend->pointerX;
    *y = app->backend->pointerY;
}

void setPointer(App*, int32_t width, int32_t height, const uint32_t* pixels, int32_t hotX, int32_t hotY) {
    const bool hasImage = pixels != nullptr && width > 0 && height > 0;
    setCanvasPointer(hasImage ? width : 0, hasImage ? height : 0, hasImage ? pixels : nullptr, hotX, hotY);
}

FramePacerClock pageFrameClock() { return {pageNow, pageSleep, nullptr}; }
