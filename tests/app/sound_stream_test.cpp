// The sound stream over a scripted device whose play position advances a
// fixed step at every wait.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <mutex>
#include <thread>
#include <vector>

#include "app/sound_stream.h"

namespace {

struct ScriptedDevice : SoundDevice {
    std::mutex mutex;
    std::vector<int16_t> ring;
    int32_t frames = 0, position = 0, step = 441;
    int created = 0, released = 0, played = 0;
    bool failCreate = false, failLock = false, failUnlock = false;
    int32_t splitAt = 0;  // > 0: hand back the locked range as two regions
    bool usedAfterRelease = false;

    bool createBuffer(int32_t n) override {
        std::lock_guard<std::mutex> g(mutex);
        ++created;
        if (failCreate) return false;
        frames = n, position = 0;
        ring.assign(static_cast<size_t>(n) * 2, 0);
        return true;
    }
    void releaseBuffer() override {
        std::lock_guard<std::mutex> g(mutex);
        if (!ring.empty()) ++released;
        ring.clear();
    }
    bool play() override { ++played; return true; }
    void waitForNotification(int ms) override {
        EXPECT_LE(ms, 100);
        std::this_thread::sleep_for(std::chrono::microseconds(200));
        std::lock_guard<std::mutex> g(mutex);
        if (ring.empty()) usedAfterRelease = true;
        else position = (position + step) % frames;
    }
    int32_t playPosition() override {
        std::lock_guard<std::mutex> g(mutex);
        return position;
    }
    bool lock(int32_t first, int32_t count, int16_t** r1, int32_t* n1, int16_t** r2, int32_t* n2) override {
        std::lock_guard<std::mutex> g(mutex);
        if (ring.empty()) usedAfterRelease = true;
        if (failLock || ring.empty()) return false;
        int32_t head = splitAt > 0 && splitAt < count ? splitAt : count;
        *r1 = &ring[static_cast<size_t>(first) * 2], *n1 = head;
        *r2 = head < count ? &ring[static_cast<size_t>(first + head) * 2] : nullptr;
        *n2 = count - head;
        return true;
    }
    bool unlock() override { return !failUnlock; }
};

struct Call {
    std::thread::id thread;
    int32_t frames;
    int16_t* samples;
    void* userData;
};
std::mutex callsMutex;
std::vector<Call> calls;

int recordingCallback(int16_t* samples, int32_t frameCount, void* userData) {
    for (int32_t i = 0; i < frameCount * 2; ++i) samples[i] = 1;
    std::lock_guard<std::mutex> g(callsMutex);
    calls.push_back({std::this_thread::get_id(), frameCount, samples, userData});
    return 0;
}
int otherCallback(int16_t* samples, int32_t frameCount, void* userData) { return recordingCallback(samples, frameCount, userData); }

size_t callCount() {
    std::lock_guard<std::mutex> g(callsMutex);
    return calls.size();
}
bool waitForCalls(size_t n) {
    for (int i = 0; i < 4000 && callCount() < n; ++i) std::this_thread::sleep_for(std::chrono::milliseconds(1));
    return callCount() >= n;
}

struct SoundStreamTest : ::testing::Test {
    App app;
    ScriptedDevice device;
    void SetUp() override {
        calls.clear();
        openSoundStream(&app, &device);
    }
    void TearDown() override { closeSoundStream(&app); }
};

}  // namespace

TEST_F(SoundStreamTest, FillsEachHalfOnTheStreamingThreadAfterPlaybackLeavesIt) {
    int tag = 0;
    startSound(&app, 4410, recordingCallback, &tag);
    EXPECT_EQ(device.frames, 4410);
    EXPECT_EQ(device.played, 1);
    ASSERT_TRUE(waitForCalls(4));
    stopSound(&app);

    std::lock_guard<std::mutex> g(callsMutex);
    for (size_t i = 0; i < calls.size(); ++i) {
        EXPECT_NE(calls[i].thread, std::this_thread::get_id());
        EXPECT_EQ(calls[i].frames, 2205);
        EXPECT_EQ(calls[i].userData, &tag);
        if (i > 0) {
            EXPECT_NE(calls[i].samples, calls[i - 1].samples) << "the halves alternate";
        }
    }
    // The thread was joined before the buffer went, and the fields are cleared.
    EXPECT_EQ(device.released, 1);
    EXPECT_FALSE(device.usedAfterRelease);
    EXPECT_FALSE(app.sound->thread.joinable());
    EXPECT_EQ(app.sound->frames, 0);
    EXPECT_EQ(app.sound->callback, nullptr);
    EXPECT_EQ(app.sound->device, &device);
}

TEST_F(SoundStreamTest, SameLengthOnlySwapsTheCallbackAnotherLengthRestarts) {
    startSound(&app, 4410, recordingCallback, nullptr);
    std::thread::id first = app.sound->thread.get_id();
    int tag = 0;
    startSound(&app, 4410, otherCallback, &tag);
    EXPECT_EQ(device.created, 1);
    EXPECT_EQ(app.sound->thread.get_id(), first);
    EXPECT_EQ(app.sound->callback, otherCallback);
    ASSERT_TRUE(waitForCalls(callCount() + 2));
    {
        std::lock_guard<std::mutex> g(callsMutex);
        EXPECT_EQ(calls.back().userData, &tag);
    }

    startSound(&app, 882, recordingCallback, nullptr);
    EXPECT_EQ(device.created, 2);
    EXPECT_EQ(device.released, 1);
    EXPECT_FALSE(device.usedAfterRelease);
    EXPECT_EQ(app.sound->frames, 882);
}

