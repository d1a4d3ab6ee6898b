// PLATFORM (sound device): the audio output in the shell's sound format.
#include "app/log_lines.h"
#include "app/skeleton/skeleton_backend.h"

SkeletonSoundDevice* SkeletonSoundDevice::open() {
    // PLATFORM: open the default output at SOUND_RATE frames a second,
    // SOUND_CHANNELS channels of SoundSample, paused, with a callback on the
    // platform's audio thread that calls playInto(samples, frames); the
    // output converts if the hardware wants another format. No output:
    logLine(LOG_NO_AUDIO_DEVICE);
    return nullptr;
}

// PLATFORM: close the output.
SkeletonSoundDevice::~SkeletonSoundDevice() {}

// The output pauses before the ring goes, so its callback never plays a
// released buffer.
void SkeletonSoundDevice::releaseBuffer() {
    // PLATFORM: pause the output.
    RingSoundDevice::releaseBuffer();
}

bool SkeletonSoundDevice::play() {
    // PLATFORM: unpause the output.
    return true;
}
