#include "app/sdl/sdl_input.h"

namespace {

// Keys by position (scan code) for everything but letters, which follow the
// layout as Windows letter keys do.
int32_t virtualKeyFromScancode(SDL_Scancode code) {
    if (code >= SDL_SCANCODE_A && code <= SDL_SCANCODE_Z) return VKEY_A + (code - SDL_SCANCODE_A);
    if (code >= SDL_SCANCODE_1 && code <= SDL_SCANCODE_9) return VKEY_0 + 1 + (code - SDL_SCANCODE_1);
    if (code >= SDL_SCANCODE_F1 && code <= SDL_SCANCODE_F12) return VKEY_F1 + (code - SDL_SCANCODE_F1);
    if (code >= SDL_SCANCODE_F13 && code <= SDL_SCANCODE_F24) return VKEY_F13 + (code - SDL_SCANCODE_F13);
    if (code >= SDL_SCANCODE_KP_1 && code <= SDL_SCANCODE_KP_9) return VKEY_NUMPAD_0 + 1 + (code - SDL_SCANCODE_KP_1);
    switch (code) {
    case SDL_SCANCODE_0: return VKEY_0;
    case SDL_SCANCODE_RETURN: case SDL_SCANCODE_KP_ENTER: case SDL_SCANCODE_RETURN2: return VKEY_RETURN;
    case SDL_SCANCODE_ESCAPE: return VKEY_ESCAPE;
    case SDL_SCANCODE_LSHIFT: case SDL_SCANCODE_RSHIFT: return VKEY_SHIFT;
    case SDL_SCANCODE_LCTRL: case SDL_SCANCODE_RCTRL: return VKEY_CONTROL;
    case SDL_SCANCODE_LALT: case SDL_SCANCODE_RALT: return VKEY_ALT;
    case SDL_SCANCODE_BACKSPACE: return VKEY_BACK;
    case SDL_SCANCODE_TAB: return VKEY_TAB;
    case SDL_SCANCODE_SPACE: return VKEY_SPACE;
    case SDL_SCANCODE_MINUS: return VKEY_MINUS;
    case SDL_SCANCODE_EQUALS: return VKEY_EQUALS;
    case SDL_SCANCODE_LEFTBRACKET: return VKEY_LEFT_BRACKET;
    case SDL_SCANCODE_RIGHTBRACKET: return VKEY_RIGHT_BRACKET;
    case SDL_SCANCODE_BACKSLASH: case SDL_SCANCODE_NONUSHASH: return VKEY_BACKSLASH;
    case SDL_SCANCODE_SEMICOLON: return VKEY_SEMICOLON;
    case SDL_SCANCODE_APOSTROPHE: return VKEY_APOSTROPHE;
    case SDL_SCANCODE_GRAVE: return VKEY_GRAVE;
    case SDL_SCANCODE_COMMA: return VKEY_COMMA;
    case SDL_SCANCODE_PERIOD: return VKEY_PERIOD;
    case SDL_SCANCODE_SLASH: return VKEY_SLASH;
    case SDL_SCANCODE_NONUSBACKSLASH: return VKEY_EXTRA_BACKSLASH;
    case SDL_SCANCODE_CAPSLOCK: return VKEY_CAPS_LOCK;
    case SDL_SCANCODE_PRINTSCREEN: case SDL_SCANCODE_SYSREQ: return VKEY_PRINT_SCREEN;
    case SDL_SCANCODE_SCROLLLOCK: return VKEY_SCROLL_LOCK;
    case SDL_SCANCODE_PAUSE: return VKEY_PAUSE;
    case SDL_SCANCODE_INSERT: return VKEY_INSERT;
    case SDL_SCANCODE_HOME: return VKEY_HOME;
    case SDL_SCANCODE_PAGEUP: return VKEY_PAGE_UP;
    case SDL_SCANCODE_DELETE: return VKEY_DELETE;
    case SDL_SCANCODE_END: return VKEY_END;
    case SDL_SCANCODE_PAGEDOWN: return VKEY_PAGE_DOWN;
    case SDL_SCANCODE_RIGHT: return VKEY_RIGHT;
    case SDL_SCANCODE_LEFT: return VKEY_LEFT;
    case SDL_SCANCODE_DOWN: return VKEY_DOWN;
    case SDL_SCANCODE_UP: return VKEY_UP;
    case SDL_SCANCODE_NUMLOCKCLEAR: return VKEY_NUM_LOCK;
    case SDL_SCANCODE_KP_DIVIDE: return VKEY_DIVIDE;
    case SDL_SCANCODE_KP_MULTIPLY: return VKEY_MULTIPLY;
    case SDL_SCANCODE_KP_MINUS: return VKEY_SUBTRACT;
    case SDL_SCANCODE_KP_PLUS: return VKEY_ADD;
    case SDL_SCANCODE_KP_0: return VKEY_NUMPAD_0;
    case SDL_SCANCODE_KP_PERIOD: return VKEY_DECIMAL;
    case SDL_SCANCODE_KP_COMMA: return VKEY_SEPARATOR;
    case SDL_SCANCODE_APPLICATION: case SDL_SCANCODE_MENU: return VKEY_APPLICATIONS;
    case SDL_SCANCODE_EXECUTE: return VKEY_EXECUTE;
    case SDL_SCANCODE_HELP: return VKEY_HELP;
    case SDL_SCANCODE_SELECT: return VKEY_SELECT;
    case SDL_SCANCODE_CANCEL: return VKEY_CANCEL;
    case SDL_SCANCODE_CLEAR: return VKEY_CLEAR;
    case SDL_SCANCODE_CRSEL: return VKEY_CRSEL;
    case SDL_SCANCODE_EXSEL: return VKEY_EXSEL;
    case SDL_SCANCODE_LGUI: return VKEY_LEFT_WINDOWS;
    case SDL_SCANCODE_RGUI: return VKEY_RIGHT_WINDOWS;
    case SDL_SCANCODE_SLEEP: return VKEY_SLEEP;
    case SDL_SCANCODE_MUTE: case SDL_SCANCODE_AUDIOMUTE: return VKEY_VOLUME_MUTE;
    case SDL_SCANCODE_VOLUMEUP: return VKEY_VOLUME_UP;
    case SDL_SCANCODE_VOLUMEDOWN: return VKEY_VOLUME_DOWN;
    case SDL_SCANCODE_AUDIONEXT: return VKEY_MEDIA_NEXT;
    case SDL_SCANCODE_AUDIOPREV: return VKEY_MEDIA_PREVIOUS;
    case SDL_SCANCODE_AUDIOSTOP: return VKEY_MEDIA_STOP;
    case SDL_SCANCODE_AUDIOPLAY: return VKEY_MEDIA_PLAY_PAUSE;
    case SDL_SCANCODE_MAIL: return VKEY_LAUNCH_MAIL;
    case SDL_SCANCODE_MEDIASELECT: return VKEY_LAUNCH_MEDIA;
    case SDL_SCANCODE_COMPUTER: return VKEY_LAUNCH_APP1;
    case SDL_SCANCODE_CALCULATOR: return VKEY_LAUNCH_APP2;
    case SDL_SCANCODE_AC_BACK: return VKEY_BROWSER_BACK;
    case SDL_SCANCODE_AC_FORWARD: return VKEY_BROWSER_FORWARD;
    case SDL_SCANCODE_AC_REFRESH: return VKEY_BROWSER_REFRESH;
    case SDL_SCANCODE_AC_STOP: return VKEY_BROWSER_STOP;
    case SDL_SCANCODE_AC_SEARCH: return VKEY_BROWSER_SEARCH;
    case SDL_SCANCODE_AC_BOOKMARKS: return VKEY_BROWSER_FAVORITES;
    case SDL_SCANCODE_AC_HOME: case SDL_SCANCODE_WWW: return VKEY_BROWSER_HOME;
    default: return VKEY_UNASSIGNED;
    }
}

KeySide sideOf(SDL_Scancode code) {
    return code == SDL_SCANCODE_RSHIFT || code == SDL_SCANCODE_RCTRL || code == SDL_SCANCODE_RALT ? KEY_SIDE_RIGHT
                                                                                                  : KEY_SIDE_LEFT;
}

// Letters follow the layout's symbol where it is a letter, as Windows letter
// keys do; every other key its position.
int32_t virtualKeyOf(const SDL_Keysym& key) {
    if (key.sym >= SDLK_a && key.sym <= SDLK_z) return VKEY_A + (key.sym - SDLK_a);
    return virtualKeyFromScancode(key.scancode);
}

}  // namespace

