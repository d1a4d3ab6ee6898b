// Whole-song rendering speed of each song kind (as a real-time factor), the
// start-up cost of unpacking and parsing a packed song of the shipped size,
// and the cost of an exact seek.
#include <benchmark/benchmark.h>

#include <fstream>
#include <iterator>
#include <memory>

#include "lh5/lh5_encoder.h"
#include "generators/writers/ym_song_writer.h"
#include "ym/ym_music.h"

namespace {

const int32_t REQUEST = 2205;
const int32_t OUTPUT_RATE = 44100;

std::unique_ptr<YmMusic> load(const YmBytes& image) {
    auto music = std::make_unique<YmMusic>();
    if (!music->load(image.data(), uint32_t(image.size()))) return nullptr;
    music->setLoop(true);
    return music;
}

// Three minutes of music in the demo's request size.
void renderSong(benchmark::State& state, const YmBytes& image) {
    auto music = load(image);
    if (!music) {
        state.SkipWithError("song refused");
        return;
    }
    const int64_t frames = int64_t(180) * OUTPUT_RATE;
    static int16_t samples[2 * REQUEST];
    for (auto _ : state) {
        for (int64_t done = 0; done < frames; done += REQUEST) {
            music->renderAudio(samples, REQUEST);
        }
        benchmark::DoNotOptimize(samples[0]);
    }
    // Seconds of music per second of work.
    state.counters["realtime_factor"] =
        benchmark::Counter(180.0 * double(state.iterations()), benchmark::Counter::kIsRate);
}

YmBytes threeMinuteSong(const char* tag) {
    YmRegisterSong song;
    song.tag = tag;
    song.frames = composeTune(180 * 50);
    return writeRegisterSong(song);
}

void BM_RenderYm5Song(benchmark::State& state) { renderSong(state, threeMinuteSong("YM5!")); }

void BM_RenderTrackerSong(benchmark::State& state) {
    YmTrackerSong song;
    song.voiceCount = 4;
    YmBytes wave(4096);
    for (size_t i = 0; i < wave.size(); i++) wave[i] = uint8_t((i * 37) ^ (i >> 3));
    song.samples = {{wave, 0}};
    for (int32_t n = 0; n < 180 * 50; n++) {
        for (int v = 0; v < 4; v++) {
            song.lines.insert(song.lines.end(), {uint8_t(n % 8 == 0 ? 0 : 255), uint8_t(40 | 0x40), 0x30,
                                                 uint8_t(v * 40)});
        }
    }
    renderSong(state, writeTrackerSong(song));
}

void BM_RenderMixSong(benchmark::State& state) {
    YmMixSong song;
    song.sampleData.assign(1 << 16, 0);
    for (size_t i = 0; i < song.sampleData.size(); i++) song.sampleData[i] = uint8_t(i * 13);
    song.blocks = {{0, 1 << 16, 4, 22050}, {1000, 30000, 2, 11025}};
    renderSong(state, writeMixSong(song));
}

void loadPacked(benchmark::State& state, const YmBytes& packed) {
    for (auto _ : state) {
        auto music = load(packed);
        if (!music) {
            state.SkipWithError("song refused");
            return;
        }
        benchmark::DoNotOptimize(music->info().length);
    }
    state.counters["packed_bytes"] = double(packed.size());
}

// 13,055 interleaved frames, about 209 KB unpacked.
void BM_LoadPackedSong(benchmark::State& state) {
    YmRegisterSong song;
    song.frames = composeTune(13055);
    loadPacked(state, lh5PackArchive(writeRegisterSong(song), "song.ym"));
}

void BM_LoadShippedSong(benchmark::State& state) {
    std::ifstream in(SHIPPED_SONG, std::ios::binary);
    YmBytes packed((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (packed.empty()) {
        state.SkipWithError("no music resource");
        return;
    }
    loadPacked(state, packed);
}

void BM_RenderShippedSong(benchmark::State& state) {
    std::ifstream in(SHIPPED_SONG, std::ios::binary);
    renderSong(state, YmBytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>()));
}

// Seeking a ten-minute song: to its last second from a fresh load (every frame
// rendered silently), and five seconds back from there (from a snapshot).
const int64_t TEN_MINUTES = int64_t(600) * OUTPUT_RATE;

YmBytes tenMinuteSong() {
    YmRegisterSong song;
    song.frames = composeTune(600 * 50);
    return writeRegisterSong(song);
}

void BM_SeekTenMinutesFromLoad(benchmark::State& state) {
    const YmBytes image = tenMinuteSong();
    for (auto _ : state) {
        state.PauseTiming();
        auto music = load(image);
        state.ResumeTiming();
        music->seek(TEN_MINUTES - OUTPUT_RATE);
        benchmark::DoNotOptimize(music->position());
    }
}

void BM_SeekBackFiveSeconds(benchmark::State& state) {
    auto music = load(tenMinuteSong());
    music->seek(TEN_MINUTES - OUTPUT_RATE);
    for (auto _ : state) {
        music->seek(TEN_MINUTES - 6 * OUTPUT_RATE);
        benchmark::DoNotOptimize(music->position());
    }
}

}  // namespace

BENCHMARK(BM_SeekTenMinutesFromLoad)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_SeekBackFiveSeconds)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_RenderYm5Song)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_RenderTrackerSong)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_RenderMixSong)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_RenderShippedSong)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_LoadPackedSong)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_LoadShippedSong)->Unit(benchmark::kMicrosecond);
