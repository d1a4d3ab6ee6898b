// The displays, the window, its GL context and events, and the window
// services the frame step uses.
#include "app/presenter.h"
#include "app/shell.h"
#include "app/skeleton/skeleton_backend.h"

namespace {

// PLATFORM (keys): the platform's key symbols onto the virtual-key numbers,
// by position for everything but letters, which follow the layout. Every key
// the platform has, and VKEY_UNASSIGNED for a key with no virtual key.
enum PlatformKey : int32_t { PLATFORM_KEY_ESCAPE, PLATFORM_KEY_SPACE, PLATFORM_KEY_LEFT_SHIFT, PLATFORM_KEY_RIGHT_ALT };
int32_t virtualKeyOf(int32_t platformKey) {
    switch (platformKey) {
    case PLATFORM_KEY_ESCAPE: return VKEY_ESCAPE;
    case PLATFORM_KEY_SPACE: return VKEY_SPACE;
    case PLATFORM_KEY_LEFT_SHIFT: return VKEY_SHIFT;  // generic, with its side below
    case PLATFORM_KEY_RIGHT_ALT: return VKEY_ALT;
    default: return VKEY_UNASSIGNED;
    }
}
KeySide sideOf(int32_t platformKey) { return platformKey == PLATFORM_KEY_RIGHT_ALT ? KEY_SIDE_RIGHT : KEY_SIDE_LEFT; }

// One event of the platform's, as pumpMessages would take it from its queue.
struct PlatformEvent {
    enum Kind { CLOSE, MINIMIZE, FOCUS, RESIZE, KEY, CHARACTER, BUTTON, MOTION, WHEEL } kind;
    int32_t a, b;        // key and down, button and clicks (0: released), width and height, x and y
    float dx, dy;        // relative motion in device counts, wheel notches
};

void handleEvent(App* app, const PlatformEvent& event) {
    switch (event.kind) {
    case PlatformEvent::CLOSE: app->closeRequested = true; break;
    case PlatformEvent::MINIMIZE: app->minimized = true; break;
    case PlatformEvent::FOCUS:
        app->hasFocus = event.a != 0;
        if (app->hasFocus) app->minimized = false;
        break;
    case PlatformEvent::RESIZE:
        // Sizes in the view's pixels (the drawable's, not the window's points).
        resizePresenterView(app, event.a, event.b);
        // The fall back: a frameless fullscreen window resized from outside.
        if (app->screenMode == SCREEN_FULLSCREEN && (event.a != app->fullscreenWidth || event.b != app->fullscreenHeight))
            setScreenMode(app, SCREEN_WINDOW);
        break;
    case PlatformEvent::KEY:
        pushVirtualKey(app, event.b ? EVENT_KEY_DOWN : EVENT_KEY_UP, virtualKeyOf(event.a), sideOf(event.a));
        break;
    case PlatformEvent::CHARACTER: pushCharacter(app, uint32_t(event.a)); break;
    case PlatformEvent::BUTTON:  // a: MouseButton; b: the press's click count, 0 for a release
        pushMouseButton(app, event.b ? mousePressType(event.b) : EVENT_KEY_UP, event.a);
        break;
    case PlatformEvent::MOTION:
        pushRawMotion(app, event.dx, event.dy);  // first, as raw input comes first
        app->backend->pointerX = event.a;
        app->backend->pointerY = event.b;
        pushPointerMove(app, event.a, event.b);
        break;
    case PlatformEvent::WHEEL: pushScroll(app, event.dx); break;
    }
}

// PLATFORM (window): take the next event from the platform's queue.
bool nextEvent(App*, PlatformEvent*) { return false; }

// PLATFORM (context): a function of the GL library by name, through the
// context's loader; the presenter checks that all are there.
GlFunction glFunctionByName(const char*) { return nullptr; }

}  // namespace

// PLATFORM (window): each display's rectangle in desktop coordinates and its
// name, at most APP_MAX_DISPLAYS, into app->displays.
bool recordDisplays(App* app) {
    if (app->displayCount == 0) {
        logLine(LOG_NO_DISPLAY);
        return false;
    }
    return true;
}

// PLATFORM (window): a framed, resizable window, hidden, with no title, its
// client area at windowX, windowY and windowWidth x windowHeight.
bool createHiddenWindow(App*) {
    logLine(LOG_NO_WINDOW);
    return false;
}

// PLATFORM (context): a double-buffered OpenGL 2.0 (compatibility) context,
// 8-bit RGBA, 24 depth and 8 stencil bits, made current on the main thread,
// with a swap interval of 1 where the platform offers one. Each step's failure
// logs its line: LOG_NO_PIXEL_FORMAT, LOG_NO_GL_CONTEXT, LOG_GL_CONTEXT_NOT_CURRENT.
bool createGlContext(App*) {
    logLine(LOG_NO_GL_CONTEXT);
    return false;
}

GlFunction skeletonGlProc(const char* name, void*) { return glFunctionByName(name); }

// PLATFORM (window, context): release the context, the cursor and the window,
// each only if it exists.
void destroyWindow(App*) {}

void setScreenMode(App* app, ScreenMode mode) {
    if (mode == app->screenMode) return;
    app->screenMode = mode;
    // PLATFORM (window): to fullscreen, keep the window-mode rectangle (unless
    // maximized), cover the display that holds the window without a frame and
    // store its size as fullscreenWidth x fullscreenHeight; to window mode, the
    // framed window at the window fields. Visible or hidden as before.
}

void showWindow(App* app) {
    // PLATFORM (window): show, activate and raise the window.
    app->windowShown = true;
}

void pumpMessages(App* app) {
    PlatformEvent event;
    while (nextEvent(app, &event)) handleEvent(app, event);
}

// PLATFORM (context): swap the buffers (the swap interval may wait for the
// vertical blank; the frame pacer holds 60 Hz either way).
void swapBuffers(App*) {}

// PLATFORM (window)
void setWindowTitle(App*, const char*) {}

// Where the platform can be asked, ask it: the pointer may have moved on.
void getPointerPosition(App* app, int32_t* x, int32_t* y) {
    *x = app->backend->pointerX;
    *y = app->backend->pointerY;
}

// PLATFORM (pointer): make a pointer image of a copy of the pixels (a square
// of side max(width, height), transparent around the image, where the system
// wants one), set it over the window, then free the previous one; no image
// hides the pointer over the window.
void setPointer(App*, int32_t, int32_t, const uint32_t*, int32_t, int32_t) {}
