#pragma once
// The demo's one global state, shared by the title screen, the main scene and
// the frame step. Written only by the main thread; the sound thread reads
// `music` through the music's sound callback.
#include <cstdint>

#include "app/app.h"
#include "demo/image.h"

class YmMusic;

enum : int32_t { FRAMEBUFFER_WIDTH = 320, FRAMEBUFFER_HEIGHT = 200 };

struct DemoState {
    Image framebuffer;   // 320 x 200 static pixels, colorKey -1; what every frame presents
    int32_t fadeFrom;    // level at the start of the current fade, 0 (black) to 255
    int32_t fadeTo;      // level at its end
    int32_t fadeFrame;   // frames of the current fade done so far
    int32_t fadeFrames;  // length of the current fade, at least 1
    int32_t keyPressed[KEY_COUNT];  // 1: a press of that key was queued since the previous frame step
    App* app;
    YmMusic* music;
};

extern DemoState demoState;

// Puts every field back to its start value and the framebuffer to black.
void resetDemoState();

void clearFramebuffer();
void clearKeyFlags();

// A scene starts a fade by writing all four fields at once.
void startFade(int32_t from, int32_t to, int32_t frames);

// Shows and runs one frame: pump, quit test, key flags, fade, present, swap.
// Does not return when the user closes the window or presses Escape.
void frameStep();
