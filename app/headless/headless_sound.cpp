// Synchronous sound: no device and no thread. The stream's callback is only
// stored, and the caller pulls samples through it when it wants them.
#include <algorithm>
#include <cstring>
#include <mutex>

#include "app/headless/headless_backend.h"

void startSound(App* app, int32_t frames, SoundCallback callback, void* userData) {
    if (callback == nullptr || frames == 0) {
        stopSound(app);
        return;
    }
    std::lock_guard<std::mutex> lock(app->soundCallbackMutex);
    app->soundFrames = frames;
    app->soundCallback = callback;
    app->soundUserData = userData;
}

void stopSound(App* app) {
    std::lock_guard<std::mutex> lock(app->soundCallbackMutex);
    app->soundCallback = nullptr;
    app->soundUserData = nullptr;
    app->soundFrames = 0;
}

int32_t headlessPullSound(App* app, int16_t* out, int32_t frames) {
    if (out == nullptr || frames <= 0) return 0;
    SoundCallback callback;
    void* userData;
    int32_t half;
    {
        std::lock_guard<std::mutex> lock(app->soundCallbackMutex);
        callback = app->soundCallback;
        userData = app->soundUserData;
        half = app->soundFrames / 2;
    }
    if (callback == nullptr || half < 1) {
        std::memset(out, 0, size_t(frames) * 2 * sizeof(int16_t));
        return 0;
    }
    // A streamed callback never sees more than half the buffer at once.
    for (int32_t done = 0; done < frames;) {
        const int32_t count = std::min(half, frames - done);
        callback(out + size_t(done) * 2, count, userData);
        done += count;
    }
    return frames;
}

int32_t headlessStreamFrames(App* app) {
    std::lock_guard<std::mutex> lock(app->soundCallbackMutex);
    return app->soundCallback != nullptr ? app->soundFrames : 0;
}
