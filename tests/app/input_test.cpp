// Keymap, event queue, the input rules every backend shares, window geometry
// and the interpolation switch. Each backend's own translation is tested with
// that backend (SDL, the DOM, Win32 messages).
#include <gtest/gtest.h>

#include "app/headless/headless.h"
#include "app/presenter.h"
#include "app/shell.h"
#include "tests/app/queued_events.h"

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

TEST(EventQueue, MergesAndDropsBeyondItsCapacity) {
    App app;
    AppEvent key = {EVENT_KEY_DOWN, {KEY_SPACE}};
    app.hasFocus = 1;
    pushScroll(&app, 1.0f);
    pushScroll(&app, 1.0f);
    ASSERT_EQ(app.eventCount, 1);
    EXPECT_EQ(app.events[0].type, EVENT_SCROLL);
    EXPECT_FLOAT_EQ(eventFloat(app.events[0], 0), 2.0f);

    pushRawMotion(&app, 200, -100);
    pushRawMotion(&app, 200, 0);
    ASSERT_EQ(app.eventCount, 2);
    EXPECT_FLOAT_EQ(eventFloat(app.events[1], 0), 1.0f);
    EXPECT_FLOAT_EQ(eventFloat(app.events[1], 1), -0.25f);

    while (app.eventCount < APP_EVENT_CAPACITY - 1) pushEvent(&app, key);
    pushScroll(&app, -1.0f);  // the 1024th event
    pushEvent(&app, key);     // the 1025th is dropped
    ASSERT_EQ(app.eventCount, APP_EVENT_CAPACITY);
    pushScroll(&app, -0.5f);  // still merges into the last entry
    EXPECT_EQ(app.eventCount, APP_EVENT_CAPACITY);
    EXPECT_FLOAT_EQ(eventFloat(app.events[APP_EVENT_CAPACITY - 1], 0), -1.5f);
    pushRawMotion(&app, 1, 1);  // no delta is last: nothing changes
    EXPECT_EQ(app.events[APP_EVENT_CAPACITY - 1].type, EVENT_SCROLL);
}

TEST(InputRules, GenericModifiersGiveTheGenericKeyThenTheSide) {
    App app;
    app.hasFocus = true;
    pushVirtualKey(&app, EVENT_KEY_DOWN, VKEY_SHIFT, KEY_SIDE_LEFT);
    pushVirtualKey(&app, EVENT_KEY_UP, VKEY_SHIFT, KEY_SIDE_RIGHT);
    pushVirtualKey(&app, EVENT_KEY_DOWN, VKEY_CONTROL, KEY_SIDE_RIGHT);
    pushVirtualKey(&app, EVENT_KEY_DOWN, VKEY_ALT, KEY_SIDE_LEFT);
    pushVirtualKey(&app, EVENT_KEY_DOWN, VKEY_ALT, KEY_SIDE_RIGHT);
    pushVirtualKey(&app, EVENT_KEY_DOWN, VKEY_ESCAPE, KEY_SIDE_RIGHT);    // not a modifier: one event
    pushVirtualKey(&app, EVENT_KEY_DOWN, VKEY_LEFT_SHIFT, KEY_SIDE_LEFT);  // already sided: one event
    pushVirtualKey(&app, EVENT_KEY_DOWN, VKEY_UNASSIGNED, KEY_SIDE_LEFT);
    const Events expected = {
        {EVENT_KEY_DOWN, KEY_SHIFT},   {EVENT_KEY_DOWN, KEY_LEFT_SHIFT},    {EVENT_KEY_UP, KEY_SHIFT},
        {EVENT_KEY_UP, KEY_RIGHT_SHIFT}, {EVENT_KEY_DOWN, KEY_CONTROL},     {EVENT_KEY_DOWN, KEY_RIGHT_CONTROL},
        {EVENT_KEY_DOWN, KEY_ALT},     {EVENT_KEY_DOWN, KEY_LEFT_ALT},      {EVENT_KEY_DOWN, KEY_ALT},
        {EVENT_KEY_DOWN, KEY_RIGHT_ALT}, {EVENT_KEY_DOWN, KEY_ESCAPE},      {EVENT_KEY_DOWN, KEY_LEFT_SHIFT},
        {EVENT_KEY_DOWN, -1}};
    EXPECT_EQ(queued(app), expected);
}

TEST(InputRules, CharactersButtonsAndRawMotion) {
    App app;
    app.hasFocus = true;
    for (uint32_t character : {uint32_t('a'), 0xE9u, 0x20ACu, 0x1F600u}) pushCharacter(&app, character);
    for (int32_t button = -1; button <= 5; ++button) pushMouseButton(&app, EVENT_KEY_UP, button);
    for (int32_t clicks = 0; clicks <= 4; ++clicks) pushMouseButton(&app, mousePressType(clicks), MOUSE_LEFT);
    // Characters keep their low byte; buttons beyond the listed ones are the
    // forward button; every second click of a series is a double-click.
    const Events expected = {
        {EVENT_CHAR, 'a'}, {EVENT_CHAR, 0xE9}, {EVENT_CHAR, 0xAC}, {EVENT_CHAR, 0x00},
        {EVENT_KEY_UP, KEY_X_BUTTON2}, {EVENT_KEY_UP, KEY_LEFT_BUTTON}, {EVENT_KEY_UP, KEY_MIDDLE_BUTTON},
        {EVENT_KEY_UP, KEY_RIGHT_BUTTON}, {EVENT_KEY_UP, KEY_X_BUTTON1}, {EVENT_KEY_UP, KEY_X_BUTTON2},
        {EVENT_KEY_UP, KEY_X_BUTTON2}, {EVENT_KEY_DOWN, 1}, {EVENT_KEY_DOWN, 1}, {EVENT_DOUBLE_CLICK, 1},
        {EVENT_KEY_DOWN, 1}, {EVENT_DOUBLE_CLICK, 1}};
    EXPECT_EQ(queued(app), expected);

    // 400 raw counts are 1.0; the position comes as it is.
    app.eventCount = 0;
    pushRawMotion(&app, 400, -1000);
    pushPointerMove(&app, 640, -3);
    ASSERT_EQ(app.eventCount, 2);
    EXPECT_EQ(app.events[0].type, EVENT_POINTER_DELTA);
    EXPECT_FLOAT_EQ(eventFloat(app.events[0], 0), 1.0f);
    EXPECT_FLOAT_EQ(eventFloat(app.events[0], 1), -2.5f);
    EXPECT_EQ(app.events[1].type, EVENT_POINTER_MOVE);
    EXPECT_EQ(app.events[1].payload[0], 640);
    EXPECT_EQ(app.events[1].payload[1], -3);
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
