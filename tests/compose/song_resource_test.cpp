// The shipped song: resource 217 unpacks to a "YM5!" song of 3 to 4.5 minutes
// at 50 frames per second on a 2 MHz chip, looping to its start, and the
// loader takes it as such (that it sounds is the player tests' business).
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <vector>

#include "ym/lh5_decoder.h"
#include "ym/ym_music.h"

namespace {

std::vector<uint8_t> resourceBytes() {
    std::ifstream in(VITRELUME_RESOURCE_DIR "/217-music.lh5", std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), {});
}

uint32_t be(const uint8_t* p, int bytes) {
    uint32_t v = 0;
    for (int i = 0; i < bytes; ++i) v = v << 8 | p[i];
    return v;
}

}  // namespace

TEST(SongResource, UnpacksToAYm5SongOfThreeToFourAndAHalfMinutes) {
    std::vector<uint8_t> packed = resourceBytes();
    ASSERT_FALSE(packed.empty());
    uint8_t* song = nullptr;
    uint32_t size = 0;
    ASSERT_EQ(lh5UnpackArchive(packed.data(), uint32_t(packed.size()), &song, &size), LH5_OK);
    ASSERT_GT(size, 34u);
    EXPECT_EQ(std::memcmp(song, "YM5!VaRnOlI!", 12), 0);
    uint32_t frames = be(song + 12, 4);
    EXPECT_EQ(be(song + 16, 4), 1u);  // interleaved
    EXPECT_EQ(be(song + 22, 4), 2000000u);
    EXPECT_EQ(be(song + 26, 2), 50u);
    EXPECT_EQ(be(song + 28, 4), 0u);
    EXPECT_GE(frames, 3u * 60 * 50);
    EXPECT_LE(frames, 270u * 50);
    EXPECT_EQ(std::memcmp(song + size - 4, "End!", 4), 0);
    std::free(song);
}

TEST(SongResource, LoadsAsYm5WithItsDigidrums) {
    std::vector<uint8_t> packed = resourceBytes();
    ASSERT_FALSE(packed.empty());
    YmMusic music;
    ASSERT_TRUE(music.load(packed.data(), uint32_t(packed.size()))) << music.lastError;
    EXPECT_EQ(music.songKind, KIND_YM5);
    EXPECT_EQ(music.playerRate, 50);
    EXPECT_EQ(music.loopFrame, 0);
    EXPECT_EQ(music.chip.masterClock, 2000000u);
    EXPECT_GT(music.drumCount, 0);
}
