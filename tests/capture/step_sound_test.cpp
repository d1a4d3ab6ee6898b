// The capture's sound per frame step, fed by a stand-in callback that counts
// its frames, so every sample tells where it came from.
#include <gtest/gtest.h>

#include <vector>

#include "app/headless/headless.h"
#include "tools/capture/step_sound.h"

namespace {

struct Counter {
    int16_t next = 1;
    std::vector<int32_t> requests;
};

int countFrames(int16_t* samples, int32_t frames, void* userData) {
    Counter& counter = *static_cast<Counter*>(userData);
    counter.requests.push_back(frames);
    for (int32_t i = 0; i < frames; ++i, ++counter.next) samples[2 * i] = samples[2 * i + 1] = counter.next;
    return 0;
}

class StepSoundTest : public ::testing::Test {
protected:
    App* app = nullptr;
    StepSound sound;
    std::vector<int16_t> track;  // left channel of every step so far
    void SetUp() override { app = createHeadlessApp(); }
    void TearDown() override { destroyHeadlessApp(app); }
    bool step() {
        std::vector<int16_t> out(size_t(STEP_SOUND_FRAMES) * 2, -1);
        const bool started = nextStepSound(&sound, app, out.data());
        for (int32_t i = 0; i < STEP_SOUND_FRAMES; ++i) {
            EXPECT_EQ(out[2 * i], out[2 * i + 1]);
            track.push_back(out[2 * i]);
        }
        return started;
    }
};

TEST_F(StepSoundTest, TheStreamPlaysItsSilentBufferThenHalfBufferRequestsInOrder) {
    Counter counter;
    EXPECT_FALSE(step());
    startSound(app, 4410, countFrames, &counter);
    EXPECT_TRUE(step());
    EXPECT_EQ(sound.firstCallbackFrame, 735 + 4410);
    for (int i = 0; i < 20; ++i) EXPECT_FALSE(step());

    // 735 frames before the stream and its 4,410-frame buffer are silent.
    const size_t first = size_t(sound.firstCallbackFrame);
    for (size_t i = 0; i < first; ++i) ASSERT_EQ(track[i], 0) << "frame " << i;
    for (size_t i = first; i < track.size(); ++i) ASSERT_EQ(track[i], int16_t(i - first + 1)) << "frame " << i;
    // Every request is half the stream, as the streaming thread asks.
    EXPECT_EQ(counter.requests, std::vector<int32_t>(counter.requests.size(), 2205));
    EXPECT_GE(counter.requests.size() * 2205, track.size() - first);
}

TEST_F(StepSoundTest, ARestartedStreamIsHeardOneBufferAfterItsStep) {
    Counter counter;
    startSound(app, 4410, countFrames, &counter);
    for (int i = 0; i < 8; ++i) step();
    stopSound(app);
    EXPECT_FALSE(step());
    startSound(app, 4410, countFrames, &counter);
    const int16_t resumed = counter.next;
    EXPECT_TRUE(step());
    for (int i = 0; i < 6; ++i) step();
    const size_t first = size_t(sound.firstCallbackFrame);
    EXPECT_EQ(first, 9 * 735 + 4410u);
    EXPECT_EQ(track[first - 1], 0);
    EXPECT_EQ(track[first], resumed);
}

}  // namespace
