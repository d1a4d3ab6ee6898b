#pragma once
// Keeps the frame loop at 60 frames per second when the buffer swap does not
// wait for the vertical blank (no swap interval, a virtual display) or waits
// for a faster one (120 or 144 Hz). Every speed in the scenes counts frames.
#include <cstdint>

struct FramePacerClock {
    int64_t (*now)(void* context);                    // nanoseconds, monotonic
    void (*sleep)(int64_t nanoseconds, void* context);  // may wake early or late
    void* context;
};

struct FramePacer {
    int64_t periodNs;    // one frame
    int64_t deadlineNs;  // when the previous frame was due
    bool started;
};

enum : int64_t { FRAME_PERIOD_60HZ_NS = 1000000000 / 60 };

void initFramePacer(FramePacer* pacer, int64_t periodNs = FRAME_PERIOD_60HZ_NS);
// Called after each swap: waits until one period after the previous deadline.
// A frame more than a period late takes "now" as its deadline instead of
// racing to catch up, so a stall never causes a burst of fast frames; one
// late by less does not wait and keeps the grid, so jitter costs no time.
void waitForNextFrame(FramePacer* pacer, const FramePacerClock& clock);
// The real monotonic clock and a thread sleep.
FramePacerClock systemFramePacerClock();
