// Depacking throughput, counted in bytes of output, on a register-dump-like
// song of about 200 KB packed by our own packer.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <vector>

#include "tools/lh5/lh5_encoder.h"
#include "ym/lh5_decoder.h"

namespace {

// 13,000 frames of 16 register columns, one column after another: notes held
// for a few frames, a bass line, a four-bar loop with small variations.
std::vector<uint8_t> registerDump() {
    const int frames = 13000;
    std::vector<uint8_t> out;
    out.reserve(frames * 16);
    uint32_t noise = 12345;
    for (int reg = 0; reg < 16; reg++) {
        for (int f = 0; f < frames; f++) {
            noise = noise * 1103515245u + 12345u;
            int step = (f / 6) % 64;
            int note = (step * 5 + reg * 3 + ((f / 384) % 4)) % 24;
            uint8_t v;
            if (reg < 6) v = uint8_t((reg & 1) ? note / 12 : (note * 37 + ((noise >> 28) == 0 ? 1 : 0)) & 0xff);
            else if (reg == 7) v = 0x38;
            else if (reg >= 8 && reg <= 10) v = uint8_t(15 - (f % 6) * 2 + ((noise >> 30) & 1));
            else if (reg == 13) v = (f % 96) == 0 ? 0x0e : 0xff;
            else v = uint8_t(reg == 6 ? (f / 3) % 32 : 0);
            out.push_back(v);
        }
    }
    return out;
}

void depackSong(benchmark::State& state) {
    std::vector<uint8_t> song = registerDump();
    std::vector<uint8_t> archive = lh5PackArchive(song, "song.ym");
    for (auto _ : state) {
        uint8_t* result = nullptr;
        uint32_t size = 0;
        if (lh5UnpackArchive(archive.data(), uint32_t(archive.size()), &result, &size) != LH5_OK) {
            state.SkipWithError("depacking failed");
            break;
        }
        benchmark::DoNotOptimize(result);
        std::free(result);
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(song.size()));
    state.counters["packed"] = double(archive.size());
}
BENCHMARK(depackSong)->Unit(benchmark::kMicrosecond);

}  // namespace
