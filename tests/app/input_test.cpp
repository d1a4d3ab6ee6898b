// Keymap, event queue, window geometry and the interpolation switch.
#include <gtest/gtest.h>

#include "app/headless/headless.h"
#include "app/presenter.h"
#include "app/shell.h"

// The table numbers the defined keys consecutively (its static assertions pin
// the ends); these points pin the ranges between them.
TEST(Keymap, CodesAreDenseOverTheDefinedVirtualKeys) {
    EXPECT_EQ(keyFromVirtualKey(0x00), 0);
    EXPECT_EQ(keyFromVirtualKey(0x01), KEY_LEFT_BUTTON);
    EXPECT_EQ(keyFromVirtualKey(0x06), KEY_X_BUTTON2);
    EXPECT_EQ(keyFromVirtualKey(0x1B), KEY_ESCAPE);
    EXPECT_EQ(keyFromVirtualKey(0x20), KEY_SPACE);
    EXPECT_EQ(keyFromVirtualKey('A'), KEY_A);
    EXPECT_EQ(keyFromVirtualKey(0x5F), 80);   // sleep
    EXPECT_EQ(keyFromVirtualKey(0xA5), KEY_RIGHT_ALT);
    EXPECT_EQ(keyFromVirtualKey(0xE2), 159);
    EXPECT_EQ(keyFromVirtualKey(0xFE), 169);
    for (int vk : {0x07, 0x0A, 0x16, 0x1A, 0x3A, 0x40, 0x5E, 0x88, 0xB8, 0xC1, 0xE0, 0xE6, 0xFF})
        EXPECT_EQ(keyFromVirtualKey(vk), -1) << vk;
    EXPECT_EQ(keyFromVirtualKey(-1), 0);
    EXPECT_EQ(keyFromVirtualKey(256), 0);
}

TEST(EventQueue, DropsWithoutFocusOrRoomButStillMerges) {
    App app;
    AppEvent key = {EVENT_KEY_DOWN, {KEY_SPACE}};
    pushEvent(&app, key);
    pushScroll(&app, 1.0f);
    EXPECT_EQ(app.eventCount, 0) << "nothing is queued without focus";

    app.hasFocus = 1;
    pushScroll(&app, 1.0f);
    pushScroll(&app, 1.0f);
    ASSERT_EQ(app.eventCount, 1);
    EXPECT_EQ(app.events[0].type, EVENT_SCROLL);
    EXPECT_FLOAT_EQ(eventFloat(app.events[0], 0), 2.0f);

    pushPointerDelta(&app, 0.5f, -0.25f);
    pushPointerDelta(&app, 0.5f, 0.0f);
    ASSERT_EQ(app.eventCount, 2);
    EXPECT_FLOAT_EQ(eventFloat(app.events[1], 0), 1.0f);
    EXPECT_FLOAT_EQ(eventFloat(app.events[1], 1), -0.25f);
    app.hasFocus = 0;  // raw motion still adds to a last delta of its own
    pushPointerDelta(&app, 1.0f, 0.0f);
    EXPECT_FLOAT_EQ(eventFloat(app.events[1], 0), 2.0f);
    app.hasFocus = 1;

    while (app.eventCount < APP_EVENT_CAPACITY - 1) pushEvent(&app, key);
    pushScroll(&app, -1.0f);  // the 1024th event
    pushEvent(&app, key);     // the 1025th is dropped
    ASSERT_EQ(app.eventCount, APP_EVENT_CAPACITY);
    pushScroll(&app, -0.5f);  // still merges into the last entry
    EXPECT_EQ(app.eventCount, APP_EVENT_CAPACITY);
    EXPECT_FLOAT_EQ(eventFloat(app.events[APP_EVENT_CAPACITY - 1], 0), -1.5f);
    pushPointerDelta(&app, 1, 1);  // no delta is last: nothing changes
    EXPECT_EQ(app.events[APP_EVENT_CAPACITY - 1].type, EVENT_SCROLL);
}

// 1920 x 1080 (1600 x 900 at 160, 90) is seen by the frame step and Wine window tests.
TEST(WindowGeometry, FiveSixthsOfTheFirstDisplayCentred) {
    App app;
    computeWindowGeometry(&app, 1366, 768);
    EXPECT_EQ(app.windowWidth, 1139);
    EXPECT_EQ(app.windowHeight, 640);
    EXPECT_EQ(app.windowX, 113);
    EXPECT_EQ(app.windowY, 64);
    EXPECT_EQ(app.fullscreenWidth, 1366);
    EXPECT_EQ(app.fullscreenHeight, 768);
}

TEST(Interpolation, SwitchQueuesThePointerPositionOnce) {
    App* app = createHeadlessApp();  // focused, linear
    headlessSetPointerPosition(app, 12, 34);
    setInterpolation(app, INTERPOLATION_NEAREST);
    EXPECT_EQ(app->interpolation, INTERPOLATION_NEAREST);
    EXPECT_EQ(app->presenter->interpolation, INTERPOLATION_NEAREST);
    ASSERT_EQ(app->eventCount, 1);
    EXPECT_EQ(app->events[0].type, EVENT_POINTER_MOVE);
    EXPECT_EQ(app->events[0].payload[0], 12);
    EXPECT_EQ(app->events[0].payload[1], 34);
    setInterpolation(app, INTERPOLATION_NEAREST);
    EXPECT_EQ(app->eventCount, 1) << "an unchanged mode does nothing";

    app->hasFocus = false;
    setInterpolation(app, INTERPOLATION_LINEAR);
    EXPECT_EQ(app->presenter->interpolation, INTERPOLATION_LINEAR);
    EXPECT_EQ(app->eventCount, 1);
    destroyHeadlessApp(app);
}
