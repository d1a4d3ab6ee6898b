// The frame step: first showing, key flags, fades, quitting.
#include <algorithm>
#include <cstdio>
#include <string>

#include "tests/demo/demo_fixture.h"

namespace {

class FrameStep : public DemoTest {
protected:
    void SetUp() override {
        DemoTest::SetUp();
        demoState.app = app;
    }
    void steps(int count) {
        for (int i = 0; i < count; ++i) frameStep();
    }
};

TEST_F(FrameStep, FirstFrameReappliesTheScreenModeAndShowsOnce) {
    app->screenMode = SCREEN_WINDOW;
    steps(2);
    EXPECT_EQ(app->screenMode, SCREEN_WINDOW);
    EXPECT_EQ(record().screenModes, std::vector<int32_t>{SCREEN_WINDOW});
    EXPECT_EQ(record().showCount, 1);
    EXPECT_TRUE(app->windowShown);
    EXPECT_EQ(app->presenter->viewWidth, 1600);  // the window-mode client area
    EXPECT_EQ(record().swaps, 2);
}

TEST_F(FrameStep, OnlyPressesOfCodesUpTo169SetFlags) {
    pressAt(1, KEY_COUNT);
    pressAt(1, -1);
    pressAt(1, KEY_SPACE);
    headlessScheduleEvent(app, 1, keyEvent(EVENT_KEY_UP, KEY_SPACE));  // released in the same frame
    pressAt(1, KEY_LEFT_BUTTON);
    headlessScheduleEvent(app, 1, keyEvent(EVENT_DOUBLE_CLICK, KEY_RIGHT_BUTTON));
    headlessScheduleEvent(app, 1, keyEvent(EVENT_CHAR, KEY_ESCAPE));  // a character, not a press
    pressAt(1, KEY_COUNT - 1);
    frameStep();
    std::vector<int32_t> pressed;
    for (int32_t code = 0; code < KEY_COUNT; ++code)
        if (demoState.keyPressed[code]) pressed.push_back(code);
    EXPECT_EQ(pressed, (std::vector<int32_t>{KEY_LEFT_BUTTON, KEY_SPACE, KEY_COUNT - 1}));
    EXPECT_EQ(app->eventCount, 0);

    frameStep();  // rebuilt every step
    EXPECT_EQ(demoState.keyPressed[KEY_SPACE], 0);
}

TEST_F(FrameStep, FadesInAndOutOverSixtySingleFloatSteps) {
    steps(1);  // no fade yet: full level
    startFade(0, 255, 60);
    steps(61);
    startFade(255, 0, 60);
    steps(61);
    const std::vector<int32_t> all = levels();
    ASSERT_EQ(all.size(), 123u);
    EXPECT_EQ(all[0], 255);
    EXPECT_EQ(std::vector<int32_t>(all.begin() + 1, all.begin() + 5), (std::vector<int32_t>{4, 8, 12, 17}));
    EXPECT_EQ(std::vector<int32_t>(all.begin() + 58, all.begin() + 62), (std::vector<int32_t>{246, 250, 255, 255}));
    EXPECT_EQ(std::vector<int32_t>(all.begin() + 62, all.begin() + 66), (std::vector<int32_t>{251, 247, 243, 238}));
    EXPECT_EQ(std::vector<int32_t>(all.begin() + 119, all.end()), (std::vector<int32_t>{9, 5, 0, 0}));
}

// Between any two levels, over any length: every level lies between the two,
// moves one way only, and the last frame lands on the target and stays there.
TEST_F(FrameStep, FadesBetweenAnyTwoLevelsEndOnTheTargetWithoutOvershoot) {
    const int32_t pairs[][2] = {{0, 128}, {128, 0}, {200, 50}, {17, 240}, {255, 100}, {100, 101}, {90, 90}};
    for (const auto& pair : pairs) {
        for (int32_t frames : {1, 3, 60, 400}) {
            const int32_t from = pair[0], to = pair[1];
            const size_t before = levels().size();
            startFade(from, to, frames);
            steps(frames + 3);
            const std::vector<int32_t> seen = levels();
            const std::vector<int32_t> all(seen.begin() + long(before), seen.end());
            ASSERT_EQ(all.size(), size_t(frames + 3));
            const std::string fade = std::to_string(from) + " to " + std::to_string(to) + " in " +
                                     std::to_string(frames);
            int32_t previous = from;
            for (size_t i = 0; i < all.size(); ++i) {
                EXPECT_GE(all[i], std::min(from, to)) << fade << ", frame " << i + 1;
                EXPECT_LE(all[i], std::max(from, to)) << fade << ", frame " << i + 1;
                EXPECT_GE((all[i] - previous) * (to - from), 0) << fade << ", frame " << i + 1;
                previous = all[i];
            }
            EXPECT_EQ(all[size_t(frames) - 1], to) << fade;
            if (frames > 1 && std::abs(to - from) >= frames) EXPECT_NE(all[size_t(frames) - 2], to) << fade;
            EXPECT_EQ(all.back(), to) << fade;
        }
    }
}

// Time moves only when the pacer sleeps.
int64_t fakeNow(void* time) { return *static_cast<int64_t*>(time); }
void fakeSleep(int64_t ns, void* time) { *static_cast<int64_t*>(time) += ns; }

TEST_F(FrameStep, MinimizedWindowAdvancesTheFadeUnseenAtTheSamePace) {
    int64_t now = 0;
    headlessPaceWith(app, {fakeNow, fakeSleep, &now});
    startFade(0, 255, 60);
    headlessAtStep(app, 1, [](App* a) { a->minimized = true; });
    headlessAtStep(app, 60, [](App* a) { a->minimized = false; });
    steps(60);
    EXPECT_EQ(levels(), std::vector<int32_t>{255});
    EXPECT_EQ(record().swaps, 1);
    EXPECT_EQ(demoState.fadeFrame, 60);
    // The first step starts the clock; each of the other 59 waits out its 1/60 s.
    EXPECT_EQ(now, 59 * FRAME_PERIOD_60HZ_NS);
}

TEST_F(FrameStep, EscapeEndsTheProcessOneStepAfterItsPress) {
    pressAt(1, KEY_ESCAPE);
    EXPECT_EXIT(
        {
            frameStep();
            std::fprintf(stderr, "presented %zu\n", record().frames.size());
            frameStep();
            std::_Exit(4);
        },
        ::testing::ExitedWithCode(0), "presented 1\n");
}

TEST_F(FrameStep, CloseRequestEndsTheProcessAtOnce) {
    headlessAtStep(app, 1, [](App* a) { a->closeRequested = true; });
    EXPECT_EXIT(
        {
            frameStep();
            std::_Exit(4);
        },
        ::testing::ExitedWithCode(0), "");
}

}  // namespace
