#pragma once
// Keeps the frame steps at 60 a second: every speed in the scenes counts
// frames. One rule for every backend, on the backend's clock: a thread's
// sleep where the buffer swap does not wait for the vertical blank (no swap
// interval, a virtual display) or waits for a faster one (120 or 144 Hz), the
// browser's animation frames, a fake clock in tests. The App owns one pacer
// (runAppWith sets it up with the backend's clock), and paceFrame waits on it.
#include <cstdint>

struct App;

struct FramePacerClock {
    int64_t (*now)(void* context);  // nanoseconds, monotonic
    // Waits about `nanoseconds` (never less than 0), and may wake early or
    // late. A thread's wait of 0 returns at once; the browser's wait is always
    // the next animation frame, whatever the time asked.
    void (*sleep)(int64_t nanoseconds, void* context);
    void* context;
};

struct FramePacer {
    FramePacerClock clock;
    int64_t periodNs;    // one frame
    int64_t deadlineNs;  // when the previous frame was due
    bool started;
};

enum : int64_t {
    FRAME_PERIOD_60HZ_NS = 1000000000 / 60,
    // How early a frame may come and still count as on time: an animation
    // frame that jitters to just before the deadline must not cost a whole
    // extra frame, nor a thread's sleep that wakes a little early another sleep.
    FRAME_EARLY_NS = 2000000,
};

void initFramePacer(FramePacer* pacer, const FramePacerClock& clock, int64_t periodNs = FRAME_PERIOD_60HZ_NS);
// Called once a frame step, after the swap. Always waits once, so that the
// browser gets its thread back every step; then waits again while the frame
// is due in more than FRAME_EARLY_NS. The next deadline follows the previous
// one, not the wake-up time, so early and late wake-ups do not drift: a frame
// early by less than FRAME_EARLY_NS or late by up to a period keeps the grid
// (the next one is a little longer or shorter), and only a stall of more than
// a period starts a new grid from now, so it never causes a burst of fast frames.
void waitForNextFrame(FramePacer* pacer);

// The real monotonic clock and a thread sleep.
FramePacerClock systemFramePacerClock();

// The App's pacer, which paceFrame (app/app.h) waits on: set up by
// runAppWith, or by a host that builds its App itself (the headless backend).
// A clock without `now` sets up none: then frame steps do not wait.
void startFramePacer(App* app, const FramePacerClock& clock);
void stopFramePacer(App* app);
