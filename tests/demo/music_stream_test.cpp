// The music's shut-down over the real streaming thread: the stream is stopped
// (its thread joined) before the music object is touched again.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>
#include <vector>

#include "demo/demo_state.h"
#include "demo/music_start.h"
#include "ym/ym_music.h"

namespace {

// Plays a fixed step per wait; records whether the music was still intact
// when the stream let go of its buffer, which happens after the join.
struct WatchingDevice : SoundDevice {
    std::vector<int16_t> ring;
    std::atomic<int32_t> position{0};
    std::atomic<int32_t> fills{0};
    int32_t frames = 0;
    bool musicIntactAtRelease = false;

    bool createBuffer(int32_t n) override {
        frames = n;
        ring.assign(size_t(n) * 2, 0);
        return true;
    }
    void releaseBuffer() override {
        musicIntactAtRelease = demoState.music != nullptr && demoState.music->musicReady == 1;
        ring.clear();
    }
    bool play() override { return true; }
    void waitForNotification(int) override {
        std::this_thread::sleep_for(std::chrono::microseconds(300));
        position = (position + 441) % frames;
    }
    int32_t playPosition() override { return position; }
    bool lock(int32_t first, int32_t count, int16_t** r1, int32_t* n1, int16_t** r2, int32_t* n2) override {
        ++fills;
        *r1 = &ring[size_t(first) * 2], *n1 = count, *r2 = nullptr, *n2 = 0;
        return true;
    }
    bool unlock() override { return true; }
};

TEST(MusicShutDown, StopsTheStreamBeforeReleasingTheMusic) {
    resetDemoState();
    WatchingDevice device;
    App app;
    app.soundDevice = &device;
    demoState.app = &app;

    startMusic();
    ASSERT_NE(demoState.music, nullptr);
    EXPECT_EQ(demoState.music->musicReady, 1);
    for (int i = 0; i < 2000 && device.fills < 4; ++i) std::this_thread::sleep_for(std::chrono::milliseconds(1));
    ASSERT_GE(device.fills, 4);

    stopMusic();
    const int32_t fillsAtStop = device.fills;
    EXPECT_TRUE(device.musicIntactAtRelease);
    EXPECT_FALSE(app.soundThread.joinable());
    EXPECT_EQ(app.soundCallback, nullptr);
    EXPECT_EQ(demoState.music, nullptr);
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    EXPECT_EQ(device.fills, fillsAtStop);
    resetDemoState();
}

}  // namespace
