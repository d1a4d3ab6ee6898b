#pragma once
// The headless backend: no window, no device, no thread. It implements the
// shell's backend services for tests and offline tools, runs the real
// presenter against recording GL fakes, and records what the demo shows.
// One headless App exists at a time (the GL fakes record into the newest one).
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "app/frame_pacer.h"
#include "app/sound_stream.h"

struct HeadlessFrame {
    int64_t step;        // the frame step (pumpMessages call, from 1) that presented it
    int32_t level;       // grey level of the "modulate" uniform, 0..255
    int32_t width, height;
    uint64_t pixelHash;  // headlessHashPixels of the uploaded image
    std::vector<uint32_t> pixels;  // a copy of the upload, only while pixels are kept
};

struct HeadlessPointer {
    int32_t setCount;  // setPointer calls so far
    int32_t width, height, hotX, hotY;
    std::vector<uint32_t> pixels;  // empty: no image, the pointer is hidden
};

struct HeadlessRecord {
    std::string windowTitle;
    HeadlessPointer pointer;
    std::vector<int32_t> screenModes;  // each mode that setScreenMode actually switched to
    int32_t showCount;
    int64_t steps;  // pumpMessages calls
    int64_t swaps;
    std::vector<HeadlessFrame> frames;
};

// An App with one 1920 x 1080 display, fullscreen, focused, presenter set up,
// the built-in pointer, and a sound stream that the caller plays with
// pullSound (app/sound_stream.h). Frame steps do not wait unless a clock is
// given. Null when the presenter cannot be set up.
App* createHeadlessApp();
void destroyHeadlessApp(App* app);

// Runs `action` inside the pumpMessages call of frame step `step` (from 1),
// where a window's event handling would run.
void headlessAtStep(App* app, int64_t step, std::function<void(App*)> action);
// Queues `event` through pushEvent at that step, so the focus and capacity rules apply.
void headlessScheduleEvent(App* app, int64_t step, const AppEvent& event);

void headlessKeepPixels(App* app, bool keep);
void headlessSetPointerPosition(App* app, int32_t x, int32_t y);
const HeadlessRecord& headlessRecord(const App* app);
uint64_t headlessHashPixels(const uint32_t* pixels, size_t count);
// Frame steps keep a 60 Hz pace on `clock` from now on (a fake one in tests).
void headlessPaceWith(App* app, const FramePacerClock& clock);
