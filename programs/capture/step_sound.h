#pragma once
// The sound of each frame step, played from the stream as a device would
// play it (pullSound): a new stream's buffer is silent and is heard through
// once before the callback's first output; each half is refilled through the
// callback (2,205 of 4,410 frames) the moment playback leaves it.
#include <cstdint>

#include "app/app.h"
#include "cli/wav_format.h"

enum : int32_t { STEP_SOUND_FRAMES = WAV_RATE / 60 };  // 735: one frame step at 60 steps a second

struct StepSound {
    int32_t streamFrames = 0;         // the running stream's buffer length, 0: none
    int64_t framesDone = 0;           // frames played so far
    int64_t firstCallbackFrame = -1;  // where the latest stream's first callback output is heard
};

// Plays the next step's STEP_SOUND_FRAMES interleaved frames into `out`.
// True when a stream started in this step.
bool nextStepSound(StepSound* sound, App* app, int16_t* out);
