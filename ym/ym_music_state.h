#pragma once
// The music engine's own records: the pieces a loaded song is made of and the
// state that playback changes. Only the engine's sources use them; they sit
// in a header because YmMusic holds them by value.
#include <cstdint>

#include "ym/ym2149.h"

// A digidrum of a register song or a sample of a tracker song.
struct DigiDrum {
    uint32_t size;          // bytes
    uint8_t* samples;       // owned; null when size is 0
    uint32_t repeatLength;  // tracker samples: bytes replayed by a looping voice
};

// A range of the digi-mix sample data, replayed repeatCount times.
struct MixBlock {
    uint32_t sampleStart;  // offset into mixSamples
    uint32_t sampleLength;
    uint16_t repeatCount;
    uint16_t replayFrequency;  // Hz
};

struct TrackerVoice {
    const uint8_t* sampleData;  // not owned
    uint32_t sampleSize;
    uint32_t samplePosition;  // 16.16
    uint32_t repeatLength;
    int32_t volume;     // 0..63
    int32_t frequency;  // 0..65535
    int32_t looping;
    int32_t running;
};

// Everything rendering changes, and nothing else: a copy of it taken between
// two requests is a snapshot that seeking can return to. Its pointers point
// into the loaded song, which stays where it is while the song is loaded.
struct YmPlayState {
    Ym2149 chip;
    int32_t finished = 0;

    // Register songs (and the tracker's next line).
    int32_t nextFrame = 0;
    int32_t frameSampleCount = 0;

    // Digi-mix.
    int32_t currentMixBlock = -1;
    int32_t mixRepeatsLeft = 0;
    const uint8_t* mixCursor = nullptr;
    uint32_t mixEnd = 0;
    uint32_t mixStep = 0;      // 20.12
    uint32_t mixPosition = 0;  // 20.12

    // Tracker.
    TrackerVoice trackerVoices[8] = {};
    int32_t lineSamplesLeft = 0;

    // Output frames rendered since the start, and the voices silenced while
    // rendering them (one bit per voice, from bit 0).
    int64_t renderedFrames = 0;
    uint32_t mutedVoices = 0;
};
