#pragma once
// The stream's device on SDL audio, in the shell's sound format (app/app.h).
// SDL's audio callback plays the ring and wakes the streaming thread whenever
// playback crosses into the other half.
#include <SDL.h>

#include "app/sound_stream.h"

struct SdlSoundDevice : RingSoundDevice {
    // Null with a log line ("... Sound disabled.") when there is no audio.
    static SdlSoundDevice* open();
    ~SdlSoundDevice() override;

    void releaseBuffer() override;
    bool play() override;
    void raiseThreadPriority() override;

private:
    SdlSoundDevice() : RingSoundDevice(false) {}
    static void SDLCALL audioCallback(void* self, Uint8* stream, int bytes);
    SDL_AudioDeviceID device = 0;
};
