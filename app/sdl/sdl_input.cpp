#include "app/sdl/sdl_input.h"

namespace {

// Windows virtual-key numbers, as on a US layout.
enum : int32_t {
    VK_BACK = 0x08, VK_TAB = 0x09, VK_CLEAR = 0x0C, VK_RETURN = 0x0D, VK_SHIFT = 0x10, VK_CONTROL = 0x11,
    VK_MENU = 0x12, VK_PAUSE = 0x13, VK_CAPITAL = 0x14, VK_ESCAPE = 0x1B, VK_SPACE = 0x20, VK_PRIOR = 0x21,
    VK_NEXT = 0x22, VK_END = 0x23, VK_HOME = 0x24, VK_LEFT = 0x25, VK_UP = 0x26, VK_RIGHT = 0x27, VK_DOWN = 0x28,
    VK_SELECT = 0x29, VK_EXECUTE = 0x2B, VK_SNAPSHOT = 0x2C, VK_INSERT = 0x2D, VK_DELETE = 0x2E, VK_HELP = 0x2F,
    VK_LWIN = 0x5B, VK_RWIN = 0x5C, VK_APPS = 0x5D, VK_SLEEP = 0x5F, VK_NUMPAD0 = 0x60, VK_MULTIPLY = 0x6A,
    VK_ADD = 0x6B, VK_SEPARATOR = 0x6C, VK_SUBTRACT = 0x6D, VK_DECIMAL = 0x6E, VK_DIVIDE = 0x6F, VK_F1 = 0x70,
    VK_F13 = 0x7C, VK_NUMLOCK = 0x90, VK_SCROLL = 0x91, VK_LSHIFT = 0xA0, VK_RSHIFT = 0xA1, VK_LCONTROL = 0xA2,
    VK_RCONTROL = 0xA3, VK_LMENU = 0xA4, VK_RMENU = 0xA5, VK_BROWSER_BACK = 0xA6, VK_BROWSER_FORWARD = 0xA7,
    VK_BROWSER_REFRESH = 0xA8, VK_BROWSER_STOP = 0xA9, VK_BROWSER_SEARCH = 0xAA, VK_BROWSER_FAVORITES = 0xAB,
    VK_BROWSER_HOME = 0xAC, VK_VOLUME_MUTE = 0xAD, VK_VOLUME_DOWN = 0xAE, VK_VOLUME_UP = 0xAF,
    VK_MEDIA_NEXT_TRACK = 0xB0, VK_MEDIA_PREV_TRACK = 0xB1, VK_MEDIA_STOP = 0xB2, VK_MEDIA_PLAY_PAUSE = 0xB3,
    VK_LAUNCH_MAIL = 0xB4, VK_LAUNCH_MEDIA_SELECT = 0xB5, VK_LAUNCH_APP1 = 0xB6, VK_LAUNCH_APP2 = 0xB7,
    VK_OEM_1 = 0xBA, VK_OEM_PLUS = 0xBB, VK_OEM_COMMA = 0xBC, VK_OEM_MINUS = 0xBD, VK_OEM_PERIOD = 0xBE,
    VK_OEM_2 = 0xBF, VK_OEM_3 = 0xC0, VK_OEM_4 = 0xDB, VK_OEM_5 = 0xDC, VK_OEM_6 = 0xDD, VK_OEM_7 = 0xDE,
    VK_OEM_102 = 0xE2, VK_CRSEL = 0xF7, VK_EXSEL = 0xF8, VK_CANCEL = 0x03,
};

// Keys by position (scan code) for everything but letters, which follow the
// layout as Windows letter keys do.
int32_t virtualKeyFromScancode(SDL_Scancode code) {
    if (code >= SDL_SCANCODE_A && code <= SDL_SCANCODE_Z) return 'A' + (code - SDL_SCANCODE_A);
    if (code >= SDL_SCANCODE_1 && code <= SDL_SCANCODE_9) return '1' + (code - SDL_SCANCODE_1);
    if (code >= SDL_SCANCODE_F1 && code <= SDL_SCANCODE_F12) return VK_F1 + (code - SDL_SCANCODE_F1);
    if (code >= SDL_SCANCODE_F13 && code <= SDL_SCANCODE_F24) return VK_F13 + (code - SDL_SCANCODE_F13);
    if (code >= SDL_SCANCODE_KP_1 && code <= SDL_SCANCODE_KP_9) return VK_NUMPAD0 + 1 + (code - SDL_SCANCODE_KP_1);
    switch (code) {
    case SDL_SCANCODE_0: return '0';
    case SDL_SCANCODE_RETURN: case SDL_SCANCODE_KP_ENTER: case SDL_SCANCODE_RETURN2: return VK_RETURN;
    case SDL_SCANCODE_ESCAPE: return VK_ESCAPE;
    case SDL_SCANCODE_BACKSPACE: return VK_BACK;
    case SDL_SCANCODE_TAB: return VK_TAB;
    case SDL_SCANCODE_SPACE: return VK_SPACE;
    case SDL_SCANCODE_MINUS: return VK_OEM_MINUS;
    case SDL_SCANCODE_EQUALS: return VK_OEM_PLUS;
    case SDL_SCANCODE_LEFTBRACKET: return VK_OEM_4;
    case SDL_SCANCODE_RIGHTBRACKET: return VK_OEM_6;
    case SDL_SCANCODE_BACKSLASH: case SDL_SCANCODE_NONUSHASH: return VK_OEM_5;
    case SDL_SCANCODE_SEMICOLON: return VK_OEM_1;
    case SDL_SCANCODE_APOSTROPHE: return VK_OEM_7;
    case SDL_SCANCODE_GRAVE: return VK_OEM_3;
    case SDL_SCANCODE_COMMA: return VK_OEM_COMMA;
    case SDL_SCANCODE_PERIOD: return VK_OEM_PERIOD;
    case SDL_SCANCODE_SLASH: return VK_OEM_2;
    case SDL_SCANCODE_NONUSBACKSLASH: return VK_OEM_102;
    case SDL_SCANCODE_CAPSLOCK: return VK_CAPITAL;
    case SDL_SCANCODE_PRINTSCREEN: case SDL_SCANCODE_SYSREQ: return VK_SNAPSHOT;
    case SDL_SCANCODE_SCROLLLOCK: return VK_SCROLL;
    case SDL_SCANCODE_PAUSE: return VK_PAUSE;
    case SDL_SCANCODE_INSERT: return VK_INSERT;
    case SDL_SCANCODE_HOME: return VK_HOME;
    case SDL_SCANCODE_PAGEUP: return VK_PRIOR;
    case SDL_SCANCODE_DELETE: return VK_DELETE;
    case SDL_SCANCODE_END: return VK_END;
    case SDL_SCANCODE_PAGEDOWN: return VK_NEXT;
    case SDL_SCANCODE_RIGHT: return VK_RIGHT;
    case SDL_SCANCODE_LEFT: return VK_LEFT;
    case SDL_SCANCODE_DOWN: return VK_DOWN;
    case SDL_SCANCODE_UP: return VK_UP;
    case SDL_SCANCODE_NUMLOCKCLEAR: return VK_NUMLOCK;
    case SDL_SCANCODE_KP_DIVIDE: return VK_DIVIDE;
    case SDL_SCANCODE_KP_MULTIPLY: return VK_MULTIPLY;
    case SDL_SCANCODE_KP_MINUS: return VK_SUBTRACT;
    case SDL_SCANCODE_KP_PLUS: return VK_ADD;
    case SDL_SCANCODE_KP_0: return VK_NUMPAD0;
    case SDL_SCANCODE_KP_PERIOD: return VK_DECIMAL;
    case SDL_SCANCODE_KP_COMMA: return VK_SEPARATOR;
    case SDL_SCANCODE_APPLICATION: case SDL_SCANCODE_MENU: return VK_APPS;
    case SDL_SCANCODE_EXECUTE: return VK_EXECUTE;
    case SDL_SCANCODE_HELP: return VK_HELP;
    case SDL_SCANCODE_SELECT: return VK_SELECT;
    case SDL_SCANCODE_CANCEL: return VK_CANCEL;
    case SDL_SCANCODE_CLEAR: return VK_CLEAR;
    case SDL_SCANCODE_CRSEL: return VK_CRSEL;
    case SDL_SCANCODE_EXSEL: return VK_EXSEL;
    case SDL_SCANCODE_LGUI: return VK_LWIN;
    case SDL_SCANCODE_RGUI: return VK_RWIN;
    case SDL_SCANCODE_SLEEP: return VK_SLEEP;
    case SDL_SCANCODE_MUTE: case SDL_SCANCODE_AUDIOMUTE: return VK_VOLUME_MUTE;
    case SDL_SCANCODE_VOLUMEUP: return VK_VOLUME_UP;
    case SDL_SCANCODE_VOLUMEDOWN: return VK_VOLUME_DOWN;
    case SDL_SCANCODE_AUDIONEXT: return VK_MEDIA_NEXT_TRACK;
    case SDL_SCANCODE_AUDIOPREV: return VK_MEDIA_PREV_TRACK;
    case SDL_SCANCODE_AUDIOSTOP: return VK_MEDIA_STOP;
    case SDL_SCANCODE_AUDIOPLAY: return VK_MEDIA_PLAY_PAUSE;
    case SDL_SCANCODE_MAIL: return VK_LAUNCH_MAIL;
    case SDL_SCANCODE_MEDIASELECT: return VK_LAUNCH_MEDIA_SELECT;
    case SDL_SCANCODE_COMPUTER: return VK_LAUNCH_APP1;
    case SDL_SCANCODE_CALCULATOR: return VK_LAUNCH_APP2;
    case SDL_SCANCODE_AC_BACK: return VK_BROWSER_BACK;
    case SDL_SCANCODE_AC_FORWARD: return VK_BROWSER_FORWARD;
    case SDL_SCANCODE_AC_REFRESH: return VK_BROWSER_REFRESH;
    case SDL_SCANCODE_AC_STOP: return VK_BROWSER_STOP;
    case SDL_SCANCODE_AC_SEARCH: return VK_BROWSER_SEARCH;
    case SDL_SCANCODE_AC_BOOKMARKS: return VK_BROWSER_FAVORITES;
    case SDL_SCANCODE_AC_HOME: case SDL_SCANCODE_WWW: return VK_BROWSER_HOME;
    default: return 0;
    }
}

KeyCode keyFromSdlButton(Uint8 button) {
    switch (button) {
    case SDL_BUTTON_LEFT: return KEY_LEFT_BUTTON;
    case SDL_BUTTON_RIGHT: return KEY_RIGHT_BUTTON;
    case SDL_BUTTON_MIDDLE: return KEY_MIDDLE_BUTTON;
    case SDL_BUTTON_X1: return KEY_X_BUTTON1;
    default: return KEY_X_BUTTON2;
    }
}

}  // namespace

