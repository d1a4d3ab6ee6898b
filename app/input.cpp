// The event queue and the keymap from virtual-key numbers to KeyCode.
#include "app/app.h"

namespace {

struct KeymapEntry {
    KeyCode code;
    int32_t virtualKey;  // its own index; a mismatch means the table is broken
};

struct Keymap {
    KeymapEntry entries[256];
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
    for (int vk = 0; vk < 256; ++vk) map.entries[vk] = {-1, vk};
    KeyCode code = 0;
    for (const KeyRange& range : definedKeys)
        for (int vk = range.first; vk <= range.last; ++vk) map.entries[vk].code = code++;
    return map;
}

constexpr Keymap keymap = buildKeymap();
static_assert(keymap.entries[0xFE].code == KEY_COUNT - 1, "the keymap must cover codes 0..169");
static_assert(keymap.entries[0x1B].code == KEY_ESCAPE && keymap.entries[0x20].code == KEY_SPACE, "");

bool lastEventIs(const App* app, int32_t type) {
    return app->eventCount > 0 && app->events[app->eventCount - 1].type == type;
}

}  // namespace

KeyCode keyFromVirtualKey(int32_t virtualKey) {
    if (virtualKey < 0 || virtualKey > 255) return 0;
    const KeymapEntry& entry = keymap.entries[virtualKey];
    if (entry.virtualKey != virtualKey) {
        logLine("Keymap definition error");
        return 0;
    }
    return entry.code;
}

void pushEvent(App* app, const AppEvent& event) {
    if (app->hasFocus != 1 || app->eventCount >= APP_EVENT_CAPACITY) return;
    app->events[app->eventCount++] = event;
}

// Wheel and raw motion change a last event of their own type in place, so a
// burst between two frames costs one entry and still counts when the queue is full.
void pushScroll(App* app, float notches) {
    if (app->hasFocus != 1) return;
    if (lastEventIs(app, EVENT_SCROLL)) {
        AppEvent& last = app->events[app->eventCount - 1];
        setEventFloat(last, 0, eventFloat(last, 0) + notches);
        return;
    }
    AppEvent e = {EVENT_SCROLL, {}};
    setEventFloat(e, 0, notches);
    pushEvent(app, e);
}

void pushPointerDelta(App* app, float dx, float dy) {
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
