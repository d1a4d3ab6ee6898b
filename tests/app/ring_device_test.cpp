// The in-memory ring that hosts play by reading: its lock bounds and when it
// wakes the stream.
#include <gtest/gtest.h>

#include <chrono>

#include "app/sound_stream.h"

namespace {

// Frames 0..7 whose left sample is their index, the right its negative.
void fillEight(RingSoundDevice& ring) {
    ASSERT_TRUE(ring.createBuffer(8));
    int16_t *first = nullptr, *second = nullptr;
    int32_t n1 = 0, n2 = 0;
    ASSERT_TRUE(ring.lock(0, 8, &first, &n1, &second, &n2));
    for (int16_t i = 0; i < 8; ++i) {
        first[2 * i] = i;
        first[2 * i + 1] = int16_t(-i);
    }
    ring.unlock();
}

// Whether a notification is pending: a wait that returns at once.
bool notified(RingSoundDevice& ring) {
    const auto start = std::chrono::steady_clock::now();
    ring.waitForNotification(500);
    return std::chrono::steady_clock::now() - start < std::chrono::milliseconds(250);
}

}  // namespace

TEST(RingSoundDevice, LockTakesRangesWithinTheRingOnly) {
    RingSoundDevice ring;
    int16_t *first = nullptr, *second = nullptr;
    int32_t n1 = -1, n2 = -1;
    EXPECT_FALSE(ring.lock(0, 1, &first, &n1, &second, &n2)) << "no buffer yet";
    fillEight(ring);
    for (auto bad : {std::pair<int32_t, int32_t>{0, 9}, {8, 1}, {-1, 1}, {0, -1}, {3, 9}}) {
        EXPECT_FALSE(ring.lock(bad.first, bad.second, &first, &n1, &second, &n2)) << bad.first << ", " << bad.second;
    }
    ASSERT_TRUE(ring.lock(0, 8, &first, &n1, &second, &n2));
    EXPECT_EQ(n1, 8);
    EXPECT_EQ(n2, 0);
    EXPECT_EQ(second, nullptr);
    ring.unlock();
    // A range over the end wraps into a second region at the start.
    ASSERT_TRUE(ring.lock(6, 5, &first, &n1, &second, &n2));
    EXPECT_EQ(first[0], 6);
    EXPECT_EQ(n1, 2);
    ASSERT_NE(second, nullptr);
    EXPECT_EQ(second[0], 0);
    EXPECT_EQ(n2, 3);
    ring.unlock();
    ring.releaseBuffer();
    EXPECT_FALSE(ring.lock(0, 1, &first, &n1, &second, &n2)) << "released";
}

TEST(RingSoundDevice, PlaysInOrderAndWakesTheStreamOnReachingEitherHalf) {
    RingSoundDevice ring;
    fillEight(ring);
    int16_t out[2 * 8];
    ring.playInto(out, 3);  // 0..2: still in the first half
    EXPECT_FALSE(notified(ring));
    ring.playInto(out, 1);  // ends exactly on the half
    EXPECT_EQ(out[0], 3);
    EXPECT_EQ(ring.playPosition(), 4);
    EXPECT_TRUE(notified(ring));
    ring.playInto(out, 3);  // 4..6
    EXPECT_FALSE(notified(ring));
    ring.playInto(out, 1);  // ends exactly on the end
    EXPECT_EQ(ring.playPosition(), 0);
    EXPECT_TRUE(notified(ring));
    ring.playInto(out, 6);
    ring.playInto(out, 5);  // 6, 7, then 0, 1, 2 over the wrap
    EXPECT_EQ(std::vector<int16_t>(out, out + 10), (std::vector<int16_t>{6, -6, 7, -7, 0, 0, 1, -1, 2, -2}));
    EXPECT_TRUE(notified(ring));
    ring.releaseBuffer();
    out[0] = 99;
    ring.playInto(out, 2);  // without a buffer: silence, no notification
    EXPECT_EQ(out[0], 0);
    EXPECT_FALSE(notified(ring));
}