bool queueSdlInputEvent(App* app, const SDL_Event& event) {
    switch (event.type) {
    case SDL_KEYDOWN:
    case SDL_KEYUP: {
        const int32_t type = event.type == SDL_KEYDOWN ? EVENT_KEY_DOWN : EVENT_KEY_UP;
        pushVirtualKey(app, type, virtualKeyOf(event.key.keysym), sideOf(event.key.keysym.scancode));
        return true;
    }
    case SDL_TEXTINPUT:
        // One event per typed character: SDL hands over UTF-8, decoded here
        // into code points.
        for (const unsigned char* c = reinterpret_cast<const unsigned char*>(event.text.text); *c;) {
            uint32_t code = *c++;
            int extra = code >= 0xF0 ? 3 : code >= 0xE0 ? 2 : code >= 0xC0 ? 1 : 0;
            code &= extra ? 0x3Fu >> extra : 0xFFu;
            for (; extra > 0 && (*c & 0xC0) == 0x80; --extra) code = (code << 6) | (*c++ & 0x3Fu);
            pushCharacter(app, code);
        }
        return true;
    case SDL_MOUSEBUTTONDOWN:
        pushMouseButton(app, mousePressType(event.button.clicks), event.button.button - SDL_BUTTON_LEFT);
        return true;
    case SDL_MOUSEBUTTONUP:
        pushMouseButton(app, EVENT_KEY_UP, event.button.button - SDL_BUTTON_LEFT);
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
        pushRawMotion(app, static_cast<float>(event.motion.xrel), static_cast<float>(event.motion.yrel));
        if (app->hasFocus) {
            // The position is read fresh, as the pointer may have moved on.
            int x = 0, y = 0;
            SDL_GetMouseState(&x, &y);
            pushPointerMove(app, x, y);
        }
        return true;
    }
    default:
        return false;
    }
}
