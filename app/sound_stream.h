#pragma once
// The sound stream under startSound/stopSound: one looping buffer of two
// halves, each refilled through the SoundCallback right after playback has
// left it, while the other half plays. Nothing is written before playing
// starts, so the callback's first output is heard one buffer length later.
//
// Two ways to drive it, with the same refill logic:
//  - a device with its own buffer that signals when playback crosses a half
//    (DirectSound, SDL audio): the stream owns a thread that waits for the
//    signals and refills;
//  - a host that pulls samples (a browser's audio worklet, the headless
//    capture): a RingSoundDevice holds the buffer in memory and the host calls
//    pullSound, which plays from it and refills each half as it is left.
#include <atomic>
#include <condition_variable>
#include <mutex>
#include <thread>
#include <vector>

#include "app/app.h"

// The audio output: a looping buffer of `frames` stereo frames. The main
// thread calls createBuffer, releaseBuffer and play, never while the stream's
// thread runs. The stream's thread (or the thread that calls pullSound) calls
// the rest; lock() is held across the callback, until unlock().
struct SoundDevice {
    virtual ~SoundDevice() = default;
    // A silent buffer of `frames` stereo frames, not yet playing.
    virtual bool createBuffer(int32_t frames) = 0;
    virtual void releaseBuffer() = 0;  // harmless when there is no buffer
    virtual bool play() = 0;
    // Waits until playback crossed into the other half or `milliseconds` passed.
    virtual void waitForNotification(int milliseconds) = 0;
    // The play position in frames, 0 .. frames - 1.
    virtual int32_t playPosition() = 0;
    // Up to two regions for `count` frames from `first` (the second when the range wraps).
    virtual bool lock(int32_t first, int32_t count, int16_t** region1, int32_t* frames1, int16_t** region2,
                      int32_t* frames2) = 0;
    virtual bool unlock() = 0;
    // Once, on the stream's thread; best effort.
    virtual void raiseThreadPriority() {}
    // The ring a host plays through pullSound, or null for a device that
    // signals its halves: then the stream starts its own thread.
    virtual struct RingSoundDevice* hostRing() { return nullptr; }
};

// A buffer in memory that plays by being read: by an audio thread of the
// host's that signals the stream (SDL's callback), or by the host itself
// through pullSound. lock() holds its mutex.
struct RingSoundDevice : SoundDevice {
    explicit RingSoundDevice(bool pulled = true) : pulled(pulled) {}
    bool createBuffer(int32_t frames) override;
    void releaseBuffer() override;
    bool play() override { return true; }
    void waitForNotification(int milliseconds) override;
    int32_t playPosition() override;
    bool lock(int32_t first, int32_t count, int16_t** region1, int32_t* frames1, int16_t** region2,
              int32_t* frames2) override;
    bool unlock() override;
    RingSoundDevice* hostRing() override { return pulled ? this : nullptr; }

    // Copies `frames` frames from the play position to `out` (silence without
    // a buffer), advances it, and wakes a waiting stream thread when it
    // crossed into the other half.
    void playInto(int16_t* out, int32_t frames);

private:
    const bool pulled;
    std::mutex ringMutex;  // the ring and the play position
    std::vector<int16_t> ring;
    int32_t ringFrames = 0;
    int32_t position = 0;
    std::mutex notifyMutex;
    std::condition_variable notified;
    bool crossed = false;
};

struct SoundStream {
    explicit SoundStream(SoundDevice* device) : device(device) {}
    SoundDevice* device;  // borrowed from the backend; null once sound was given up
    std::thread thread;   // not joinable: no thread
    std::atomic<int32_t> stop{0};
    // Set on the stream's thread when a lock or unlock failed: it stops
    // filling, and the next start or stop on the main thread ends the thread,
    // releases the buffer and drops the device.
    std::atomic<int32_t> failed{0};
    int32_t frames = 0;    // > 0 exactly while a buffer exists; negative: a callback without a buffer
    int32_t previous = 0;  // the play position the last refill check saw
    // The callback and its user data change together under this lock, so a
    // fill never pairs a new callback with old user data.
    std::mutex callbackMutex;
    SoundCallback callback = nullptr;
    void* userData = nullptr;
};

// The backend's device comes and goes with the stream: open after the device
// exists (a null device leaves sound disabled), close before it is destroyed.
void openSoundStream(App* app, SoundDevice* device);
void closeSoundStream(App* app);

// For a host that pulls: plays `frames` frames of the stream into `out`,
// refilling each half through the callback as it is left. Silence when there
// is no stream.
void pullSound(App* app, int16_t* out, int32_t frames);
