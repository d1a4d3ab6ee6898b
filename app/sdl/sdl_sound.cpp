#include "app/sdl/sdl_sound.h"

#include "app/log_lines.h"
#include "app/sdl/sdl_log.h"

SdlSoundDevice* SdlSoundDevice::open() {
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
        logSdlFailure(LOG_NO_AUDIO);
        return nullptr;
    }
    SdlSoundDevice* sound = new SdlSoundDevice;
    SDL_AudioSpec want = {}, have = {};
    static_assert(sizeof(SoundSample) == 2 && SoundSample(-1) < 0, "AUDIO_S16SYS is the sound's sample");
    want.freq = SOUND_RATE;
    want.format = AUDIO_S16SYS;
    want.channels = SOUND_CHANNELS;
    want.samples = 512;  // about 12 ms, fine enough for the 50 ms halves
    want.callback = audioCallback;
    want.userdata = sound;
    // SDL converts if the hardware wants something else.
    sound->device = SDL_OpenAudioDevice(nullptr, 0, &want, &have, 0);
    if (sound->device == 0) {
        logSdlFailure(LOG_NO_AUDIO_DEVICE);
        delete sound;
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        return nullptr;
    }
    return sound;
}

SdlSoundDevice::~SdlSoundDevice() {
    if (device) {
        SDL_CloseAudioDevice(device);
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
    }
}

void SdlSoundDevice::releaseBuffer() {
    SDL_PauseAudioDevice(device, 1);
    RingSoundDevice::releaseBuffer();
}

bool SdlSoundDevice::play() {
    SDL_PauseAudioDevice(device, 0);
    return true;
}

void SdlSoundDevice::raiseThreadPriority() { SDL_SetThreadPriority(SDL_THREAD_PRIORITY_HIGH); }

void SDLCALL SdlSoundDevice::audioCallback(void* self, Uint8* stream, int bytes) {
    static_cast<SdlSoundDevice*>(self)->playInto(reinterpret_cast<SoundSample*>(stream), bytes / SOUND_FRAME_BYTES);
}