int virtualKeysFromSdlKey(const SDL_Keysym& key, int32_t virtualKeys[2]) {
    switch (key.scancode) {
    case SDL_SCANCODE_LSHIFT: virtualKeys[0] = VK_SHIFT, virtualKeys[1] = VK_LSHIFT; return 2;
    case SDL_SCANCODE_RSHIFT: virtualKeys[0] = VK_SHIFT, virtualKeys[1] = VK_RSHIFT; return 2;
    case SDL_SCANCODE_LCTRL: virtualKeys[0] = VK_CONTROL, virtualKeys[1] = VK_LCONTROL; return 2;
    case SDL_SCANCODE_RCTRL: virtualKeys[0] = VK_CONTROL, virtualKeys[1] = VK_RCONTROL; return 2;
    case SDL_SCANCODE_LALT: virtualKeys[0] = VK_MENU, virtualKeys[1] = VK_LMENU; return 2;
    case SDL_SCANCODE_RALT: virtualKeys[0] = VK_MENU, virtualKeys[1] = VK_RMENU; return 2;
    default: break;
    }
    // Letters follow the layout's symbol where it is a letter.
    if (key.sym >= SDLK_a && key.sym <= SDLK_z) {
        virtualKeys[0] = 'A' + (key.sym - SDLK_a);
        return 1;
    }
    virtualKeys[0] = virtualKeyFromScancode(key.scancode);
    return 1;
}

