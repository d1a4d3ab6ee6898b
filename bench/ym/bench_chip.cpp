// Chip rendering with every generator running: three tones, noise, the
// envelope on one voice, the low-pass on. One iteration is one 50 Hz music
// frame (882 samples) after a fresh register frame.
#include <benchmark/benchmark.h>

#include "ym/ym2149.h"

namespace {

const int SAMPLES_PER_FRAME = 882;
const double OUTPUT_RATE = 44100.0;

void writeBusyFrame(Ym2149& chip, int frame) {
    const int tone[3] = {284 + frame % 7, 379, 451 - frame % 5};
    for (int v = 0; v < 3; ++v) {
        chip.setRegister(2 * v, tone[v] & 0xFF);
        chip.setRegister(2 * v + 1, tone[v] >> 8);
    }
    chip.setRegister(6, 7);
    chip.setRegister(7, 0x00);
    chip.setRegister(8, 0x10);
    chip.setRegister(9, 13);
    chip.setRegister(10, 11);
    chip.setRegister(11, 40);
    chip.setRegister(12, 0);
    if (frame % 25 == 0) chip.setRegister(13, 10);
}

void chipRenderBusy(benchmark::State& state) {
    Ym2149 chip;
    chip.setLowPass(true);
    int frame = 0;
    int64_t samples = 0;
    for (auto _ : state) {
        writeBusyFrame(chip, frame++);
        chip.clearFrameEffects();
        int32_t sum = 0;
        for (int i = 0; i < SAMPLES_PER_FRAME; ++i) sum += chip.renderSample();
        benchmark::DoNotOptimize(sum);
        samples += SAMPLES_PER_FRAME;
    }
    state.counters["frames_per_second"] = benchmark::Counter(double(samples), benchmark::Counter::kIsRate);
    state.counters["realtime_factor"] =
        benchmark::Counter(double(samples) / OUTPUT_RATE, benchmark::Counter::kIsRate);
}
BENCHMARK(chipRenderBusy);

}  // namespace
