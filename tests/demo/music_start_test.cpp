// The music start, the main scene's run through the title and its shut-down,
// on the headless backend.
#include <cstring>

#include "demo/main_scene.h"
#include "demo/music_start.h"
#include "tests/demo/demo_fixture.h"
#include "ym/ym_music.h"

namespace {

bool silent(const std::vector<int16_t>& samples) {
    for (int16_t s : samples)
        if (s != 0) return false;
    return true;
}

TEST(LoadMusic, ASongThatDoesNotLoadPlaysSilence) {
    const ResourceData song = findResourceData(217);
    ASSERT_NE(song.bytes, nullptr);
    static const unsigned char notASong[] = "not a song at all";
    struct Case {
        const char* what;
        ResourceData data;
    };
    const Case cases[] = {
        {"missing", {nullptr, 0}},
        {"not a song", {notASong, sizeof notASong}},
        {"cut short", {song.bytes, song.size / 2}},
    };
    for (const Case& c : cases) {
        YmMusic music;
        loadMusic(music, c.data);
        EXPECT_EQ(music.musicReady, 0) << c.what;
        EXPECT_EQ(music.fileData, nullptr) << c.what;
        EXPECT_TRUE(music.loopEnabled) << c.what;
        EXPECT_EQ(music.paused, 0) << c.what;
        std::vector<int16_t> samples(2 * 2205, 7);
        EXPECT_TRUE(music.renderAudio(samples.data(), 2205)) << c.what;
        EXPECT_TRUE(silent(samples)) << c.what;
    }
}

class MainSceneRun : public DemoTest {
protected:
    int32_t result = -1;
    void run() { result = appProc(app, nullptr); }
};

TEST_F(MainSceneRun, MusicPlaysThroughTheStreamUntilTheShutDown) {
    std::vector<int16_t> heard(2 * 8820);
    headlessAtStep(app, 500, [&](App* a) {
        YmMusic* music = demoState.music;
        ASSERT_NE(music, nullptr);
        EXPECT_EQ(music->musicReady, 1);
        EXPECT_TRUE(music->loopEnabled);
        EXPECT_TRUE(music->chip.lowPassEnabled);
        EXPECT_EQ(a->soundFrames, 4410);
        EXPECT_EQ(a->soundCallback, &musicSoundCallback);
        EXPECT_EQ(headlessPullSound(a, heard.data(), 8820), 8820);
    });
    pressAt(600, KEY_SPACE);
    run();
    EXPECT_EQ(result, 0);
    EXPECT_FALSE(silent(heard));

    // The song as a fresh object plays it from its start.
    YmMusic reference;
    loadMusic(reference, findResourceData(217));
    std::vector<int16_t> expected(2 * 8820);
    for (int32_t done = 0; done < 8820; done += 2205) reference.renderAudio(expected.data() + 2 * done, 2205);
    EXPECT_EQ(heard, expected);

    EXPECT_EQ(demoState.music, nullptr);
    EXPECT_EQ(app->soundCallback, nullptr);
    std::vector<int16_t> after(2 * 100, 1);
    EXPECT_EQ(headlessPullSound(app, after.data(), 100), 0);
}

TEST_F(MainSceneRun, SpaceDuringTheFadeOutIsIgnored) {
    pressAt(421, KEY_SPACE);  // the main scene's first frame step
    pressAt(450, KEY_SPACE);
    run();
    const std::vector<int32_t> all = levels();
    ASSERT_EQ(all.size(), 481u);  // 420 title steps, 61 scene steps
    EXPECT_EQ(all[420], 4);       // the scene's fade in had begun
    EXPECT_EQ(all[421], 251);
    EXPECT_EQ(all[480], 0);
    // The first scene step presents the black that the title left.
    EXPECT_EQ(record().frames[420].pixelHash,
              headlessHashPixels(std::vector<uint32_t>(FRAMEBUFFER_WIDTH * FRAMEBUFFER_HEIGHT).data(),
                                 FRAMEBUFFER_WIDTH * FRAMEBUFFER_HEIGHT));
}

}  // namespace
