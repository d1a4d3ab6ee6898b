// The headless backend's synchronous sound.
#include "tests/demo/demo_fixture.h"

namespace {

int recordChunk(int16_t* samples, int32_t frames, void* userData) {
    static_cast<std::vector<int32_t>*>(userData)->push_back(frames);
    for (int32_t i = 0; i < frames * 2; ++i) samples[i] = int16_t(frames);
    return 0;
}

TEST_F(DemoTest, PulledSoundComesInChunksOfAtMostHalfTheStream) {
    std::vector<int32_t> chunks;
    std::vector<int16_t> out(10000, 1);
    startSound(app, 4410, recordChunk, &chunks);
    EXPECT_EQ(headlessPullSound(app, out.data(), 5000), 5000);
    EXPECT_EQ(chunks, (std::vector<int32_t>{2205, 2205, 590}));
    EXPECT_EQ(out[9999], 590);

    stopSound(app);
    EXPECT_EQ(headlessPullSound(app, out.data(), 5000), 0);
    EXPECT_EQ(out, std::vector<int16_t>(10000, 0));
    EXPECT_EQ(chunks.size(), 3u);
}

}  // namespace
