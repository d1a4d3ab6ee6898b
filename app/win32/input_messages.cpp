// The message numbers below are the system's; they are spelled out here so
// that this file needs no windows.h.
#include "app/win32/input_messages.h"

#include "app/input.h"

namespace {

enum : uint32_t {
    MESSAGE_INPUT = 0x00FF,
    MESSAGE_KEY_DOWN = 0x0100,
    MESSAGE_KEY_UP = 0x0101,
    MESSAGE_CHAR = 0x0102,
    MESSAGE_SYSTEM_KEY_DOWN = 0x0104,
    MESSAGE_SYSTEM_KEY_UP = 0x0105,
    MESSAGE_MOUSE_MOVE = 0x0200,
    MESSAGE_LEFT_DOWN = 0x0201,
    MESSAGE_LEFT_UP = 0x0202,
    MESSAGE_LEFT_DOUBLE = 0x0203,
    MESSAGE_RIGHT_DOWN = 0x0204,
    MESSAGE_RIGHT_UP = 0x0205,
    MESSAGE_RIGHT_DOUBLE = 0x0206,
    MESSAGE_MIDDLE_DOWN = 0x0207,
    MESSAGE_MIDDLE_UP = 0x0208,
    MESSAGE_MIDDLE_DOUBLE = 0x0209,
    MESSAGE_WHEEL = 0x020A,
    MESSAGE_X_DOWN = 0x020B,
    MESSAGE_X_UP = 0x020C,
    MESSAGE_X_DOUBLE = 0x020D,
};

enum : uint64_t { X_BUTTON_1 = 1 };
const int64_t EXTENDED_KEY_BIT = int64_t(1) << 24;

// The side of Shift comes from its scan code, that of Control and Alt from
// the extended-key flag.
KeySide sideOfKeyMessage(int32_t virtualKey, int64_t lParam, const InputMessageQueries& queries) {
    if (virtualKey == VKEY_SHIFT) {
        const int32_t scanCode = int32_t((lParam >> 16) & 0xFF);
        return queries.virtualKeyFromScanCode(scanCode, queries.context) == VKEY_RIGHT_SHIFT ? KEY_SIDE_RIGHT
                                                                                              : KEY_SIDE_LEFT;
    }
    return (lParam & EXTENDED_KEY_BIT) != 0 ? KEY_SIDE_RIGHT : KEY_SIDE_LEFT;
}

// The button a button message is about; -1 for other messages.
int32_t buttonOf(uint32_t message, uint64_t wParam) {
    switch (message) {
    case MESSAGE_LEFT_DOWN: case MESSAGE_LEFT_UP: case MESSAGE_LEFT_DOUBLE: return MOUSE_LEFT;
    case MESSAGE_RIGHT_DOWN: case MESSAGE_RIGHT_UP: case MESSAGE_RIGHT_DOUBLE: return MOUSE_RIGHT;
    case MESSAGE_MIDDLE_DOWN: case MESSAGE_MIDDLE_UP: case MESSAGE_MIDDLE_DOUBLE: return MOUSE_MIDDLE;
    case MESSAGE_X_DOWN: case MESSAGE_X_UP: case MESSAGE_X_DOUBLE:
        return ((wParam >> 16) & 0xFFFF) == X_BUTTON_1 ? MOUSE_BACK : MOUSE_FORWARD;
    default: return -1;
    }
}

int32_t buttonEventType(uint32_t message) {
    switch (message) {
    case MESSAGE_LEFT_UP: case MESSAGE_RIGHT_UP: case MESSAGE_MIDDLE_UP: case MESSAGE_X_UP: return EVENT_KEY_UP;
    case MESSAGE_LEFT_DOUBLE: case MESSAGE_RIGHT_DOUBLE: case MESSAGE_MIDDLE_DOUBLE: case MESSAGE_X_DOUBLE:
        return EVENT_DOUBLE_CLICK;
    default: return EVENT_KEY_DOWN;
    }
}

void queueTabletPacket(App* app, uint64_t wParam, int64_t lParam, const InputMessageQueries& queries) {
    TabletPacket packet = {};
    if (!queries.tabletPacket(wParam, lParam, &packet, queries.context)) return;
    // A tablet that reports no pressure range has no pressure to scale.
    const float pressure = packet.maxPressure > 0 ? float(packet.pressure) / float(packet.maxPressure) : 0.0f;
    AppEvent e = {EVENT_TABLET, {packet.x, packet.y, 0, int32_t(packet.buttons & 1), int32_t((packet.buttons >> 1) & 1),
                                 int32_t((packet.buttons >> 2) & 1)}};
    setEventFloat(e, 2, pressure);
    pushEvent(app, e);
}

}  // namespace

bool queueInputMessage(App* app, uint32_t message, uint64_t wParam, int64_t lParam, const InputMessageQueries& queries) {
    switch (message) {
    case MESSAGE_KEY_DOWN:
    case MESSAGE_SYSTEM_KEY_DOWN:
    case MESSAGE_KEY_UP:
    case MESSAGE_SYSTEM_KEY_UP: {
        const int32_t virtualKey = int32_t(wParam & 0xFF);
        const bool down = message == MESSAGE_KEY_DOWN || message == MESSAGE_SYSTEM_KEY_DOWN;
        const KeySide side = sideOfKeyMessage(virtualKey, lParam, queries);
        pushVirtualKey(app, down ? EVENT_KEY_DOWN : EVENT_KEY_UP, virtualKey, side);
        return true;
    }
    case MESSAGE_CHAR:
        pushCharacter(app, uint32_t(wParam));
        return true;
    case MESSAGE_MOUSE_MOVE:
        // The position is read fresh: the pointer may have moved on since
        // the message was posted.
        if (app->hasFocus) {
            int32_t x = 0, y = 0;
            queries.pointerPosition(&x, &y, queries.context);
            pushPointerMove(app, x, y);
        }
        return true;
    case MESSAGE_WHEEL:
        // The delta is the signed high word of wParam, 120 to a notch.
        pushScroll(app, float(int16_t(uint16_t(wParam >> 16))) / 120.0f);
        return true;
    case MESSAGE_INPUT: {
        int32_t dx = 0, dy = 0;
        if (queries.rawMouseMotion(lParam, &dx, &dy, queries.context))
            pushRawMotion(app, float(dx), float(dy));
        return true;
    }
    case TABLET_PACKET_MESSAGE:
        queueTabletPacket(app, wParam, lParam, queries);
        return true;
    default: {
        const int32_t button = buttonOf(message, wParam);
        if (button < 0) return false;
        pushMouseButton(app, buttonEventType(message), button);
        return true;
    }
    }
}
