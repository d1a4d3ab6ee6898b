// The draw time of a main-scene frame in WebAssembly: the first 3,000 frames
// of the scene drawn one by one under node, as bench/demo times them natively.
// Prints the median and the mean in microseconds.
#include <emscripten.h>

#include <algorithm>
#include <cstdio>
#include <vector>

#include "demo/main_scene.h"

int main() {
    const int frames = 3000;
    static MainScene scene;
    initMainScene(scene);
    std::vector<double> micros(frames);
    for (double& time : micros) {
        const double start = emscripten_get_now();
        drawMainSceneFrame(scene);
        time = (emscripten_get_now() - start) * 1000.0;
    }
    double total = 0;
    for (double time : micros) total += time;
    std::nth_element(micros.begin(), micros.begin() + frames / 2, micros.end());
    std::printf("drawMainSceneFrame, first %d frames, WebAssembly: median %.1f us, mean %.1f us\n", frames,
                micros[frames / 2], total / frames);
    releaseMainScene(scene);
    return 0;
}
