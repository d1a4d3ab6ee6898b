// Drawing one main-scene frame (background, sprites, carousel, pulsing logo,
// scroller), frame after frame from the scene's start. Each repetition draws
// one frame, so the median aggregate is the median frame of the first 3,000.
#include <benchmark/benchmark.h>

#include "demo/main_scene.h"

namespace {

const int FRAMES = 3000;

void drawMainSceneFrames(benchmark::State& state) {
    static MainScene scene;
    static bool ready = false;
    if (!ready) {
        initMainScene(scene);
        ready = true;
    }
    for (auto _ : state) drawMainSceneFrame(scene);
}
BENCHMARK(drawMainSceneFrames)
    ->Iterations(1)
    ->Repetitions(FRAMES)
    ->ReportAggregatesOnly(true)
    ->UseRealTime()
    ->Unit(benchmark::kMicrosecond);

}  // namespace
