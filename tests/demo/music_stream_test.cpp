// The music's shut-down over the real streaming thread: the thread has ended
// before the music object is touched again.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>
#include <vector>

#include "demo/demo_state.h"
#include "app/sound_stream.h"
#include "demo/music_start.h"
#include "ym/ym_music.h"

namespace {

// Plays 441 frames per wait. The stream releases the buffer after joining
// the thread; the music must still be whole then.
struct WatchingDevice : SoundDevice {
    std::vector<int16_t> ring;
    std::atomic<int32_t> position{0}, fills{0};
    bool musicWholeAtRelease = false;

    bool createBuffer(int32_t frames) override {
        ring.assign(size_t(frames) * 2, 0);
        return true;
    }
    void releaseBuffer() override { musicWholeAtRelease = demoState.music && demoState.music->isLoaded(); }
    bool play() override { return true; }
    void waitForNotification(int) override {
        std::this_thread::sleep_for(std::chrono::microseconds(300));
        position = (position + 441) % int32_t(ring.size() / 2);
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
    WatchingDevice device;
    App app;
    openSoundStream(&app, &device);
    demoState.app = &app;
    startMusic();
    for (int i = 0; i < 2000 && device.fills < 4; ++i) std::this_thread::sleep_for(std::chrono::milliseconds(1));
    ASSERT_GE(device.fills, 4);

    stopMusic();
    const int32_t fillsAtStop = device.fills;
    EXPECT_TRUE(device.musicWholeAtRelease);
    EXPECT_FALSE(app.sound->thread.joinable());
    EXPECT_EQ(demoState.music, nullptr);
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    EXPECT_EQ(device.fills, fillsAtStop);  // no callback after the stop
    demoState.app = nullptr;
    closeSoundStream(&app);
}

}  // namespace
