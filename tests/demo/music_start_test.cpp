// Loading the song, and the main scene's run after the title on the headless
// backend. The song as heard is checked by the Xvfb scene test.
#include "demo/main_scene.h"
#include "demo/music_start.h"
#include "resources/resource_ids.h"
#include "tests/demo/demo_fixture.h"
#include "ym/ym_music.h"

namespace {

// The first `frames` stereo frames that the loaded song plays.
std::vector<int16_t> songOpening(ResourceData song, int32_t frames) {
    YmMusic music;
    loadMusic(music, song);
    EXPECT_TRUE(music.isLooping());
    EXPECT_FALSE(music.isPaused());
    std::vector<int16_t> samples(size_t(frames) * 2, 7);
    for (int32_t done = 0; done < frames; done += 2205) music.renderAudio(&samples[size_t(done) * 2], 2205);
    return samples;
}

TEST(LoadMusic, ASongThatDoesNotLoadPlaysSilence) {
    const ResourceData song = findResourceData(RESOURCE_SONG);
    const std::vector<int16_t> silence(2 * 4410, 0);
    EXPECT_EQ(songOpening({nullptr, 0}, 4410), silence);
    EXPECT_EQ(songOpening({song.bytes, song.size / 2}, 4410), silence);  // cut short
    EXPECT_NE(songOpening(song, 4410), silence);
}

TEST_F(DemoTest, MainSceneIgnoresSpaceDuringItsFadeOut) {
    pressAt(421, KEY_SPACE);  // the scene's first frame step
    pressAt(450, KEY_SPACE);
    EXPECT_EQ(appProc(app, nullptr), 0);
    EXPECT_EQ(demoState.music, nullptr);
    const std::vector<int32_t> all = levels();
    ASSERT_EQ(all.size(), 481u);  // 420 title steps, 61 scene steps
    EXPECT_EQ(std::vector<int32_t>({all[420], all[421], all[480]}), std::vector<int32_t>({4, 251, 0}));
    // The scene's first step presents the black that the title left.
    const std::vector<uint32_t> black(FRAMEBUFFER_WIDTH * FRAMEBUFFER_HEIGHT);
    EXPECT_EQ(record().frames[420].pixelHash, headlessHashPixels(black.data(), black.size()));
}

}  // namespace
