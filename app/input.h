#pragma once
// Input onto the App's event queue, the same for every backend: the
// virtual-key numbers each backend translates its own keys and buttons into,
// and the rules applied after that translation. A backend keeps only its
// translation table (its key symbols onto VirtualKey, its buttons onto
// MouseButton, its wheel unit onto notches) and calls the functions below.
// Main thread only; every event is dropped while the App has no focus, and
// when the queue is full (pushEvent).
#include "app/app.h"

// The virtual-key numbers that the keymap turns into KeyCode: Windows'
// numbering, which is also the DOM's keyCode of the same keys. Letters are
// VKEY_A + 0..25 and digits VKEY_0 + 0..9, as 'A' and '0'.
enum VirtualKey : int32_t {
    VKEY_NONE = 0x00,
    VKEY_LEFT_BUTTON = 0x01, VKEY_RIGHT_BUTTON = 0x02, VKEY_CANCEL = 0x03, VKEY_MIDDLE_BUTTON = 0x04,
    VKEY_X_BUTTON1 = 0x05, VKEY_X_BUTTON2 = 0x06,
    VKEY_BACK = 0x08, VKEY_TAB = 0x09, VKEY_CLEAR = 0x0C, VKEY_RETURN = 0x0D,
    VKEY_SHIFT = 0x10, VKEY_CONTROL = 0x11, VKEY_ALT = 0x12, VKEY_PAUSE = 0x13, VKEY_CAPS_LOCK = 0x14,
    VKEY_ESCAPE = 0x1B, VKEY_SPACE = 0x20, VKEY_PAGE_UP = 0x21, VKEY_PAGE_DOWN = 0x22, VKEY_END = 0x23,
    VKEY_HOME = 0x24, VKEY_LEFT = 0x25, VKEY_UP = 0x26, VKEY_RIGHT = 0x27, VKEY_DOWN = 0x28, VKEY_SELECT = 0x29,
    VKEY_EXECUTE = 0x2B, VKEY_PRINT_SCREEN = 0x2C, VKEY_INSERT = 0x2D, VKEY_DELETE = 0x2E, VKEY_HELP = 0x2F,
    VKEY_0 = 0x30, VKEY_A = 0x41,
    VKEY_LEFT_WINDOWS = 0x5B, VKEY_RIGHT_WINDOWS = 0x5C, VKEY_APPLICATIONS = 0x5D, VKEY_SLEEP = 0x5F,
    VKEY_NUMPAD_0 = 0x60, VKEY_MULTIPLY = 0x6A, VKEY_ADD = 0x6B, VKEY_SEPARATOR = 0x6C, VKEY_SUBTRACT = 0x6D,
    VKEY_DECIMAL = 0x6E, VKEY_DIVIDE = 0x6F, VKEY_F1 = 0x70, VKEY_F13 = 0x7C,
    VKEY_NUM_LOCK = 0x90, VKEY_SCROLL_LOCK = 0x91,
    // The sided modifiers follow each other in the order of their generic keys.
    VKEY_LEFT_SHIFT = 0xA0, VKEY_RIGHT_SHIFT = 0xA1, VKEY_LEFT_CONTROL = 0xA2, VKEY_RIGHT_CONTROL = 0xA3,
    VKEY_LEFT_ALT = 0xA4, VKEY_RIGHT_ALT = 0xA5,
    VKEY_BROWSER_BACK = 0xA6, VKEY_BROWSER_FORWARD = 0xA7, VKEY_BROWSER_REFRESH = 0xA8, VKEY_BROWSER_STOP = 0xA9,
    VKEY_BROWSER_SEARCH = 0xAA, VKEY_BROWSER_FAVORITES = 0xAB, VKEY_BROWSER_HOME = 0xAC,
    VKEY_VOLUME_MUTE = 0xAD, VKEY_VOLUME_DOWN = 0xAE, VKEY_VOLUME_UP = 0xAF,
    VKEY_MEDIA_NEXT = 0xB0, VKEY_MEDIA_PREVIOUS = 0xB1, VKEY_MEDIA_STOP = 0xB2, VKEY_MEDIA_PLAY_PAUSE = 0xB3,
    VKEY_LAUNCH_MAIL = 0xB4, VKEY_LAUNCH_MEDIA = 0xB5, VKEY_LAUNCH_APP1 = 0xB6, VKEY_LAUNCH_APP2 = 0xB7,
    // Punctuation keys, named by their place on a US layout.
    VKEY_SEMICOLON = 0xBA, VKEY_EQUALS = 0xBB, VKEY_COMMA = 0xBC, VKEY_MINUS = 0xBD, VKEY_PERIOD = 0xBE,
    VKEY_SLASH = 0xBF, VKEY_GRAVE = 0xC0, VKEY_LEFT_BRACKET = 0xDB, VKEY_BACKSLASH = 0xDC,
    VKEY_RIGHT_BRACKET = 0xDD, VKEY_APOSTROPHE = 0xDE, VKEY_EXTRA_BACKSLASH = 0xE2,
    VKEY_CRSEL = 0xF7, VKEY_EXSEL = 0xF8,
    // What the system reports for a key that has no virtual key; its code is -1.
    VKEY_UNASSIGNED = 0xFF,
};

// The KeyCode of a virtual key: 0 outside 0..255, -1 for a key without a code.
KeyCode keyFromVirtualKey(int32_t virtualKey);

// Queues `event` while the window has focus and the queue has room.
void pushEvent(App* app, const AppEvent& event);
// A key, button or character event (`type`) with `code` as its payload.
void pushKey(App* app, int32_t type, KeyCode code);

enum KeySide : int32_t { KEY_SIDE_LEFT = 0, KEY_SIDE_RIGHT = 1 };
// A key going down (EVENT_KEY_DOWN) or up (EVENT_KEY_UP). The generic Shift,
// Control and Alt give two events: the generic key, then its left or right
// key by `side`. Any other key gives one event and `side` is not read.
void pushVirtualKey(App* app, int32_t type, int32_t virtualKey, KeySide side);

// A typed character: its low 8 bits (Latin-1 keeps its codes).
void pushCharacter(App* app, uint32_t character);

// Mouse buttons as pointer devices number them (the DOM's order; SDL's from 1).
enum MouseButton : int32_t { MOUSE_LEFT = 0, MOUSE_MIDDLE = 1, MOUSE_RIGHT = 2, MOUSE_BACK = 3, MOUSE_FORWARD = 4 };
// `type` is EVENT_KEY_DOWN, EVENT_KEY_UP or EVENT_DOUBLE_CLICK; a button
// beyond MOUSE_FORWARD counts as the forward (second extra) button.
void pushMouseButton(App* app, int32_t type, int32_t button);
// The event of the `clickCount`th press of a quick series where the system
// counts clicks: every second press is a double-click, as with a window class
// that asks for them.
int32_t mousePressType(int32_t clickCount);

// The pointer's position in view pixels (app/app.h, getPointerPosition).
void pushPointerMove(App* app, int32_t x, int32_t y);
// Relative mouse motion in raw device counts, queued as counts / 400 and
// merged into a last EVENT_POINTER_DELTA (that merge happens without focus
// too, as raw input keeps arriving in the background).
void pushRawMotion(App* app, float dx, float dy);
// Wheel motion in notches, positive away from the user; merged into a last EVENT_SCROLL.
void pushScroll(App* app, float notches);
