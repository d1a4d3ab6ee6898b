#include "app/sdl/sdl_sound.h"

#include <chrono>
#include <cstring>
#include <string>

namespace {
void logSdlFailure(const char* line) {
    logLine(line);
    logLine(SDL_GetError());
}
}  // namespace

SdlSoundDevice* SdlSoundDevice::open() {
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
        logSdlFailure("Couldn't initialize audio. Sound disabled.");
        return nullptr;
    }
    SdlSoundDevice* sound = new SdlSoundDevice;
    SDL_AudioSpec want = {}, have = {};
    want.freq = 44100;
    want.format = AUDIO_S16SYS;
    want.channels = 2;
    want.samples = 512;  // about 12 ms, fine enough for the 50 ms halves
    want.callback = audioCallback;
    want.userdata = sound;
    // SDL converts if the hardware wants something else.
    sound->device = SDL_OpenAudioDevice(nullptr, 0, &want, &have, 0);
    if (sound->device == 0) {
        logSdlFailure("Couldn't open audio device. Sound disabled.");
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

bool SdlSoundDevice::createBuffer(int32_t frames) {
    if (frames <= 0) return false;
    SDL_LockAudioDevice(device);
    {
        std::lock_guard<std::mutex> guard(ringMutex);
        ring.assign(static_cast<size_t>(frames) * 2, 0);
        ringFrames = frames;
        position = 0;
    }
    SDL_UnlockAudioDevice(device);
    return true;
}

void SdlSoundDevice::releaseBuffer() {
    SDL_PauseAudioDevice(device, 1);
    SDL_LockAudioDevice(device);
    {
        std::lock_guard<std::mutex> guard(ringMutex);
        ring.clear();
        ring.shrink_to_fit();
        ringFrames = 0;
        position = 0;
    }
    SDL_UnlockAudioDevice(device);
}

bool SdlSoundDevice::play() {
    SDL_PauseAudioDevice(device, 0);
    return true;
}

void SdlSoundDevice::waitForNotification(int milliseconds) {
    std::unique_lock<std::mutex> guard(notifyMutex);
    notified.wait_for(guard, std::chrono::milliseconds(milliseconds), [this] { return crossed; });
    crossed = false;
}

int32_t SdlSoundDevice::playPosition() {
    std::lock_guard<std::mutex> guard(ringMutex);
    return position;
}

bool SdlSoundDevice::lock(int32_t first, int32_t count, int16_t** region1, int32_t* frames1, int16_t** region2,
                          int32_t* frames2) {
    ringMutex.lock();
    if (ringFrames <= 0 || first < 0 || first >= ringFrames || count < 0 || count > ringFrames) {
        ringMutex.unlock();
        return false;
    }
    int32_t head = count < ringFrames - first ? count : ringFrames - first;
    *region1 = &ring[static_cast<size_t>(first) * 2];
    *frames1 = head;
    *region2 = head < count ? ring.data() : nullptr;
    *frames2 = count - head;
    return true;  // the ring stays locked until unlock()
}

bool SdlSoundDevice::unlock() {
    ringMutex.unlock();
    return true;
}

void SdlSoundDevice::raiseThreadPriority() { SDL_SetThreadPriority(SDL_THREAD_PRIORITY_HIGH); }

void SdlSoundDevice::playInto(int16_t* out, int32_t frames) {
    bool crossedHalf = false;
    {
        std::lock_guard<std::mutex> guard(ringMutex);
        if (ringFrames <= 0) {
            std::memset(out, 0, static_cast<size_t>(frames) * 4);
            return;
        }
        const int32_t half = ringFrames / 2;
        while (frames > 0) {
            int32_t run = ringFrames - position < frames ? ringFrames - position : frames;
            std::memcpy(out, &ring[static_cast<size_t>(position) * 2], static_cast<size_t>(run) * 4);
            out += run * 2;
            frames -= run;
            int32_t end = position + run;
            if ((position < half && end >= half) || end >= ringFrames) crossedHalf = true;
            position = end % ringFrames;
        }
    }
    if (crossedHalf) {
        std::lock_guard<std::mutex> guard(notifyMutex);
        crossed = true;
        notified.notify_one();
    }
}

void SDLCALL SdlSoundDevice::audioCallback(void* self, Uint8* stream, int bytes) {
    static_cast<SdlSoundDevice*>(self)->playInto(reinterpret_cast<int16_t*>(stream), bytes / 4);
}
