// runApp on SDL2: start every service in order, run the demo, tear down in
// reverse, each item only if it was acquired.
#include <pwd.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "app/sdl/sdl_backend.h"

namespace {

void logSdlFailure(const char* line) {
    logLine(line);
    logLine(SDL_GetError());
}

void copyPath(char (&to)[260], const std::string& from) {
    if (from.size() < sizeof to) std::memcpy(to, from.c_str(), from.size() + 1);
}

std::string readCommandLine() {
    std::string line;
    FILE* f = std::fopen("/proc/self/cmdline", "rb");
    if (!f) return line;
    int c;
    while ((c = std::fgetc(f)) != EOF) line.push_back(c ? static_cast<char>(c) : ' ');
    std::fclose(f);
    if (!line.empty() && line.back() == ' ') line.pop_back();
    return line;
}

// Best effort: a path that cannot be had stays empty.
void recordPaths(App* app) {
    char exe[sizeof app->exePath] = {};
    ssize_t n = readlink("/proc/self/exe", exe, sizeof exe - 1);
    if (n > 0) copyPath(app->exePath, std::string(exe, static_cast<size_t>(n)));
    if (const passwd* user = getpwuid(getuid()))
        if (user->pw_dir) copyPath(app->documentsPath, std::string(user->pw_dir) + "/Documents");
    copyPath(app->sharedDataPath, "/usr/local/share");
    app->backend->commandLine = readCommandLine();
    app->commandLine = app->backend->commandLine.c_str();
}

bool recordDisplays(App* app) {
    if (!app->backend->videoStarted) {
        logSdlFailure("Failed to get display info");
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
        logLine("Failed to get display info");
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

void* sdlGlProc(const char* name, void*) { return SDL_GL_GetProcAddress(name); }

bool startUp(App* app) {
    AppBackend* backend = app->backend;
    if (!recordDisplays(app)) return false;
    computeWindowGeometry(app, app->displays[0].width, app->displays[0].height);

    const bool pixelFormatSet = requestPixelFormat();
    backend->window = SDL_CreateWindow("", app->windowX, app->windowY, app->windowWidth, app->windowHeight,
                                       SDL_WINDOW_OPENGL | SDL_WINDOW_HIDDEN | SDL_WINDOW_RESIZABLE);
    if (!backend->window) {
        logSdlFailure("Failed to create window.");
        return false;
    }
    app->hasFocus = 1;
    app->minimized = 0;
    SDL_SetWindowData(backend->window, "App", app);

    if (!pixelFormatSet) {
        logSdlFailure("Failed to set pixel format");
        return false;
    }
    backend->glContext = SDL_GL_CreateContext(backend->window);
    if (!backend->glContext) {
        logSdlFailure("Failed to create OpenGL context");
        return false;
    }
    if (SDL_GL_MakeCurrent(backend->window, backend->glContext) != 0) {
        logSdlFailure("Failed to activate OpenGl Context");
        return false;
    }
    SDL_GL_SetSwapInterval(1);  // no error when the driver will not

    int missing = loadPresenterGl(&app->presenter.gl, sdlGlProc, nullptr);
    if (missing >= 0) {
        char text[96];
        missingGlFunctionText(missing, text, sizeof text);
        fatalError(text);
    }
    backend->glLoaded = true;

    const bool fullscreen = app->screenMode == 1;
    if (!setupPresenter(&app->presenter, app->interpolation, fullscreen ? app->fullscreenWidth : app->windowWidth,
                        fullscreen ? app->fullscreenHeight : app->windowHeight)) {
        logLine("Failed to initialize OpenGL");
        return false;
    }

    backend->sound = SdlSoundDevice::open();
    app->soundDevice = backend->sound;

    // Relative mouse motion comes with SDL's motion events; nothing to register.
    if (!openTablet(app)) logLine("WinTab initialization failed - tablet not available");

    initFramePacer(&backend->pacer);
    backend->pacerClock = systemFramePacerClock();
    return true;
}

void tearDown(App* app) {
    AppBackend* backend = app->backend;
    // The stream's thread ends before its buffer goes, the buffer before the device.
    stopSound(app);
    app->soundDevice = nullptr;
    delete backend->sound;
    backend->sound = nullptr;
    if (backend->glLoaded) releasePresenter(&app->presenter);
    if (backend->glContext) {
        SDL_GL_MakeCurrent(backend->window, nullptr);
        SDL_GL_DeleteContext(backend->glContext);
    }
    if (backend->cursor) SDL_FreeCursor(backend->cursor);
    if (backend->window) SDL_DestroyWindow(backend->window);
    if (backend->videoStarted) SDL_Quit();
}

}  // namespace

int runApp() {
    App* app = new App;
    app->backend = new AppBackend;
    app->interpolation = 1;
    app->screenMode = 1;
    int result = 255;
    logTimeLine("Application started");
    // Linux sleeps are already fine-grained: there is no timer period to raise.
    recordPaths(app);
    if (SDL_Init(SDL_INIT_VIDEO) == 0) {
        app->backend->videoStarted = true;
        initPointer(app);
    }
    if (startUp(app)) result = appProc(app, nullptr);
    tearDown(app);
    logTimeLine("Application terminated");
    delete app->backend;
    delete app;
    return result;
}

void fatalError(const char* text) {
    std::printf("FATAL ERROR: %s\n", text);
    std::fflush(stdout);
    SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_ERROR, "Fatal Error!", text, nullptr);
    std::fflush(nullptr);
    std::_Exit(255);
}
