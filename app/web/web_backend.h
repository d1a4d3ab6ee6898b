#pragma once
// The browser backend's own state, behind App::backend, and the calls between
// its C++ and the page's script (web_page.js).
#include <cstdint>

#include "app/frame_pacer.h"
#include "app/presenter.h"
#include "app/sound_stream.h"

struct AppBackend {
    int glContext = 0;      // the canvas's WebGL context, 0 before it exists
    RingSoundDevice sound;  // played by the page's audio worklet through pullSound
    bool soundOpen = false;
    int64_t steps = 0;      // frame steps so far: pumpMessages calls
    int32_t pointerX = 0, pointerY = 0;  // in canvas pixels
};

// The App whose services the page's events and audio requests reach; null
// before runApp has set it up and after its teardown.
App* webApp();

// The presenter's loader: the WebGL functions by name.
GlFunction webGlProc(const char* name, void* context);

// The pacer's clock: the page's time, and a wait that takes the next animation
// frame (a timer while the page is hidden, which gets no animation frames).
FramePacerClock pageFrameClock();

// The drawing buffer follows the canvas's size on the page times the device
// pixel ratio; the view and the window or fullscreen size follow it.
void updateViewSize(App* app);

// The page's input listeners call these (web_input.cpp).
extern "C" {
void webKey(int32_t down, int32_t keyCode, int32_t location);
void webCharacter(int32_t codePoint);
void webMouseButton(int32_t down, int32_t button, int32_t detail);
void webPointerMove(int32_t x, int32_t y, float dx, float dy);
void webScroll(float notches);
void webFocus(int32_t focused);
void webVisibility(int32_t hidden);
void webLeftFullscreen();
}
