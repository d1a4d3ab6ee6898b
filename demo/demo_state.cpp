#include "demo/demo_state.h"

#include <cstring>

namespace {
uint32_t framebufferPixels[FRAMEBUFFER_WIDTH * FRAMEBUFFER_HEIGHT];

// Level 255 until a scene starts its first fade: fadeFrame = fadeFrames = 1.
constexpr DemoState startState() {
    return DemoState{
        {framebufferPixels, FRAMEBUFFER_WIDTH, FRAMEBUFFER_HEIGHT, -1}, 0, 255, 1, 1, {}, nullptr, nullptr};
}
}  // namespace

DemoState demoState = startState();

void resetDemoState() {
    clearFramebuffer();
    demoState = startState();
}

void clearFramebuffer() { std::memset(framebufferPixels, 0, sizeof framebufferPixels); }

void clearKeyFlags() { std::memset(demoState.keyPressed, 0, sizeof demoState.keyPressed); }

void startFade(int32_t from, int32_t to, int32_t frames) {
    demoState.fadeFrom = from;
    demoState.fadeTo = to;
    demoState.fadeFrame = 0;
    demoState.fadeFrames = frames;
}
