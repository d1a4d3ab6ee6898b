#pragma once
// The page's input events in the DOM's own terms, onto the App's queue: the
// browser backend's translation table. No emscripten header, so that it is
// tested off the browser too. Main thread only.
#include <cstdint>

#include "app/input.h"

enum : int32_t { DOM_KEY_LOCATION_RIGHT = 2 };

// A keydown or keyup: the DOM keyCode is the virtual-key number of the same
// key; `location` tells a right Shift, Control or Alt from a left one.
void queueDomKey(App* app, bool down, int32_t keyCode, int32_t location);
// A mousedown (with the event's click count `detail`) or a mouseup; DOM
// buttons count as MouseButton.
void queueDomMouseButton(App* app, bool down, int32_t button, int32_t detail);
// A mousemove: the position and the motion, both in device pixels; the motion
// stands in for raw mouse counts and comes first, as raw input does.
void queueDomPointerMove(App* app, int32_t x, int32_t y, float dx, float dy);
