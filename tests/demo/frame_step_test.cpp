// The frame step: first showing, key flags, fades, quitting.
#include <cstdio>

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
    app->screenMode = 0;
    steps(2);
    EXPECT_EQ(app->screenMode, 0);
    EXPECT_EQ(record().screenModes, std::vector<int32_t>{0});
    EXPECT_EQ(record().showCount, 1);
    EXPECT_EQ(app->windowShown, 1);
    EXPECT_EQ(app->presenter.viewWidth, 1600);  // the window-mode client area
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

TEST_F(FrameStep, MinimizedWindowAdvancesTheFadeUnseen) {
    startFade(0, 255, 60);
    headlessAtStep(app, 1, [](App* a) { a->minimized = 1; });
    headlessAtStep(app, 60, [](App* a) { a->minimized = 0; });
    steps(60);
    EXPECT_EQ(levels(), std::vector<int32_t>{255});
    EXPECT_EQ(record().swaps, 1);
    EXPECT_EQ(demoState.fadeFrame, 60);
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
    headlessAtStep(app, 1, [](App* a) { a->closeRequested = 1; });
    EXPECT_EXIT(
        {
            frameStep();
            std::_Exit(4);
        },
        ::testing::ExitedWithCode(0), "");
}

}  // namespace
