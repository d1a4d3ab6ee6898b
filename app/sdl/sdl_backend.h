#pragma once
// The SDL backend's own state, behind App::backend.
#include <SDL.h>

#include "app/sdl/sdl_sound.h"

struct AppBackend {
    bool videoStarted = false;
    SDL_Window* window = nullptr;
    SDL_GLContext glContext = nullptr;
    SDL_Cursor* cursor = nullptr;
    SdlSoundDevice* sound = nullptr;  // owned here; the App's sound stream borrows it
};

// Viewport and presenter view size follow the window's drawable size.
void updateViewSize(App* app);
// Window events: close, minimise, focus, size. Input goes to queueSdlInputEvent.
void handleSdlWindowEvent(App* app, const SDL_WindowEvent& event);
