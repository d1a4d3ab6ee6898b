#include "app/frame_pacer.h"

#include <chrono>
#include <thread>

void initFramePacer(FramePacer* pacer, int64_t periodNs) {
    pacer->periodNs = periodNs;
    pacer->deadlineNs = 0;
    pacer->started = false;
}

void waitForNextFrame(FramePacer* pacer, const FramePacerClock& clock) {
    int64_t now = clock.now(clock.context);
    if (!pacer->started) {
        pacer->started = true;
        pacer->deadlineNs = now;
        return;
    }
    // The next deadline follows the previous one, not the wake-up time, so
    // sleep overshoot does not accumulate into drift.
    int64_t target = pacer->deadlineNs + pacer->periodNs;
    if (now >= target) {
        // A frame late by less than a period keeps the grid (the next one is
        // a little shorter), so scheduling jitter costs no time; a longer
        // stall starts a new grid from now.
        pacer->deadlineNs = now - target > pacer->periodNs ? now : target;
        return;
    }
    while (now < target) {
        clock.sleep(target - now, clock.context);
        now = clock.now(clock.context);
    }
    pacer->deadlineNs = target;
}

namespace {
int64_t steadyNow(void*) {
    return std::chrono::duration_cast<std::chrono::nanoseconds>(std::chrono::steady_clock::now().time_since_epoch())
        .count();
}
void threadSleep(int64_t nanoseconds, void*) { std::this_thread::sleep_for(std::chrono::nanoseconds(nanoseconds)); }
}  // namespace

FramePacerClock systemFramePacerClock() { return {steadyNow, threadSleep, nullptr}; }