TEST_F(SoundStreamTest, NullCallbackZeroOrNegativeLengthAndMissingDevice) {
    startSound(&app, 4410, recordingCallback, nullptr);
    startSound(&app, 4410, nullptr, nullptr);  // behaves as stopSound
    EXPECT_FALSE(app.sound->thread.joinable());
    EXPECT_EQ(device.released, 1);
    EXPECT_EQ(app.sound->frames, 0);

    startSound(&app, 4410, recordingCallback, nullptr);
    startSound(&app, 0, recordingCallback, nullptr);
    EXPECT_EQ(device.released, 2);
    EXPECT_EQ(app.sound->callback, nullptr);

    // A negative length keeps the callback but makes no buffer and no thread.
    startSound(&app, -5, recordingCallback, &app);
    EXPECT_EQ(device.created, 2);
    EXPECT_FALSE(app.sound->thread.joinable());
    EXPECT_EQ(app.sound->callback, recordingCallback);
    EXPECT_EQ(app.sound->frames, -5);
    stopSound(&app);
    EXPECT_EQ(device.released, 2);

    App silent;
    openSoundStream(&silent, nullptr);
    EXPECT_EQ(silent.sound, nullptr);
    startSound(&silent, 4410, recordingCallback, nullptr);
    stopSound(&silent);
}

TEST_F(SoundStreamTest, WrappedLockGivesTwoCallsOfAtMostHalf) {
    device.splitAt = 1000;
    startSound(&app, 4410, recordingCallback, nullptr);
    ASSERT_TRUE(waitForCalls(4));
    stopSound(&app);
    std::lock_guard<std::mutex> g(callsMutex);
    for (size_t i = 0; i + 1 < calls.size(); i += 2) {
        EXPECT_EQ(calls[i].frames, 1000);
        EXPECT_EQ(calls[i + 1].frames, 1205);
        EXPECT_EQ(calls[i + 1].samples, calls[i].samples + 2000);
    }
}

TEST_F(SoundStreamTest, LockOrUnlockFailureGivesUpSoundWithoutTouchingTheGoneBuffer) {
    for (bool lockFails : {true, false}) {
        ScriptedDevice failing;
        failing.failLock = lockFails;
        failing.failUnlock = !lockFails;
        App broken;
        openSoundStream(&broken, &failing);
        testing::internal::CaptureStdout();
        startSound(&broken, 4410, recordingCallback, nullptr);
        for (int i = 0; i < 4000 && !broken.sound->failed.load(); ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
        std::string out = testing::internal::GetCapturedStdout();
        EXPECT_EQ(out, lockFails ? "Couldn't lock sound buffer\n" : "Couldn't unlock sound buffer\n");

        // The next call on the main thread ends the thread, releases the
        // buffer and drops the device; afterwards nothing is created again.
        startSound(&broken, 4410, recordingCallback, nullptr);
        EXPECT_EQ(broken.sound->device, nullptr);
        EXPECT_EQ(failing.released, 1);
        EXPECT_FALSE(failing.usedAfterRelease);
        EXPECT_FALSE(broken.sound->thread.joinable());
        startSound(&broken, 4410, recordingCallback, nullptr);
        EXPECT_EQ(failing.created, 1);
        closeSoundStream(&broken);
    }
}

TEST_F(SoundStreamTest, BufferCreationFailureTurnsSoundOff) {
    device.failCreate = true;
    testing::internal::CaptureStdout();
    startSound(&app, 4410, recordingCallback, nullptr);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "Failed to create sound buffer\n");
    EXPECT_EQ(app.sound->device, nullptr);
    EXPECT_EQ(app.sound->frames, 0);
    EXPECT_EQ(app.sound->callback, nullptr);
    EXPECT_FALSE(app.sound->thread.joinable());
}

namespace {
// Writes a running count, so the pulled stream shows any lost, doubled or
// reordered frame.
int countingCallback(int16_t* samples, int32_t frameCount, void* userData) {
    int16_t& next = *static_cast<int16_t*>(userData);
    for (int32_t i = 0; i < frameCount; ++i, ++next) samples[2 * i] = samples[2 * i + 1] = next;
    std::lock_guard<std::mutex> g(callsMutex);
    calls.push_back({std::this_thread::get_id(), frameCount, samples, userData});
    return 0;
}
}  // namespace

TEST(PulledSoundStream, PlaysTheCallbackInOrderOneBufferLateInAnyChunkSize) {
    for (int32_t chunk : {735, 128, 4999}) {
        calls.clear();
        RingSoundDevice ring;
        App app;
        openSoundStream(&app, &ring);
        int16_t next = 1;
        startSound(&app, 4410, countingCallback, &next);
        std::vector<int16_t> out(size_t(20000) * 2);
        for (int32_t done = 0; done < 20000; done += chunk)
            pullSound(&app, out.data() + size_t(done) * 2, std::min(chunk, 20000 - done));
        // The first pass plays the silent buffer; then every frame the callback wrote, in order.
        for (int32_t i = 0; i < 20000; ++i) {
            const int16_t expected = i < 4410 ? 0 : int16_t(i - 4410 + 1);
            ASSERT_EQ(out[size_t(i) * 2], expected) << "frame " << i << ", chunks of " << chunk;
            ASSERT_EQ(out[size_t(i) * 2 + 1], expected);
        }
        for (const Call& call : calls) EXPECT_EQ(call.frames, 2205);

        stopSound(&app);
        const size_t before = calls.size();
        pullSound(&app, out.data(), 5000);
        EXPECT_EQ(std::count(out.begin(), out.begin() + 10000, 0), 10000) << "silence after stopSound";
        EXPECT_EQ(calls.size(), before);
        closeSoundStream(&app);
    }
}
