// Which events reach the queue without focus: none as a new entry, and of the
// merging kinds only raw motion still adds to a last entry of its own.
#include <gtest/gtest.h>

#include "app/shell.h"

TEST(FocusRules, NoEventKindIsQueuedWithoutFocus) {
    for (int32_t type : {EVENT_KEY_DOWN, EVENT_KEY_UP, EVENT_DOUBLE_CLICK, EVENT_CHAR, EVENT_POINTER_MOVE, EVENT_TABLET}) {
        App app;
        pushEvent(&app, AppEvent{type, {1, 2, 3, 4, 5, 6}});
        EXPECT_EQ(app.eventCount, 0) << type;
        app.hasFocus = true;
        pushEvent(&app, AppEvent{type, {1, 2, 3, 4, 5, 6}});
        EXPECT_EQ(app.eventCount, 1) << type;
    }
    App app;
    pushKey(&app, EVENT_KEY_DOWN, KEY_SPACE);
    pushScroll(&app, 1.0f);
    pushRawMotion(&app, 400, 400);
    EXPECT_EQ(app.eventCount, 0);
}

TEST(FocusRules, OnlyRawMotionMergesWithoutFocus) {
    App app;
    app.hasFocus = true;
    pushScroll(&app, 1.0f);
    app.hasFocus = false;
    pushScroll(&app, 2.0f);
    ASSERT_EQ(app.eventCount, 1);
    EXPECT_FLOAT_EQ(eventFloat(app.events[0], 0), 1.0f) << "a scroll without focus is dropped, not merged";

    app.hasFocus = true;
    pushRawMotion(&app, 400, -400);
    app.hasFocus = false;
    pushRawMotion(&app, 800, -800);
    ASSERT_EQ(app.eventCount, 2);
    EXPECT_FLOAT_EQ(eventFloat(app.events[1], 0), 3.0f) << "raw motion keeps counting the hand's movement";
    EXPECT_FLOAT_EQ(eventFloat(app.events[1], 1), -3.0f);
}
