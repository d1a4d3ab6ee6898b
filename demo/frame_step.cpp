#include <cstdlib>
#include <thread>

#include "demo/demo_state.h"

namespace {

// The first frame re-applies the stored screen mode. Flipping the flag first
// defeats setScreenMode's early return for an unchanged mode, and the call
// stores the old value again.
void showWindowOnce(App* app) {
    if (app->windowShown) return;
    const ScreenMode mode = app->screenMode;
    app->screenMode = mode == SCREEN_FULLSCREEN ? SCREEN_WINDOW : SCREEN_FULLSCREEN;
    setScreenMode(app, mode);
    showWindow(app);
    app->windowShown = true;
}

// Only presses count; codes outside 0..169 (-1 for keys without a code) are dropped.
void readKeyPresses(App* app) {
    clearKeyFlags();
    int32_t count = app->eventCount;
    app->eventCount = 0;
    if (count > APP_EVENT_CAPACITY) count = APP_EVENT_CAPACITY;
    for (int32_t i = 0; i < count; ++i) {
        const AppEvent& event = app->events[i];
        const uint32_t code = uint32_t(event.payload[0]);
        if (event.type == EVENT_KEY_DOWN && code < uint32_t(KEY_COUNT)) demoState.keyPressed[code] = 1;
    }
}

// Held to 0..255 so that the modulate colour stays a grey.
int32_t clampLevel(int64_t level) { return int32_t(level < 0 ? 0 : (level > 255 ? 255 : level)); }

// Single precision on purpose: the division first, then the product,
// truncated towards zero. This gives the levels 4, 8, 12, 17 ... of a 60-frame
// fade in. Fade fields no scene writes (a zero length, a frame count far past
// the length) end at fadeTo instead of dividing by zero or overflowing.
int32_t advanceFade() {
    DemoState& s = demoState;
    if (s.fadeFrame < s.fadeFrames) ++s.fadeFrame;
    if (s.fadeFrames < 1) return clampLevel(s.fadeTo);
    const float progress = float(s.fadeFrame) / float(s.fadeFrames);
    const float step = progress * float(int64_t(s.fadeTo) - s.fadeFrom);
    if (!(step > -1e12f && step < 1e12f)) return clampLevel(s.fadeTo);
    return clampLevel(s.fadeFrom + int64_t(step));
}

}  // namespace

void frameStep() {
    App* app = demoState.app;
    if (app == nullptr) return;  // no window to show before appProc stored the App

    showWindowOnce(app);
    pumpMessages(app);
    std::this_thread::yield();

    // The flags are still those of the previous step, so Escape ends the
    // process one step after its press. No clean-up of any kind.
    if (app->closeRequested || demoState.keyPressed[KEY_ESCAPE] != 0) std::_Exit(0);

    readKeyPresses(app);
    const int32_t level = advanceFade();
    // Minimized, the fade advances unseen, at the same pace.
    if (!app->minimized) {
        if (demoState.framebuffer.pixels != nullptr) {
            presentFrame(app->presenter, demoState.framebuffer.pixels, FRAMEBUFFER_WIDTH, FRAMEBUFFER_HEIGHT,
                         uint32_t(level) * 0x010101u);
        }
        swapBuffers(app);
    }
    paceFrame(app);
}
