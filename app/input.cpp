// The event queue, the keymap from virtual-key numbers to KeyCode, and the
// input rules every backend shares.
#include "app/input.h"

namespace {

struct Keymap {
    KeyCode codes[256];
};

// The defined virtual keys, as inclusive ranges; codes run consecutively
// over them, so 0x1B (Escape) gets 20 and 0x20 (Space) gets 25.
struct KeyRange {
    int first, last;
};
constexpr KeyRange definedKeys[] = {
    {0x00, 0x00}, {0x01, 0x06}, {0x08, 0x09}, {0x0C, 0x0D}, {0x10, 0x15}, {0x17, 0x19},
    {0x1B, 0x39}, {0x41, 0x5D}, {0x5F, 0x87}, {0x90, 0x91}, {0xA0, 0xB7}, {0xBA, 0xC0},
    {0xDB, 0xDF}, {0xE2, 0xE2}, {0xE5, 0xE5}, {0xF6, 0xFE},
};

constexpr Keymap buildKeymap() {
    Keymap map = {};
    for (int vk = 0; vk < 256; ++vk) map.codes[vk] = -1;
    KeyCode code = 0;
    for (const KeyRange& range : definedKeys)
        for (int vk = range.first; vk <= range.last; ++vk) map.codes[vk] = code++;
    return map;
}

constexpr Keymap keymap = buildKeymap();
static_assert(keymap.codes[0xFE] == KEY_COUNT - 1, "the keymap must cover codes 0..169");
static_assert(keymap.codes[VKEY_ESCAPE] == KEY_ESCAPE && keymap.codes[VKEY_SPACE] == KEY_SPACE, "");
static_assert(keymap.codes[VKEY_LEFT_SHIFT] == KEY_LEFT_SHIFT && keymap.codes[VKEY_RIGHT_ALT] == KEY_RIGHT_ALT, "");

// Raw motion is scaled so that 400 counts (about an inch of a common mouse) make 1.0.
const float RAW_MOTION_COUNTS = 400.0f;

bool lastEventIs(const App* app, int32_t type) {
    return app->eventCount > 0 && app->events[app->eventCount - 1].type == type;
}

}  // namespace

KeyCode keyFromVirtualKey(int32_t virtualKey) {
    if (virtualKey < 0 || virtualKey > 255) return 0;
    return keymap.codes[virtualKey];
}

void pushEvent(App* app, const AppEvent& event) {
    if (!app->hasFocus || app->eventCount >= APP_EVENT_CAPACITY) return;
    app->events[app->eventCount++] = event;
}

void pushKey(App* app, int32_t type, KeyCode code) {
    AppEvent e = {type, {code, 0, 0, 0, 0, 0}};
    pushEvent(app, e);
}

void pushVirtualKey(App* app, int32_t type, int32_t virtualKey, KeySide side) {
    pushKey(app, type, keyFromVirtualKey(virtualKey));
    if (virtualKey >= VKEY_SHIFT && virtualKey <= VKEY_ALT)
        pushKey(app, type, keyFromVirtualKey(VKEY_LEFT_SHIFT + 2 * (virtualKey - VKEY_SHIFT) + side));
}

void pushCharacter(App* app, uint32_t character) { pushKey(app, EVENT_CHAR, int32_t(character & 0xFF)); }

void pushMouseButton(App* app, int32_t type, int32_t button) {
    static const int32_t virtualKeys[] = {VKEY_LEFT_BUTTON, VKEY_MIDDLE_BUTTON, VKEY_RIGHT_BUTTON, VKEY_X_BUTTON1};
    const bool listed = button >= 0 && button < int32_t(sizeof virtualKeys / sizeof virtualKeys[0]);
    pushKey(app, type, keyFromVirtualKey(listed ? virtualKeys[button] : VKEY_X_BUTTON2));
}

int32_t mousePressType(int32_t clickCount) {
    return clickCount >= 2 && clickCount % 2 == 0 ? EVENT_DOUBLE_CLICK : EVENT_KEY_DOWN;
}

void pushPointerMove(App* app, int32_t x, int32_t y) {
    AppEvent e = {EVENT_POINTER_MOVE, {x, y, 0, 0, 0, 0}};
    pushEvent(app, e);
}

// Wheel and raw motion change a last event of their own type in place, so a
// burst between two frames costs one entry and still counts when the queue is full.
void pushScroll(App* app, float notches) {
    if (!app->hasFocus) return;
    if (lastEventIs(app, EVENT_SCROLL)) {
        AppEvent& last = app->events[app->eventCount - 1];
        setEventFloat(last, 0, eventFloat(last, 0) + notches);
        return;
    }
    AppEvent e = {EVENT_SCROLL, {}};
    setEventFloat(e, 0, notches);
    pushEvent(app, e);
}

void pushRawMotion(App* app, float dx, float dy) {
    dx /= RAW_MOTION_COUNTS;
    dy /= RAW_MOTION_COUNTS;
    if (lastEventIs(app, EVENT_POINTER_DELTA)) {
        AppEvent& last = app->events[app->eventCount - 1];
        setEventFloat(last, 0, eventFloat(last, 0) + dx);
        setEventFloat(last, 1, eventFloat(last, 1) + dy);
        return;
    }
    AppEvent e = {EVENT_POINTER_DELTA, {}};
    setEventFloat(e, 0, dx);
    setEventFloat(e, 1, dy);
    pushEvent(app, e);
}
