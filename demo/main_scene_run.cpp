// The main scene's frame loop: the one part of the scene that meets the
// shell (frame step, sound stream).
#include "demo/demo_state.h"
#include "demo/main_scene.h"
#include "demo/music_start.h"

namespace {
const int32_t FADE_FRAMES = 60;
}  // namespace

void runMainScene() {
    MainScene scene;
    initMainScene(scene);
    startFade(0, 255, FADE_FRAMES);
    startMusic();

    for (;;) {
        if (scene.exiting && demoState.fadeFrame >= demoState.fadeFrames) break;
        frameStep();  // presents what the previous iteration drew
        drawMainSceneFrame(scene);
        // Once the fade out runs, Space is no longer looked at.
        if (!scene.exiting && demoState.keyPressed[KEY_SPACE] != 0) {
            startFade(255, 0, FADE_FRAMES);
            scene.exiting = true;
        }
    }
    stopMusic();
    releaseMainScene(scene);
}
