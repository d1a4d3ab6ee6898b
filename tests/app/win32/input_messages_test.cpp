// Window messages, as plain numbers, onto the event queue.
#include <gtest/gtest.h>

#include "app/win32/input_messages.h"
#include "tests/app/queued_events.h"

namespace {

enum : uint32_t {
    KEY_DOWN = 0x0100, KEY_UP = 0x0101, CHAR = 0x0102, SYSTEM_KEY_DOWN = 0x0104, MOUSE_MOVE = 0x0200,
    LEFT_DOWN = 0x0201, LEFT_UP = 0x0202, LEFT_DOUBLE = 0x0203, MIDDLE_DOWN = 0x0207, WHEEL = 0x020A,
    X_DOWN = 0x020B, X_UP = 0x020C, RAW_INPUT = 0x00FF, PAINT = 0x000F,
};
const int64_t EXTENDED = int64_t(1) << 24;
const int64_t OPEN_TABLET = 0x5A5A, RAW_MOUSE_RECORD = 7;

// What the system would answer: left shift has scan code 0x2A, right 0x36.
struct FakeSystem {
    int32_t pointerX = 0, pointerY = 0;
    TabletPacket packet = {};
};

int32_t scanToKey(int32_t scan, void*) { return scan == 0x2A ? 0xA0 : scan == 0x36 ? 0xA1 : 0; }
void pointer(int32_t* x, int32_t* y, void* context) {
    *x = static_cast<FakeSystem*>(context)->pointerX;
    *y = static_cast<FakeSystem*>(context)->pointerY;
}
bool rawMotion(int64_t lParam, int32_t* dx, int32_t* dy, void*) {
    if (lParam != RAW_MOUSE_RECORD) return false;  // a keyboard record, say
    *dx = 400, *dy = -200;
    return true;
}
bool tablet(uint64_t, int64_t lParam, TabletPacket* packet, void* context) {
    if (lParam != OPEN_TABLET) return false;
    *packet = static_cast<FakeSystem*>(context)->packet;
    return true;
}

struct InputMessages : ::testing::Test {
    App app;
    FakeSystem system;
    InputMessageQueries queries = {scanToKey, pointer, rawMotion, tablet, &system};

    void SetUp() override { app.hasFocus = true; }
    bool send(uint32_t message, uint64_t wParam = 0, int64_t lParam = 0) {
        return queueInputMessage(&app, message, wParam, lParam, queries);
    }
};

}  // namespace

TEST_F(InputMessages, ModifierKeysGiveTheGenericKeyThenTheSide) {
    send(KEY_DOWN, 0x1B);                               // Escape
    send(SYSTEM_KEY_DOWN, 0x12, EXTENDED);              // right Alt
    send(KEY_UP, 0x10, int64_t(0x36) << 16);            // right shift, by its scan code
    send(KEY_DOWN, 0x10, int64_t(0x2A) << 16);          // left shift
    send(KEY_DOWN, 0x11, 0);                            // left control
    send(KEY_UP, 0x11, EXTENDED | (int64_t(0x1D) << 16));  // right control
    send(KEY_DOWN, 0x07);                               // a virtual key without a code
    const Events expected = {{EVENT_KEY_DOWN, KEY_ESCAPE}, {EVENT_KEY_DOWN, KEY_ALT},
                             {EVENT_KEY_DOWN, KEY_RIGHT_ALT}, {EVENT_KEY_UP, KEY_SHIFT},
                             {EVENT_KEY_UP, KEY_RIGHT_SHIFT}, {EVENT_KEY_DOWN, KEY_SHIFT},
                             {EVENT_KEY_DOWN, KEY_LEFT_SHIFT}, {EVENT_KEY_DOWN, KEY_CONTROL},
                             {EVENT_KEY_DOWN, KEY_LEFT_CONTROL}, {EVENT_KEY_UP, KEY_CONTROL},
                             {EVENT_KEY_UP, KEY_RIGHT_CONTROL}, {EVENT_KEY_DOWN, -1}};
    EXPECT_EQ(queued(app), expected);
}

