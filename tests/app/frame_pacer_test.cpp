#include <gtest/gtest.h>

#include <cstdint>

#include "app/frame_pacer.h"

namespace {

// A thread's clock: time moves only when the pacer sleeps (by what it asked,
// plus a fixed overshoot, which is negative for a sleep that wakes early, but
// never by less than half of what it asked) or when the test spends "work"
// between frames. A wait of 0 returns at once.
struct ThreadTime {
    int64_t now = 1000000;
    int64_t overshoot = 0;
    int sleeps = 0;
};
int64_t threadNow(void* c) { return static_cast<ThreadTime*>(c)->now; }
void threadSleep(int64_t ns, void* c) {
    ThreadTime* t = static_cast<ThreadTime*>(c);
    EXPECT_GE(ns, 0);
    if (ns > 0) t->now += ns + t->overshoot > (ns + 1) / 2 ? ns + t->overshoot : (ns + 1) / 2;
    ++t->sleeps;
}

const int64_t P = FRAME_PERIOD_60HZ_NS;
const int64_t MS = 1000000;

}  // namespace

TEST(FramePacer, HoldsSixtyHertzWithoutDrift) {
    ThreadTime t;
    t.overshoot = 300000;  // every sleep wakes 0.3 ms late
    FramePacer pacer;
    initFramePacer(&pacer, {threadNow, threadSleep, &t});
    waitForNextFrame(&pacer);
    EXPECT_EQ(t.now, 1000000) << "the first frame does not wait";
    const int64_t start = t.now;
    for (int frame = 1; frame <= 600; ++frame) {
        t.now += 2 * MS;  // 2 ms of work
        waitForNextFrame(&pacer);
        EXPECT_EQ(pacer.deadlineNs, start + frame * P);
    }
    // 600 frames take 10 s give or take one overshoot, not 600 overshoots.
    EXPECT_NEAR(static_cast<double>(t.now - start), 600.0 * P, 300000.0);
}

TEST(FramePacer, StallResetsTheDeadlineJitterDoesNot) {
    ThreadTime t;
    FramePacer pacer;
    initFramePacer(&pacer, {threadNow, threadSleep, &t});
    waitForNextFrame(&pacer);
    t.now += 3 * P;  // a long stall
    int64_t before = t.now;
    waitForNextFrame(&pacer);
    EXPECT_EQ(t.now, before) << "a late frame does not wait";
    EXPECT_EQ(pacer.deadlineNs, t.now);
    // The next frames are paced from the late one, without a burst to catch up.
    const int64_t late = t.now;
    t.now += 1 * MS;
    waitForNextFrame(&pacer);
    EXPECT_EQ(t.now, late + P);

    // Late by less than a period: no wait, and the grid is kept.
    const int64_t grid = pacer.deadlineNs;
    t.now += P + P / 4;
    before = t.now;
    waitForNextFrame(&pacer);
    EXPECT_EQ(t.now, before);
    EXPECT_EQ(pacer.deadlineNs, grid + P);
    waitForNextFrame(&pacer);
    EXPECT_EQ(t.now, grid + 2 * P) << "the following frame is shorter";
}

// A sleep that wakes up to FRAME_EARLY_NS early counts as on time, and the
// grid stays where it was, so early wake-ups never add up to a faster pace.
TEST(FramePacer, EarlyWakeUpsWithinTheToleranceKeepTheGrid) {
    for (int64_t early : {int64_t(1500000), int64_t(3 * MS)}) {
        ThreadTime t;
        t.overshoot = -early;
        FramePacer pacer;
        initFramePacer(&pacer, {threadNow, threadSleep, &t});
        waitForNextFrame(&pacer);
        const int64_t start = t.now;
        for (int frame = 1; frame <= 600; ++frame) {
            t.sleeps = 0;
            waitForNextFrame(&pacer);
            ASSERT_EQ(pacer.deadlineNs, start + frame * P);
            ASSERT_GE(t.now, pacer.deadlineNs - FRAME_EARLY_NS);
            // Within the tolerance one sleep does; beyond it the pacer sleeps again.
            ASSERT_EQ(t.sleeps, early < FRAME_EARLY_NS ? 1 : 2) << early;
        }
    }
}

