// The page's DOM events onto the queue, through the browser backend's
// translation (keyCode and location, DOM buttons and click counts, movement).
#include <gtest/gtest.h>

#include "app/web/web_events.h"
#include "tests/app/queued_events.h"

namespace {

enum : int32_t { STANDARD = 0, LEFT = 1, RIGHT = DOM_KEY_LOCATION_RIGHT };

struct WebInput : ::testing::Test {
    App app;
    void SetUp() override { app.hasFocus = true; }
};

}  // namespace

TEST_F(WebInput, KeyCodesWithTheirLocation) {
    queueDomKey(&app, true, 27, STANDARD);   // Escape
    queueDomKey(&app, true, 18, RIGHT);      // AltGr reports the right Alt
    queueDomKey(&app, false, 16, LEFT);
    queueDomKey(&app, true, 17, STANDARD);   // a virtual keyboard's Control: the left one
    queueDomKey(&app, true, 65, STANDARD);
    queueDomKey(&app, true, 0, STANDARD);    // an unidentified key
    const Events expected = {{EVENT_KEY_DOWN, KEY_ESCAPE},      {EVENT_KEY_DOWN, KEY_ALT},
                             {EVENT_KEY_DOWN, KEY_RIGHT_ALT},   {EVENT_KEY_UP, KEY_SHIFT},
                             {EVENT_KEY_UP, KEY_LEFT_SHIFT},    {EVENT_KEY_DOWN, KEY_CONTROL},
                             {EVENT_KEY_DOWN, KEY_LEFT_CONTROL}, {EVENT_KEY_DOWN, KEY_A},
                             {EVENT_KEY_DOWN, KEY_NONE}};
    EXPECT_EQ(queued(app), expected);
}

TEST_F(WebInput, ButtonsClickCountsAndMotion) {
    queueDomMouseButton(&app, true, 0, 1);
    queueDomMouseButton(&app, false, 0, 1);
    queueDomMouseButton(&app, true, 0, 2);  // the second click of a series
    queueDomMouseButton(&app, true, 1, 1);  // middle
    queueDomMouseButton(&app, true, 2, 1);  // right
    queueDomMouseButton(&app, false, 3, 1);  // back
    queueDomMouseButton(&app, false, 4, 1);  // forward
    const Events expected = {{EVENT_KEY_DOWN, KEY_LEFT_BUTTON},   {EVENT_KEY_UP, KEY_LEFT_BUTTON},
                             {EVENT_DOUBLE_CLICK, KEY_LEFT_BUTTON}, {EVENT_KEY_DOWN, KEY_MIDDLE_BUTTON},
                             {EVENT_KEY_DOWN, KEY_RIGHT_BUTTON},  {EVENT_KEY_UP, KEY_X_BUTTON1},
                             {EVENT_KEY_UP, KEY_X_BUTTON2}};
    EXPECT_EQ(queued(app), expected);

    app.eventCount = 0;
    queueDomPointerMove(&app, 801, 603, 400.0f, -200.0f);
    ASSERT_EQ(app.eventCount, 2);
    EXPECT_EQ(app.events[0].type, EVENT_POINTER_DELTA) << "the motion comes first, as raw input does";
    EXPECT_FLOAT_EQ(eventFloat(app.events[0], 0), 1.0f);
    EXPECT_FLOAT_EQ(eventFloat(app.events[0], 1), -0.5f);
    EXPECT_EQ(app.events[1].type, EVENT_POINTER_MOVE);
    EXPECT_EQ(app.events[1].payload[0], 801);
    EXPECT_EQ(app.events[1].payload[1], 603);
}
