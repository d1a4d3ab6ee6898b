#pragma once
// What the backends share besides the presenter and the sound stream: the
// frame of runApp with its pacer, the input rules (app/input.h), the window
// geometry rule, the built-in pointer, fatalError's common part. Main thread only.
#include "app/app.h"
#include "app/frame_pacer.h"
#include "app/input.h"
#include "app/log_lines.h"

// Window mode takes five sixths of the first display, centred.
void computeWindowGeometry(App* app, int32_t displayWidth, int32_t displayHeight);

// The built-in 11 x 16 arrow (hot spot 0, 0), red-green-blue-alpha byte order,
// for where the system arrow cannot be read.
enum { BUILTIN_ARROW_WIDTH = 11, BUILTIN_ARROW_HEIGHT = 16 };
extern const uint32_t builtinArrowPixels[BUILTIN_ARROW_WIDTH * BUILTIN_ARROW_HEIGHT];

// The frame of every backend's runApp: a new App, the start line, `startUp`,
// then, when it succeeded, the App's frame pacer on `clock` and appProc;
// `tearDown` (which releases only what was acquired), the pacer's end, the end
// line. Returns appProc's result, or 255 when start-up failed. Inline, so that
// the call to appProc lands in the backend, which every program links
// together with the demo.
inline int runAppWith(bool (*startUp)(App* app), void (*tearDown)(App* app), const FramePacerClock& clock) {
    App* app = new App;
    logTimeLine(LOG_STARTED);
    int result = 255;
    if (startUp(app)) {
        startFramePacer(app, clock);
        result = appProc(app, nullptr);
    }
    tearDown(app);
    stopFramePacer(app);
    logTimeLine(LOG_TERMINATED);
    delete app;
    return result;
}
// fatalError's common part: "FATAL ERROR: <text>" on standard output, then
// `show` (a message box, the page), all output flushed, exit code 255.
[[noreturn]] void endWithFatalError(const char* text, void (*show)(const char* text));
