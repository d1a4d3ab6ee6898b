// The demo's entry procedure, which every backend calls once its window,
// OpenGL context and sound device are up: the title, then the main scene.
#include "app/app.h"
#include "demo/demo_state.h"
#include "demo/main_scene.h"
#include "demo/title_screen.h"

namespace {
const char WINDOW_TITLE[] = "Vitrelume 15th Anniversary";
}  // namespace

int32_t appProc(App* app, void* /*userData*/) {
    setWindowTitle(app, WINDOW_TITLE);
    setInterpolation(app, INTERPOLATION_NEAREST);
    static const uint32_t invisiblePointer = 0;
    setPointer(app, 1, 1, &invisiblePointer, 0, 0);

    clearFramebuffer();
    demoState.app = app;

    runTitleScreen();
    // A press queued during the title's last step must not reach the next
    // scene, whose first frame step tests the flags before rebuilding them.
    clearKeyFlags();

    runMainScene();
    return 0;
}
