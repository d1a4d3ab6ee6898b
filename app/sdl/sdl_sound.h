#pragma once
// The stream's device on SDL audio: 44,100 Hz, signed 16-bit, 2 channels.
// SDL's audio callback plays a looping ring at the play position and wakes the
// streaming thread whenever playback crosses into the other half.
#include <SDL.h>

#include <condition_variable>
#include <mutex>
#include <vector>

#include "app/app.h"

struct SdlSoundDevice : SoundDevice {
    // Null with a log line ("... Sound disabled.") when there is no audio.
    static SdlSoundDevice* open();
    ~SdlSoundDevice() override;

    bool createBuffer(int32_t frames) override;
    void releaseBuffer() override;
    bool play() override;
    void waitForNotification(int milliseconds) override;
    int32_t playPosition() override;
    bool lock(int32_t first, int32_t count, int16_t** region1, int32_t* frames1, int16_t** region2,
              int32_t* frames2) override;
    bool unlock() override;
    void raiseThreadPriority() override;

private:
    static void SDLCALL audioCallback(void* self, Uint8* stream, int bytes);
    void playInto(int16_t* out, int32_t frames);

    SDL_AudioDeviceID device = 0;
    std::mutex ringMutex;  // the ring and the play position
    std::vector<int16_t> ring;
    int32_t ringFrames = 0;
    int32_t position = 0;
    std::mutex notifyMutex;
    std::condition_variable notified;
    bool crossed = false;
};
