// The page's input events onto the App's queue, as the window procedure
// would queue the matching Windows messages. A DOM keyCode is the Windows
// virtual-key number of the same key.
#include <emscripten.h>

#include "app/shell.h"
#include "app/web/web_backend.h"

namespace {

enum : int32_t { VK_SHIFT = 0x10, VK_CONTROL = 0x11, VK_MENU = 0x12, VK_LSHIFT = 0xA0 };
enum : int32_t { DOM_KEY_LOCATION_RIGHT = 2 };

// DOM mouse buttons 0 to 4: left, middle, right, back, forward.
KeyCode keyFromDomButton(int32_t button) {
    switch (button) {
    case 0: return KEY_LEFT_BUTTON;
    case 1: return KEY_MIDDLE_BUTTON;
    case 2: return KEY_RIGHT_BUTTON;
    case 3: return KEY_X_BUTTON1;
    default: return KEY_X_BUTTON2;
    }
}

}  // namespace

extern "C" {

// Shift, Control and Alt come as the generic key, then the left or right one
// (the left and right virtual keys of each pair follow each other from 0xA0).
EMSCRIPTEN_KEEPALIVE void webKey(int32_t down, int32_t keyCode, int32_t location) {
    App* app = webApp();
    if (!app) return;
    const int32_t type = down ? EVENT_KEY_DOWN : EVENT_KEY_UP;
    pushKey(app, type, keyFromVirtualKey(keyCode));
    if (keyCode >= VK_SHIFT && keyCode <= VK_MENU) {
        const int32_t side = location == DOM_KEY_LOCATION_RIGHT ? 1 : 0;
        pushKey(app, type, keyFromVirtualKey(VK_LSHIFT + 2 * (keyCode - VK_SHIFT) + side));
    }
}

// The character's low 8 bits, as a window's character message carries them.
EMSCRIPTEN_KEEPALIVE void webCharacter(int32_t codePoint) {
    if (App* app = webApp()) pushKey(app, EVENT_CHAR, codePoint & 0xFF);
}

// `type` is EVENT_KEY_DOWN, EVENT_KEY_UP or EVENT_DOUBLE_CLICK.
EMSCRIPTEN_KEEPALIVE void webMouseButton(int32_t type, int32_t button) {
    if (App* app = webApp()) pushKey(app, type, keyFromDomButton(button));
}

// Position in canvas pixels; the motion stands in for raw mouse input and
// comes first, as raw input does.
EMSCRIPTEN_KEEPALIVE void webPointerMove(int32_t x, int32_t y, float dx, float dy) {
    App* app = webApp();
    if (!app) return;
    app->backend->pointerX = x;
    app->backend->pointerY = y;
    pushPointerDelta(app, dx / 400.0f, dy / 400.0f);
    AppEvent e = {EVENT_POINTER_MOVE, {x, y, 0, 0, 0, 0}};
    pushEvent(app, e);
}

EMSCRIPTEN_KEEPALIVE void webScroll(float notches) {
    if (App* app = webApp()) pushScroll(app, notches);
}

EMSCRIPTEN_KEEPALIVE void webFocus(int32_t focused) {
    if (App* app = webApp()) app->hasFocus = focused != 0;
}

// A hidden page (another tab, a minimized browser) presents nothing.
EMSCRIPTEN_KEEPALIVE void webVisibility(int32_t hidden) {
    if (App* app = webApp()) app->minimized = hidden != 0;
}

}  // extern "C"
