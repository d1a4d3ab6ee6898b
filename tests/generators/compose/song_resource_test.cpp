// The shipped song: resource 217 loads as a looping "YM5!" song of 3 to 4.5
// minutes at 50 frames per second on a 2 MHz chip, with its digidrums, and
// it is heard.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <vector>

#include "ym/ym_music.h"

TEST(SongResource, LoadsAsALoopingYm5SongOfThreeToFourAndAHalfMinutes) {
    std::ifstream in(VITRELUME_RESOURCE_DIR "/217-music.lh5", std::ios::binary);
    const std::vector<uint8_t> packed((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    ASSERT_FALSE(packed.empty());
    YmMusic music;
    ASSERT_TRUE(music.load(packed.data(), uint32_t(packed.size()))) << music.lastErrorText();
    const YmSongInfo& info = music.info();
    EXPECT_EQ(info.kind, KIND_YM5);
    EXPECT_EQ(info.playerRate, 50);
    EXPECT_EQ(info.loopFrame, 0);
    EXPECT_EQ(info.masterClock, 2000000u);
    EXPECT_GE(info.frameCount, 3 * 60 * 50);
    EXPECT_LE(info.frameCount, 270 * 50);
    EXPECT_GT(info.drumCount, 0);

    std::vector<int16_t> buffer(2 * 2205);
    int loudest = 0;
    for (int request = 0; request < 200; request++) {  // ten seconds
        ASSERT_TRUE(music.renderAudio(buffer.data(), 2205));
        for (int16_t s : buffer) loudest = std::max(loudest, std::abs(int(s)));
    }
    EXPECT_GT(loudest, 1000);
}
