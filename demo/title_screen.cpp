#include "demo/title_screen.h"

#include <cstdlib>

#include "demo/demo_state.h"
#include "resources/resource_ids.h"

namespace {

const int32_t FADE_FRAMES = 60;
const int32_t TITLE_HOLD_END = 360;  // the step after which the fade out starts without a key

// Fade in, hold, fade out. Space, or reaching the hold's end, (re)starts the
// fade out from full brightness, even during the fade out itself: a held
// Space keeps the title up until it is released.
void runTitle() {
    startFade(0, 255, FADE_FRAMES);
    int32_t step = 0;
    bool fadingOut = false;
    for (;;) {
        if (fadingOut && demoState.fadeFrame >= demoState.fadeFrames) break;
        ++step;
        frameStep();
        if (demoState.keyPressed[KEY_SPACE] != 0 || step == TITLE_HOLD_END) {
            startFade(255, 0, FADE_FRAMES);
            fadingOut = true;
        }
    }
}

}  // namespace

void runTitleScreen() {
    // Drawn once: every frame presents the same picture at another level.
    Image title = loadImage(RESOURCE_TITLE_PICTURE);
    blit(0, 0, title, title.width - 1, title.height - 1, demoState.framebuffer, 0, 0);
    runTitle();

    std::free(title.pixels);
    clearFramebuffer();
}
