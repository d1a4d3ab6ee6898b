// The stream on SDL's audio device, with SDL's silent timed driver.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

#include "app/sdl/sdl_sound.h"

namespace {
std::atomic<int> fills{0};
std::atomic<int> wrongFills{0};
std::thread::id mainThread;

int countingCallback(int16_t*, int32_t frames, void*) {
    if (frames != 2205 || std::this_thread::get_id() == mainThread) ++wrongFills;
    ++fills;
    return 0;
}
}  // namespace

TEST(SdlSound, HalvesAreRefilledAsTheDevicePlays) {
    SDL_SetHint(SDL_HINT_AUDIODRIVER, "dummy");
    testing::internal::CaptureStdout();
    SdlSoundDevice* device = SdlSoundDevice::open();
    std::string log = testing::internal::GetCapturedStdout();
    ASSERT_NE(device, nullptr) << log;

    mainThread = std::this_thread::get_id();
    App app;
    openSoundStream(&app, device);
    startSound(&app, 4410, countingCallback, nullptr);
    // Two fills per 0.1 s of playback.
    for (int i = 0; i < 300 && fills < 6; ++i) std::this_thread::sleep_for(std::chrono::milliseconds(10));
    stopSound(&app);
    EXPECT_GE(fills.load(), 6);
    EXPECT_EQ(wrongFills.load(), 0);
    const int after = fills;
    std::this_thread::sleep_for(std::chrono::milliseconds(150));
    EXPECT_EQ(fills.load(), after) << "no fill after stopSound";
    closeSoundStream(&app);
    delete device;
}
