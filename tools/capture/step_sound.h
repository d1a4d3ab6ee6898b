#pragma once
// The sound of each frame step as the real stream plays it. A stream starts
// with its buffer silent and plays that buffer through before the callback's
// first output is heard; after that the player asks for half the buffer
// (2,205 of 4,410 frames) each time it has run short.
#include <cstdint>
#include <vector>

#include "app/app.h"
#include "tools/wav_format.h"

enum : int32_t { STEP_SOUND_FRAMES = WAV_RATE / 60 };  // 735: one frame step at 60 steps a second

struct StepSound {
    int32_t streamFrames = 0;     // the running stream's length, 0: none
    std::vector<int16_t> queued;  // interleaved frames to be played before the next request
    int64_t framesDone = 0;       // frames handed out so far
    int64_t firstCallbackFrame = -1;  // where the latest stream's first requested frame lies
};

// Writes the next step's STEP_SOUND_FRAMES interleaved frames to `out`.
// True when a stream started in this step.
bool nextStepSound(StepSound* sound, App* app, int16_t* out);
