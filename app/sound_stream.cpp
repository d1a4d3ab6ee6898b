// The sound stream: a looping device buffer of two halves, refilled through
// the application's callback by a streaming thread whenever playback leaves a half.
#include "app/app.h"

namespace {

enum { SOUND_WAIT_MS = 100 };  // bounds every wait, so a stop is seen quickly

void setCallback(App* app, SoundCallback callback, void* userData) {
    std::lock_guard<std::mutex> guard(app->soundCallbackMutex);
    app->soundCallback = callback;
    app->soundUserData = userData;
}

// Signals the thread, waits for its end, then releases the buffer: the thread
// never outlives the buffer it fills.
void endStream(App* app) {
    if (app->soundThread.joinable()) {
        app->soundStop.store(1);
        app->soundThread.join();
    }
    if (app->soundFrames > 0) app->soundDevice->releaseBuffer();
    app->soundFrames = 0;
}

// After a failed lock or unlock the thread has stopped filling; the device is
// dropped here, on the main thread, once the buffer is gone.
bool dropFailedDevice(App* app) {
    if (!app->soundFailed.load()) return false;
    endStream(app);
    setCallback(app, nullptr, nullptr);
    app->soundDevice = nullptr;
    return true;
}

void giveUpSound(App* app, const char* line) {
    logLine(line);
    app->soundFailed.store(1);
}

}  // namespace

void stopSound(App* app) {
    if (!app->soundDevice) return;
    if (dropFailedDevice(app)) return;
    endStream(app);
    setCallback(app, nullptr, nullptr);
}

void startSound(App* app, int32_t frames, SoundCallback callback, void* userData) {
    if (!app->soundDevice) return;
    if (dropFailedDevice(app)) return;
    if (!callback || frames == 0) {
        stopSound(app);
        return;
    }
    if (frames == app->soundFrames) {
        setCallback(app, callback, userData);
        return;
    }
    endStream(app);
    app->soundFrames = frames;
    if (frames < 0) {
        setCallback(app, callback, userData);
        return;
    }
    if (!app->soundDevice->createBuffer(frames)) {
        logLine("Failed to create sound buffer");
        app->soundDevice->releaseBuffer();
        app->soundDevice = nullptr;
        app->soundFrames = 0;
        setCallback(app, nullptr, nullptr);
        return;
    }
    // The callback is in place before the thread can make its first fill.
    setCallback(app, callback, userData);
    app->soundStop.store(0);
    app->soundThread = std::thread(soundThreadProc, app);
    app->soundDevice->play();
}

void fillSound(App* app, int32_t firstFrame, int32_t frameCount) {
    SoundDevice* device = app->soundDevice;
    int16_t* regions[2] = {nullptr, nullptr};
    int32_t counts[2] = {0, 0};
    if (!device->lock(firstFrame, frameCount, &regions[0], &counts[0], &regions[1], &counts[1])) {
        giveUpSound(app, "Couldn't lock sound buffer");
        return;
    }
    SoundCallback callback;
    void* userData;
    {
        std::lock_guard<std::mutex> guard(app->soundCallbackMutex);
        callback = app->soundCallback;
        userData = app->soundUserData;
    }
    for (int i = 0; i < 2; ++i)
        if (callback && regions[i] && counts[i] > 0) callback(regions[i], counts[i], userData);
    if (!device->unlock()) giveUpSound(app, "Couldn't unlock sound buffer");
}

void soundThreadProc(App* app) {
    SoundDevice* device = app->soundDevice;
    device->raiseThreadPriority();
    const int32_t half = app->soundFrames / 2;
    int32_t previous = 0;
    // Each half is refilled right after playback has left it, while the other plays.
    while (!app->soundStop.load() && !app->soundFailed.load()) {
        device->waitForNotification(SOUND_WAIT_MS);
        int32_t current = device->playPosition();
        if (previous < half && current >= half)
            fillSound(app, 0, half);
        else if (previous >= half && current < half)
            fillSound(app, half, half);
        previous = current;
    }
}