namespace {

// The browser's clock: every wait ends at the next animation frame after
// now, whatever it asked; the frames come every `frame` ns, each displaced by
// up to `jitter` ns either way (a fixed pseudo-random sequence).
struct BrowserTime {
    int64_t now = 0;
    int64_t frame = P;
    int64_t jitter = 0;
    int64_t index = 0;  // the last animation frame handed out
    uint32_t seed = 12345;
    int waits = 0;
    int64_t frameTime(int64_t i) {
        seed = seed * 1103515245u + 12345u;
        const int64_t displacement = jitter ? int64_t(seed >> 8) % (2 * jitter + 1) - jitter : 0;
        return i * frame + displacement;
    }
};
int64_t browserNow(void* c) { return static_cast<BrowserTime*>(c)->now; }
void browserWait(int64_t, void* c) {
    BrowserTime* t = static_cast<BrowserTime*>(c);
    int64_t next;
    do next = t->frameTime(++t->index);
    while (next <= t->now);
    t->now = next;
    ++t->waits;
}

// Steps over `seconds` of the browser's time, each with `work` ns of drawing
// and one `stall` of 5 periods at step 100; every step takes at least one
// animation frame, so the browser can show it.
int stepsOver(BrowserTime& t, int seconds, int64_t work, bool stall) {
    FramePacer pacer;
    initFramePacer(&pacer, {browserNow, browserWait, &t});
    int steps = 0;
    while (t.now < seconds * 1000 * MS) {
        t.now += work + (stall && steps == 100 ? 5 * P : 0);
        const int before = t.waits;
        const int64_t index = t.index;
        waitForNextFrame(&pacer);
        EXPECT_GE(t.waits, before + 1);
        EXPECT_GT(t.index, index) << "two steps in one animation frame";
        ++steps;
    }
    return steps;
}

}  // namespace

// On a 60 Hz display whose animation frames jitter around the grid, frames
// a little early count as on time: every step takes exactly one frame instead
// of sometimes two (which would drop the pace towards 30 Hz).
TEST(FramePacer, BrowserFramesJitteringAroundSixtyHertzEachMakeOneStep) {
    BrowserTime t;
    t.jitter = 900000;  // +-0.9 ms, so two frames differ by up to 1.8 ms
    const int steps = stepsOver(t, 10, 4 * MS, false);
    EXPECT_EQ(t.waits, steps) << "a step waited for a second animation frame";
    EXPECT_NEAR(steps, 600, 1);
}

// Faster displays do not speed the steps up, and a stall does not cause a burst.
TEST(FramePacer, BrowserFramesFasterThanSixtyHertzKeepSixtySteps) {
    for (int64_t rate : {120, 144, 240}) {
        BrowserTime t;
        t.frame = 1000000000 / rate;
        t.jitter = 300000;
        const int steps = stepsOver(t, 10, 3 * MS, true);
        EXPECT_NEAR(steps, 600 - 5, 2) << rate << " Hz";  // the stall costs its 5 periods
    }
}

// A sleep may wake early again and again (a signal, a coarse timer): the
// pacer sleeps until the frame is due within FRAME_EARLY_NS, never sooner.
TEST(FramePacer, SleepsAgainWhenASleepWakesEarly) {
    struct EarlyTime {
        int64_t now = 5000000;
        int sleeps = 0;
    } t;
    FramePacer pacer;
    initFramePacer(&pacer, {[](void* c) { return static_cast<EarlyTime*>(c)->now; },
                            [](int64_t ns, void* c) {
                                EarlyTime* e = static_cast<EarlyTime*>(c);
                                e->now += ns / 3 + 1;  // wakes after a third of the time asked for
                                ++e->sleeps;
                            },
                            &t});
    waitForNextFrame(&pacer);
    const int64_t start = t.now;
    for (int frame = 1; frame <= 10; ++frame) {
        t.now += 1000000;
        waitForNextFrame(&pacer);
        EXPECT_GE(t.now, start + frame * P - FRAME_EARLY_NS) << "returned too early in frame " << frame;
        EXPECT_LT(t.now, start + frame * P) << "frame " << frame;
        EXPECT_EQ(pacer.deadlineNs, start + frame * P);
    }
    EXPECT_GT(t.sleeps, 10 * 3);
}
