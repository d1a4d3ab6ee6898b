#include "app/frame_pacer.h"

#include <chrono>
#include <thread>

#include "app/app.h"

void initFramePacer(FramePacer* pacer, const FramePacerClock& clock, int64_t periodNs) {
    pacer->clock = clock;
    pacer->periodNs = periodNs;
    pacer->deadlineNs = 0;
    pacer->started = false;
}

void waitForNextFrame(FramePacer* pacer) {
    const FramePacerClock& clock = pacer->clock;
    if (!pacer->started) {
        clock.sleep(0, clock.context);
        pacer->started = true;
        pacer->deadlineNs = clock.now(clock.context);
        return;
    }
    const int64_t target = pacer->deadlineNs + pacer->periodNs;
    int64_t now = clock.now(clock.context);
    do {
        clock.sleep(now < target ? target - now : 0, clock.context);
        now = clock.now(clock.context);
    } while (now < target - FRAME_EARLY_NS);
    pacer->deadlineNs = now - target > pacer->periodNs ? now : target;
}

void paceFrame(App* app) {
    if (app->pacer) waitForNextFrame(app->pacer);
}

void startFramePacer(App* app, const FramePacerClock& clock) {
    stopFramePacer(app);
    if (!clock.now) return;
    app->pacer = new FramePacer;
    initFramePacer(app->pacer, clock);
}

void stopFramePacer(App* app) {
    delete app->pacer;
    app->pacer = nullptr;
}

namespace {
int64_t steadyNow(void*) {
    return std::chrono::duration_cast<std::chrono::nanoseconds>(std::chrono::steady_clock::now().time_since_epoch())
        .count();
}
void threadSleep(int64_t nanoseconds, void*) {
    if (nanoseconds > 0) std::this_thread::sleep_for(std::chrono::nanoseconds(nanoseconds));
}
}  // namespace

FramePacerClock systemFramePacerClock() { return {steadyNow, threadSleep, nullptr}; }
