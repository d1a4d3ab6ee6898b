// The title screen's timeline through the headless backend.
#include <cstdio>

#include "resources/resource_ids.h"
#include "tests/demo/demo_fixture.h"

namespace {

class TitleScreen : public DemoTest {
protected:
    int32_t result = -1;
    // The title must end after `titleSteps`: a Space in the next step ends
    // the main scene 60 steps later.
    void run(size_t titleSteps) {
        pressAt(int64_t(titleSteps) + 1, KEY_SPACE);
        result = appProc(app, nullptr);
        EXPECT_EQ(record().frames.size(), titleSteps + 61);
    }
    std::vector<int32_t> titleLevels(size_t titleSteps) const {
        std::vector<int32_t> all = levels();
        all.resize(std::min(all.size(), titleSteps));
        return all;
    }

    // What every title frame shows: the picture blitted once, fades aside.
    static uint64_t titleHash() {
        static uint32_t pixels[FRAMEBUFFER_WIDTH * FRAMEBUFFER_HEIGHT];
        Image screen = {pixels, FRAMEBUFFER_WIDTH, FRAMEBUFFER_HEIGHT, -1};
        Image title = loadImage(RESOURCE_TITLE_PICTURE);
        blit(0, 0, title, title.width - 1, title.height - 1, screen, 0, 0);
        std::free(title.pixels);
        return headlessHashPixels(pixels, FRAMEBUFFER_WIDTH * FRAMEBUFFER_HEIGHT);
    }
};

TEST_F(TitleScreen, WithoutKeysFadesInHoldsAndFadesOut) {
    HeadlessPointer pointerAtFirstStep = {};
    headlessAtStep(app, 1, [&](App* a) { pointerAtFirstStep = headlessRecord(a).pointer; });
    run(420);
    EXPECT_EQ(result, 0);
    const std::vector<int32_t> all = titleLevels(420);
    ASSERT_EQ(all.size(), 420u);
    EXPECT_EQ(record().swaps, 481);
    EXPECT_EQ(all[0], 4);
    EXPECT_EQ(all[59], 255);
    EXPECT_EQ(std::vector<int32_t>(all.begin() + 59, all.begin() + 360), std::vector<int32_t>(301, 255));
    EXPECT_EQ(all[360], 251);
    EXPECT_EQ(all[419], 0);

    const uint64_t expected = titleHash();
    for (size_t i = 0; i < 420; ++i) ASSERT_EQ(record().frames[i].pixelHash, expected);

    EXPECT_EQ(record().windowTitle, "Vitrelume 15th Anniversary");
    EXPECT_EQ(pointerAtFirstStep.width, 1);
    EXPECT_EQ(pointerAtFirstStep.height, 1);
    EXPECT_EQ(pointerAtFirstStep.pixels, std::vector<uint32_t>{0});
    EXPECT_EQ(pointerAtFirstStep.hotX + pointerAtFirstStep.hotY, 0);
    EXPECT_EQ(app->interpolation, INTERPOLATION_NEAREST);
    EXPECT_EQ(app->presenter->interpolation, INTERPOLATION_NEAREST);
}

TEST_F(TitleScreen, SpaceStartsTheFadeOutFromFullLevel) {
    pressAt(100, KEY_SPACE);
    run(160);
    const std::vector<int32_t> all = titleLevels(160);
    ASSERT_EQ(all.size(), 160u);
    EXPECT_EQ(all[99], 255);
    EXPECT_EQ(all[100], 251);
    EXPECT_EQ(all[159], 0);
}

TEST_F(TitleScreen, HeldSpaceRestartsTheFadeOutUntilReleased) {
    for (int64_t step = 1; step <= 199; step += 3) pressAt(step, KEY_SPACE);  // auto-repeat
    run(259);
    const std::vector<int32_t> all = titleLevels(259);
    ASSERT_EQ(all.size(), 259u);
    EXPECT_EQ(all[0], 4);    // the press during the fade in still fades out from 255
    EXPECT_EQ(all[1], 251);
    EXPECT_EQ(all[3], 243);  // a repeat at step 4 restarts it
    EXPECT_EQ(all[4], 251);
    EXPECT_EQ(all[258], 0);
}

TEST_F(TitleScreen, HoldEndRestartsAFadeOutThatSpaceBegan) {
    pressAt(320, KEY_SPACE);
    run(420);
    const std::vector<int32_t> all = titleLevels(420);
    ASSERT_EQ(all.size(), 420u);
    EXPECT_LT(all[359], 255);
    EXPECT_EQ(all[360], 251);
}

TEST_F(TitleScreen, EscapeQueuedInTheLastStepIsForgotten) {
    pressAt(420, KEY_ESCAPE);
    EXPECT_EXIT(
        {
            run(420);  // the main scene's first step does not quit
            std::fprintf(stderr, "returned %d, presented %zu\n", result, record().frames.size());
            std::_Exit(7);
        },
        ::testing::ExitedWithCode(7), "returned 0, presented 481\n");
}

}  // namespace
