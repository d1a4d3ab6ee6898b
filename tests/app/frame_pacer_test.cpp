#include <gtest/gtest.h>

#include "app/frame_pacer.h"

namespace {

// Time only moves when the pacer sleeps (plus a fixed overshoot) or when the
// test spends "work" between frames.
struct FakeTime {
    int64_t now = 1000000;
    int64_t overshoot = 0;
    int sleeps = 0;
};
int64_t fakeNow(void* c) { return static_cast<FakeTime*>(c)->now; }
void fakeSleep(int64_t ns, void* c) {
    FakeTime* t = static_cast<FakeTime*>(c);
    t->now += ns + t->overshoot;
    ++t->sleeps;
}

const int64_t P = FRAME_PERIOD_60HZ_NS;

}  // namespace

TEST(FramePacer, HoldsSixtyHertzWithoutDrift) {
    FakeTime t;
    t.overshoot = 300000;  // every sleep wakes 0.3 ms late
    FramePacerClock clock = {fakeNow, fakeSleep, &t};
    FramePacer pacer;
    initFramePacer(&pacer);
    waitForNextFrame(&pacer, clock);
    EXPECT_EQ(t.sleeps, 0) << "the first frame does not wait";
    const int64_t start = t.now;
    for (int frame = 1; frame <= 600; ++frame) {
        t.now += 2000000;  // 2 ms of work
        waitForNextFrame(&pacer, clock);
        EXPECT_EQ(pacer.deadlineNs, start + frame * P);
    }
    // 600 frames take 10 s give or take one overshoot, not 600 overshoots.
    EXPECT_NEAR(static_cast<double>(t.now - start), 600.0 * P, 300000.0);
}

TEST(FramePacer, StallResetsTheDeadlineJitterDoesNot) {
    FakeTime t;
    FramePacerClock clock = {fakeNow, fakeSleep, &t};
    FramePacer pacer;
    initFramePacer(&pacer);
    waitForNextFrame(&pacer, clock);
    t.now += 3 * P;  // a long stall
    int before = t.sleeps;
    waitForNextFrame(&pacer, clock);
    EXPECT_EQ(t.sleeps, before) << "a late frame does not sleep";
    EXPECT_EQ(pacer.deadlineNs, t.now);
    // The next frames are paced from the late one, without a burst to catch up.
    const int64_t late = t.now;
    t.now += 1000000;
    waitForNextFrame(&pacer, clock);
    EXPECT_EQ(t.now, late + P);

    // Late by less than a period: no wait, and the grid is kept.
    const int64_t grid = pacer.deadlineNs;
    t.now += P + P / 4;
    before = t.sleeps;
    waitForNextFrame(&pacer, clock);
    EXPECT_EQ(t.sleeps, before);
    EXPECT_EQ(pacer.deadlineNs, grid + P);
    waitForNextFrame(&pacer, clock);
    EXPECT_EQ(t.now, grid + 2 * P) << "the following frame is shorter";
}

// A sleep may wake early (a signal, a coarse timer): the pacer sleeps again
// until the deadline, never returning before it.
TEST(FramePacer, SleepsAgainWhenASleepWakesEarly) {
    struct EarlyTime {
        int64_t now = 5000000;
        int sleeps = 0;
    } t;
    FramePacerClock clock = {[](void* c) { return static_cast<EarlyTime*>(c)->now; },
                             [](int64_t ns, void* c) {
                                 EarlyTime* e = static_cast<EarlyTime*>(c);
                                 e->now += ns / 3 + 1;  // wakes after a third of the time asked for
                                 ++e->sleeps;
                             },
                             &t};
    FramePacer pacer;
    initFramePacer(&pacer);
    waitForNextFrame(&pacer, clock);
    const int64_t start = t.now;
    for (int frame = 1; frame <= 10; ++frame) {
        t.now += 1000000;
        waitForNextFrame(&pacer, clock);
        EXPECT_GE(t.now, start + frame * P) << "returned before the deadline of frame " << frame;
        EXPECT_LT(t.now, start + frame * P + P / 100) << "frame " << frame;
        EXPECT_EQ(pacer.deadlineNs, start + frame * P);
    }
    EXPECT_GT(t.sleeps, 10 * 3);
}
