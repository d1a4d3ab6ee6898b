#include "app/sound_stream.h"

#include "app/log_lines.h"

namespace {

enum { SOUND_WAIT_MS = 100 };  // bounds every wait, so a stop is seen quickly

void setCallback(SoundStream* s, SoundCallback callback, void* userData) {
    std::lock_guard<std::mutex> guard(s->callbackMutex);
    s->callback = callback;
    s->userData = userData;
}

void giveUpSound(SoundStream* s, const char* line) {
    logLine(line);
    s->failed.store(1);
}

void fillSound(SoundStream* s, int32_t firstFrame, int32_t frameCount) {
    int16_t* regions[2] = {nullptr, nullptr};
    int32_t counts[2] = {0, 0};
    if (!s->device->lock(firstFrame, frameCount, &regions[0], &counts[0], &regions[1], &counts[1])) {
        giveUpSound(s, LOG_SOUND_LOCK_FAILED);
        return;
    }
    SoundCallback callback;
    void* userData;
    {
        std::lock_guard<std::mutex> guard(s->callbackMutex);
        callback = s->callback;
        userData = s->userData;
    }
    for (int i = 0; i < 2; ++i)
        if (callback && regions[i] && counts[i] > 0) callback(regions[i], counts[i], userData);
    if (!s->device->unlock()) giveUpSound(s, LOG_SOUND_UNLOCK_FAILED);
}

// Refills the half that playback has just left, if it left one since the
// last look. With an odd length the buffer's last frame is never written.
void refillLeftHalf(SoundStream* s) {
    const int32_t half = s->frames / 2;
    const int32_t current = s->device->playPosition();
    if (s->previous < half && current >= half)
        fillSound(s, 0, half);
    else if (s->previous >= half && current < half)
        fillSound(s, half, half);
    s->previous = current;
}

void soundThreadProc(SoundStream* s) {
    s->device->raiseThreadPriority();
    while (!s->stop.load() && !s->failed.load()) {
        s->device->waitForNotification(SOUND_WAIT_MS);
        refillLeftHalf(s);
    }
}

// Signals the thread, waits for its end, then releases the buffer: the thread
// never outlives the buffer it fills.
void endStream(SoundStream* s) {
    if (s->thread.joinable()) {
        s->stop.store(1);
        s->thread.join();
    }
    if (s->frames > 0) s->device->releaseBuffer();
    s->frames = 0;
}

// After a failed lock or unlock the filling has stopped; the device is
// dropped here, on the main thread, once the buffer is gone.
bool dropFailedDevice(SoundStream* s) {
    if (!s->failed.load()) return false;
    endStream(s);
    setCallback(s, nullptr, nullptr);
    s->device = nullptr;
    return true;
}

SoundStream* liveStream(App* app) {
    SoundStream* s = app ? app->sound : nullptr;
    if (!s || !s->device || dropFailedDevice(s)) return nullptr;
    return s;
}

}  // namespace

void openSoundStream(App* app, SoundDevice* device) {
    if (device) app->sound = new SoundStream(device);
}

void closeSoundStream(App* app) {
    if (!app->sound) return;
    if (app->sound->device) endStream(app->sound);
    delete app->sound;
    app->sound = nullptr;
}

void stopSound(App* app) {
    SoundStream* s = liveStream(app);
    if (!s) return;
    endStream(s);
    setCallback(s, nullptr, nullptr);
}

void startSound(App* app, int32_t frames, SoundCallback callback, void* userData) {
    SoundStream* s = liveStream(app);
    if (!s) return;
    if (!callback || frames == 0) {
        stopSound(app);
        return;
    }
    if (frames == s->frames) {
        setCallback(s, callback, userData);
        return;
    }
    endStream(s);
    s->frames = frames;
    if (frames < 0) {
        setCallback(s, callback, userData);
        return;
    }
    if (!s->device->createBuffer(frames)) {
        logLine(LOG_NO_SOUND_BUFFER);
        s->device->releaseBuffer();
        s->device = nullptr;
        s->frames = 0;
        setCallback(s, nullptr, nullptr);
        return;
    }
    // The callback is in place before the first fill can happen.
    setCallback(s, callback, userData);
    s->previous = 0;
    s->stop.store(0);
    if (!s->device->hostRing()) s->thread = std::thread(soundThreadProc, s);
    s->device->play();
}

void pullSound(App* app, int16_t* out, int32_t frames) {
    SoundStream* s = app->sound;
    RingSoundDevice* ring = s && s->device && !s->failed.load() ? s->device->hostRing() : nullptr;
    if (!ring || s->frames <= 0) {
        if (frames > 0) std::memset(out, 0, size_t(frames) * SOUND_FRAME_BYTES);
        return;
    }
    // Played up to each half boundary at most, so every half is refilled the
    // moment it is left, as the thread would on the device's signal.
    const int32_t half = s->frames / 2;
    while (frames > 0) {
        const int32_t position = ring->playPosition();
        const int32_t boundary = position < half ? half : s->frames;
        const int32_t count = frames < boundary - position ? frames : boundary - position;
        ring->playInto(out, count);
        out += size_t(count) * SOUND_CHANNELS;
        frames -= count;
        refillLeftHalf(s);
    }
}
