#pragma once
// What the backends share besides the presenter, the pacer and the sound
// stream: the event queue and keymap, the window geometry rule, the built-in
// pointer. Main thread only.
#include "app/app.h"

// Queues `event` while the window has focus and the queue has room.
void pushEvent(App* app, const AppEvent& event);
// The KeyCode of a Windows virtual-key number (the DOM keyCode of the same
// keys is equal); 0 outside 0..255, -1 for an undefined key.
KeyCode keyFromVirtualKey(int32_t virtualKey);
void pushScroll(App* app, float notches);             // merged into a last EVENT_SCROLL
void pushPointerDelta(App* app, float dx, float dy);  // merged into a last EVENT_POINTER_DELTA

// Window mode takes five sixths of the first display, centred.
void computeWindowGeometry(App* app, int32_t displayWidth, int32_t displayHeight);

// The built-in 11 x 16 arrow (hot spot 0, 0), red-green-blue-alpha byte order,
// for where the system arrow cannot be read.
enum { BUILTIN_ARROW_WIDTH = 11, BUILTIN_ARROW_HEIGHT = 16 };
extern const uint32_t builtinArrowPixels[BUILTIN_ARROW_WIDTH * BUILTIN_ARROW_HEIGHT];