TEST_F(InputMessages, CharactersKeepTheirLowByteButtonsAndDoubleClicks) {
    send(CHAR, 0x1E9);  // a character beyond 8 bits keeps its low byte
    send(LEFT_DOWN);
    send(LEFT_UP);
    send(LEFT_DOUBLE);
    send(LEFT_UP);
    send(MIDDLE_DOWN);
    send(X_DOWN, uint64_t(1) << 16);  // X button 1
    send(X_UP, uint64_t(2) << 16);    // any other X button
    const Events expected = {{EVENT_CHAR, 0xE9},           {EVENT_KEY_DOWN, KEY_LEFT_BUTTON},
                             {EVENT_KEY_UP, KEY_LEFT_BUTTON}, {EVENT_DOUBLE_CLICK, KEY_LEFT_BUTTON},
                             {EVENT_KEY_UP, KEY_LEFT_BUTTON}, {EVENT_KEY_DOWN, KEY_MIDDLE_BUTTON},
                             {EVENT_KEY_DOWN, KEY_X_BUTTON1}, {EVENT_KEY_UP, KEY_X_BUTTON2}};
    EXPECT_EQ(queued(app), expected);
    EXPECT_FALSE(send(PAINT)) << "not an input message";
}

// The queue's own rules (merging, focus, capacity) are tested with the queue.
TEST_F(InputMessages, PointerWheelAndRawMotion) {
    system.pointerX = 640, system.pointerY = 360;
    send(MOUSE_MOVE, 0, 0x00050005);  // the position is asked, not taken from the message
    ASSERT_EQ(app.eventCount, 1);
    EXPECT_EQ(app.events[0].type, EVENT_POINTER_MOVE);
    EXPECT_EQ(app.events[0].payload[0], 640);
    EXPECT_EQ(app.events[0].payload[1], 360);

    // The delta is the signed high word, key-state bits below it; notches merge.
    send(WHEEL, uint64_t(240) << 16);
    send(WHEEL, uint64_t(0xFF88) << 16 | 0xFFFF);  // -120
    ASSERT_EQ(app.eventCount, 2);
    EXPECT_FLOAT_EQ(eventFloat(app.events[1], 0), 1.0f);

    send(RAW_INPUT, 0, RAW_MOUSE_RECORD);
    send(RAW_INPUT, 0, 99);  // not a mouse record: nothing
    ASSERT_EQ(app.eventCount, 3);
    EXPECT_EQ(app.events[2].type, EVENT_POINTER_DELTA);
    EXPECT_FLOAT_EQ(eventFloat(app.events[2], 0), 1.0f);
    EXPECT_FLOAT_EQ(eventFloat(app.events[2], 1), -0.5f);
}

TEST_F(InputMessages, TabletPacketsOfTheOpenContext) {
    system.packet = {0x5, 100, -20, 512, 1024};  // buttons 0 and 2
    send(TABLET_PACKET_MESSAGE, 3, OPEN_TABLET);
    send(TABLET_PACKET_MESSAGE, 3, OPEN_TABLET + 1);  // another context: nothing
    ASSERT_EQ(app.eventCount, 1);
    const AppEvent& e = app.events[0];
    EXPECT_EQ(e.type, EVENT_TABLET);
    EXPECT_EQ(e.payload[0], 100);
    EXPECT_EQ(e.payload[1], -20);
    EXPECT_FLOAT_EQ(eventFloat(e, 2), 0.5f);
    EXPECT_EQ(e.payload[3], 1);
    EXPECT_EQ(e.payload[4], 0);
    EXPECT_EQ(e.payload[5], 1);

    system.packet = {0, 0, 0, 300, 0};  // a tablet without a pressure range
    send(TABLET_PACKET_MESSAGE, 4, OPEN_TABLET);
    EXPECT_FLOAT_EQ(eventFloat(app.events[1], 2), 0.0f);
}
