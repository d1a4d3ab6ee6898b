#pragma once
// The SDL backend's own state, behind App::backend.
#include <SDL.h>

#include <string>

#include "app/app.h"
#include "app/frame_pacer.h"
#include "app/sdl/sdl_sound.h"

struct AppBackend {
    bool videoStarted = false;
    SDL_Window* window = nullptr;
    SDL_GLContext glContext = nullptr;
    bool glLoaded = false;  // the presenter's function table is complete
    SDL_Cursor* cursor = nullptr;
    SdlSoundDevice* sound = nullptr;  // owned here; App::soundDevice borrows it
    FramePacer pacer = {};
    FramePacerClock pacerClock = {};
    std::string commandLine;
};

// Viewport and presenter view size follow the window's drawable size.
void updateViewSize(App* app);
// Window events: close, minimise, focus, size. Input goes to queueSdlInputEvent.
void handleSdlWindowEvent(App* app, const SDL_WindowEvent& event);
