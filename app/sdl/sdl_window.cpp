// The window services the frame step uses: screen mode, first showing, the
// event pump, the buffer swap.
#include "app/presenter.h"
#include "app/sdl/sdl_backend.h"
#include "app/sdl/sdl_input.h"

void updateViewSize(App* app) {
    int width = 0, height = 0;
    SDL_GL_GetDrawableSize(app->backend->window, &width, &height);
    resizePresenterView(app, width, height);
}

void setScreenMode(App* app, ScreenMode mode) {
    if (mode == app->screenMode) return;
    app->screenMode = mode;
    SDL_Window* window = app->backend->window;
    const Uint32 flags = SDL_GetWindowFlags(window);
    const bool visible = (flags & SDL_WINDOW_HIDDEN) == 0;
    if (mode == SCREEN_FULLSCREEN) {
        if (visible && (flags & SDL_WINDOW_MAXIMIZED)) {
            SDL_RestoreWindow(window);
        } else if (visible) {
            SDL_GetWindowPosition(window, &app->windowX, &app->windowY);
            SDL_GetWindowSize(window, &app->windowWidth, &app->windowHeight);
        }
        int index = SDL_GetWindowDisplayIndex(window);
        if (index < 0 || index >= app->displayCount) index = 0;
        const DisplayInfo& display = app->displays[index];
        // A borderless window covering the display: no video mode change.
        SDL_SetWindowBordered(window, SDL_FALSE);
        SDL_SetWindowPosition(window, display.x, display.y);
        SDL_SetWindowSize(window, display.width, display.height);
        app->fullscreenWidth = display.width;
        app->fullscreenHeight = display.height;
    } else {
        SDL_SetWindowBordered(window, SDL_TRUE);
        SDL_SetWindowSize(window, app->windowWidth, app->windowHeight);
        SDL_SetWindowPosition(window, app->windowX, app->windowY);
        if (visible) SDL_ShowWindow(window);
        else SDL_HideWindow(window);
    }
    updateViewSize(app);
}

void showWindow(App* app) {
    SDL_Window* window = app->backend->window;
    SDL_ShowWindow(window);
    SDL_RaiseWindow(window);
    app->windowShown = true;
}

void handleSdlWindowEvent(App* app, const SDL_WindowEvent& event) {
    switch (event.event) {
    case SDL_WINDOWEVENT_CLOSE:
        app->closeRequested = true;
        break;
    case SDL_WINDOWEVENT_MINIMIZED:
        app->minimized = true;
        break;
    case SDL_WINDOWEVENT_FOCUS_GAINED:
    case SDL_WINDOWEVENT_SHOWN:
    case SDL_WINDOWEVENT_RESTORED:
        app->hasFocus = true;
        app->minimized = false;
        break;
    case SDL_WINDOWEVENT_FOCUS_LOST:
        app->hasFocus = false;
        SDL_SetWindowGrab(app->backend->window, SDL_FALSE);
        break;
    case SDL_WINDOWEVENT_SIZE_CHANGED:
        updateViewSize(app);
        // A frameless fullscreen window resized from outside (a new display
        // resolution, say) falls back to window mode.
        if (app->screenMode == SCREEN_FULLSCREEN && (SDL_GetWindowFlags(app->backend->window) & SDL_WINDOW_BORDERLESS) &&
            (event.data1 != app->fullscreenWidth || event.data2 != app->fullscreenHeight))
            setScreenMode(app, SCREEN_WINDOW);
        break;
    default:
        break;
    }
}

void pumpMessages(App* app) {
    SDL_Event event;
    while (SDL_PollEvent(&event)) {
        if (event.type == SDL_QUIT) app->closeRequested = true;
        else if (event.type == SDL_WINDOWEVENT) handleSdlWindowEvent(app, event.window);
        else queueSdlInputEvent(app, event);
    }
}

void swapBuffers(App* app) { SDL_GL_SwapWindow(app->backend->window); }

void setWindowTitle(App* app, const char* title) { SDL_SetWindowTitle(app->backend->window, title); }

void getPointerPosition(App*, int32_t* x, int32_t* y) {
    int px = 0, py = 0;
    SDL_GetMouseState(&px, &py);
    *x = px;
    *y = py;
}
