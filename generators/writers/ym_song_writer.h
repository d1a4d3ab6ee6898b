#pragma once
// Writes YM song images of every kind the loader accepts, for the tests, the
// fuzz seeds, the benchmarks and the ymrender demos. Frames and lines are
// given in play order; the writer interleaves them when the attributes ask.
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "cli/atomic_file.h"  // writeFileBytes, for the song makers
#include "ym/ym_music.h"

using YmFrame14 = std::array<uint8_t, 14>;
using YmFrame16 = std::array<uint8_t, 16>;
using YmBytes = std::vector<uint8_t>;

struct YmSongTexts {
    std::string title = "Test song";
    std::string author = "Vitrelume";
    std::string comment = "Generated";
};

// "YM2!", "YM3!" or "YM3b" (loopFrame is written only for "YM3b").
YmBytes writeOldRegisterSong(const char* tag, const std::vector<YmFrame14>& frames, uint32_t loopFrame = 0);

struct YmRegisterSong {
    const char* tag = "YM5!";  // or "YM6!"
    std::vector<YmFrame16> frames;
    uint32_t attributes = 1;  // interleaved
    uint32_t masterClock = YM_DEFAULT_MASTER_CLOCK;
    uint16_t playerRate = 50;
    uint32_t loopFrame = 0;
    YmBytes extraData;
    std::vector<YmBytes> drums;
    YmSongTexts texts;
};
YmBytes writeRegisterSong(const YmRegisterSong& song);

struct YmTrackerSample {
    YmBytes bytes;
    uint16_t repeatLength = 0;  // "YMT2" only
};

struct YmTrackerSong {
    const char* tag = "YMT1";  // or "YMT2"
    uint16_t voiceCount = 1;
    uint16_t playerRate = 50;
    uint32_t loopFrame = 0;
    uint32_t attributes = 0;  // bit 0: interleaved; "YMT2": bits 28-31 frequency shift
    YmSongTexts texts;
    std::vector<YmTrackerSample> samples;
    YmBytes lines;  // 4 x voiceCount bytes per line, in line order
};
YmBytes writeTrackerSong(const YmTrackerSong& song);

struct YmMixBlockSpec {
    uint32_t start;
    uint32_t length;
    uint16_t repeatCount;
    uint16_t frequency;
};

struct YmMixSong {
    bool signedSamples = false;
    YmBytes sampleData;
    std::vector<YmMixBlockSpec> blocks;
    YmSongTexts texts;
};
YmBytes writeMixSong(const YmMixSong& song);

// A little tune for demos and benchmarks: bass, arpeggio and a noisy beat,
// with the envelope used now and then. Deterministic.
std::vector<YmFrame16> composeTune(int32_t frameCount);

// The tune cut down to the 14 registers of the old formats.
std::vector<YmFrame14> composeOldTune(int32_t frameCount);
