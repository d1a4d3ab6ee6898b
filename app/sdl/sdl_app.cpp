// runApp on SDL2: start every service in order, run the demo, tear down in
// reverse, each item only if it was acquired.
#include <cstdlib>
#include <cstring>

#include "app/log_lines.h"
#include "app/presenter.h"
#include "app/sdl/sdl_backend.h"
#include "app/sdl/sdl_log.h"
#include "app/sdl/sdl_x11_errors.h"
#include "app/shell.h"

namespace {

// SDL falls back to a video driver without a screen when no display server
// answers; a run nobody can see is a failed start, unless the user asked for
// that driver by name (an empty name asks for none, as SDL reads it).
bool startVideo() {
    if (SDL_Init(SDL_INIT_VIDEO) != 0) return false;
    catchStartUpXErrors();
    const char* driver = SDL_GetCurrentVideoDriver();
    const bool screenless = driver && (std::strcmp(driver, "offscreen") == 0 || std::strcmp(driver, "dummy") == 0);
    const char* asked = std::getenv("SDL_VIDEODRIVER");
    if (screenless && !(asked && *asked)) {
        SDL_Quit();
        SDL_SetError("No display is reachable (DISPLAY and WAYLAND_DISPLAY name none)");
        return false;
    }
    return true;
}

bool recordDisplays(App* app) {
    if (!app->backend->videoStarted) {
        logSdlFailure(LOG_NO_DISPLAY);
        return false;
    }
    const int count = SDL_GetNumVideoDisplays();
    for (int i = 0; i < count && app->displayCount < APP_MAX_DISPLAYS; ++i) {
        SDL_Rect bounds;
        if (SDL_GetDisplayBounds(i, &bounds) != 0) continue;
        DisplayInfo& display = app->displays[app->displayCount++];
        display = {};
        display.x = bounds.x, display.y = bounds.y, display.width = bounds.w, display.height = bounds.h;
        const char* name = SDL_GetDisplayName(i);
        if (name && std::strlen(name) < sizeof display.name) std::strcpy(display.name, name);
    }
    if (app->displayCount == 0) {
        logLine(LOG_NO_DISPLAY);
        return false;
    }
    return true;
}

// A double-buffered 8-bit RGBA OpenGL 2.0 compatibility context with 24
// depth and 8 stencil bits. SDL wants these before the window exists.
bool requestPixelFormat() {
    bool ok = true;
    ok &= SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_COMPATIBILITY) == 0;
    ok &= SDL_GL_SetAttribute(SDL_GL_CONTEXT_MAJOR_VERSION, 2) == 0;
    ok &= SDL_GL_SetAttribute(SDL_GL_CONTEXT_MINOR_VERSION, 0) == 0;
    ok &= SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1) == 0;
    ok &= SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, 24) == 0;
    ok &= SDL_GL_SetAttribute(SDL_GL_STENCIL_SIZE, 8) == 0;
    for (SDL_GLattr channel : {SDL_GL_RED_SIZE, SDL_GL_GREEN_SIZE, SDL_GL_BLUE_SIZE, SDL_GL_ALPHA_SIZE})
        ok &= SDL_GL_SetAttribute(channel, 8) == 0;
    return ok;
}

// SDL hands functions over as object pointers: the one conversion happens here.
GlFunction sdlGlProc(const char* name, void*) { return reinterpret_cast<GlFunction>(SDL_GL_GetProcAddress(name)); }

bool startUp(App* app) {
    AppBackend* backend = app->backend = new AppBackend;
    // Linux sleeps are already fine-grained: there is no timer period to raise.
    if (startVideo()) {
        backend->videoStarted = true;
        // SDL cannot read the system arrow: the built-in one stands in.
        setPointer(app, BUILTIN_ARROW_WIDTH, BUILTIN_ARROW_HEIGHT, builtinArrowPixels, 0, 0);
    }
    if (!recordDisplays(app)) return false;
    computeWindowGeometry(app, app->displays[0].width, app->displays[0].height);

    const bool pixelFormatSet = requestPixelFormat();
    backend->window = SDL_CreateWindow("", app->windowX, app->windowY, app->windowWidth, app->windowHeight,
                                       SDL_WINDOW_OPENGL | SDL_WINDOW_HIDDEN | SDL_WINDOW_RESIZABLE);
    if (!backend->window) {
        logSdlFailure(LOG_NO_WINDOW);
        return false;
    }
    app->hasFocus = true;
    app->minimized = false;

    if (!pixelFormatSet) {
        logSdlFailure(LOG_NO_PIXEL_FORMAT);
        return false;
    }
    backend->glContext = SDL_GL_CreateContext(backend->window);
    if (!backend->glContext || xErrorDuringStartUp(backend->window)) {
        if (backend->glContext) SDL_SetError("the X server refused the OpenGL context");
        logSdlFailure(LOG_NO_GL_CONTEXT);
        return false;
    }
    if (SDL_GL_MakeCurrent(backend->window, backend->glContext) != 0) {
        logSdlFailure(LOG_GL_CONTEXT_NOT_CURRENT);
        return false;
    }
    SDL_GL_SetSwapInterval(1);  // no error when the driver will not
    if (!startPresenter(app, sdlGlProc, nullptr)) return false;
    if (xErrorDuringStartUp(backend->window)) {
        logLine(LOG_NO_GL_CONTEXT);
        logLine("the X server refused an OpenGL resource");
        return false;
    }
    releaseStartUpXErrors();

    backend->sound = SdlSoundDevice::open();
    openSoundStream(app, backend->sound);

    // Relative mouse motion comes with SDL's motion events; SDL reports no
    // pen pressure, so there is no tablet.
    logLine(LOG_NO_TABLET);
    return true;
}

void tearDown(App* app) {
    AppBackend* backend = app->backend;
    // The stream's thread ends before its buffer goes, the buffer before the device.
    closeSoundStream(app);
    delete backend->sound;
    backend->sound = nullptr;
    stopPresenter(app);
    if (backend->glContext) {
        SDL_GL_MakeCurrent(backend->window, nullptr);
        SDL_GL_DeleteContext(backend->glContext);
    }
    if (backend->cursor) SDL_FreeCursor(backend->cursor);
    if (backend->window) SDL_DestroyWindow(backend->window);
    if (backend->videoStarted) SDL_Quit();
    delete backend;
    app->backend = nullptr;
}

void showMessageBox(const char* text) {
    SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_ERROR, FATAL_ERROR_CAPTION, text, nullptr);
}

}  // namespace

// Paced on a thread's sleep: the driver's swap interval may be ignored or
// wait for a faster display.
int runApp() { return runAppWith(startUp, tearDown, systemFramePacerClock()); }

void fatalError(const char* text) { endWithFatalError(text, showMessageBox); }