bool queueSdlInputEvent(App* app, const SDL_Event& event) {
    switch (event.type) {
    case SDL_KEYDOWN:
    case SDL_KEYUP: {
        int32_t type = event.type == SDL_KEYDOWN ? EVENT_KEY_DOWN : EVENT_KEY_UP;
        int32_t virtualKeys[2];
        int count = virtualKeysFromSdlKey(event.key.keysym, virtualKeys);
        for (int i = 0; i < count; ++i) {
            // A key that Windows has no virtual key for queues code -1.
            KeyCode code = virtualKeys[i] ? keyFromVirtualKey(virtualKeys[i]) : -1;
            pushKey(app, type, code);
        }
        return true;
    }
    case SDL_TEXTINPUT:
        // One event per typed character: SDL hands over UTF-8, so each code
        // point is decoded and its low 8 bits kept (Latin-1 keeps its codes).
        for (const unsigned char* c = reinterpret_cast<const unsigned char*>(event.text.text); *c;) {
            int32_t code = *c++;
            int extra = code >= 0xF0 ? 3 : code >= 0xE0 ? 2 : code >= 0xC0 ? 1 : 0;
            code &= extra ? 0x3F >> extra : 0xFF;
            for (; extra > 0 && (*c & 0xC0) == 0x80; --extra) code = (code << 6) | (*c++ & 0x3F);
            pushKey(app, EVENT_CHAR, code & 0xFF);
        }
        return true;
    case SDL_MOUSEBUTTONDOWN:
        // Every second press of a quick series is a double-click, as with a
        // window class that asks for them.
        pushKey(app, event.button.clicks >= 2 && event.button.clicks % 2 == 0 ? EVENT_DOUBLE_CLICK : EVENT_KEY_DOWN,
                 keyFromSdlButton(event.button.button));
        return true;
    case SDL_MOUSEBUTTONUP:
        pushKey(app, EVENT_KEY_UP, keyFromSdlButton(event.button.button));
        return true;
    case SDL_MOUSEWHEEL: {
        // Fractions of a notch count, as a raw wheel delta below 120 does;
        // sideways scrolling is another message and queues nothing.
        float notches = event.wheel.preciseY;
        if (event.wheel.direction == SDL_MOUSEWHEEL_FLIPPED) notches = -notches;
        if (notches != 0.0f) pushScroll(app, notches);
        return true;
    }
    case SDL_MOUSEMOTION: {
        // The relative motion stands in for raw input, which comes first.
        pushPointerDelta(app, static_cast<float>(event.motion.xrel) / 400.0f,
                         static_cast<float>(event.motion.yrel) / 400.0f);
        if (app->hasFocus) {
            // The position is read fresh, as the pointer may have moved on.
            int x = 0, y = 0;
            SDL_GetMouseState(&x, &y);
            AppEvent e = {EVENT_POINTER_MOVE, {x, y, 0, 0, 0, 0}};
            pushEvent(app, e);
        }
        return true;
    }
    default:
        return false;
    }
}
