// The DirectSound device's fill rules against a scripted buffer: bytes and
// frames, a lost buffer restored once, and playback stopped when a lock or
// unlock fails. (What the shared stream does after a failure is tested with it.)
#include <gtest/gtest.h>

#include <algorithm>
#include <deque>
#include <vector>

#include "app/win32/dsound_stream_device.h"

namespace {

const int32_t FAILED_CALL = int32_t(0x80004005);

struct ScriptedBuffer : DirectSoundStreamDevice {
    std::vector<uint8_t> bytes = std::vector<uint8_t>(4410 * SOUND_FRAME_BYTES);
    uint32_t playByte = 0;
    std::deque<int32_t> lockResults;  // then success
    int32_t unlockResult = 0;
    int restores = 0, stops = 0, locks = 0;
    uint32_t unlocked[2] = {0, 0};

    bool createBuffer(int32_t) override { return true; }
    void releaseBuffer() override {}
    bool play() override { return true; }
    void waitForNotification(int) override {}

protected:
    int32_t currentPlayByte(uint32_t* out) override {
        *out = playByte;
        return 0;
    }
    // Like the real buffer, a range past the end wraps to the start.
    int32_t lockBytes(uint32_t offset, uint32_t size, void** part1, uint32_t* size1, void** part2,
                      uint32_t* size2) override {
        ++locks;
        if (!lockResults.empty()) {
            const int32_t result = lockResults.front();
            lockResults.pop_front();
            if (result < 0) return result;
        }
        const uint32_t head = std::min<uint32_t>(size, uint32_t(bytes.size()) - offset);
        *part1 = &bytes[offset], *size1 = head;
        *part2 = head < size ? bytes.data() : nullptr, *size2 = size - head;
        return 0;
    }
    int32_t unlockBytes(void*, uint32_t size1, void*, uint32_t size2) override {
        unlocked[0] = size1, unlocked[1] = size2;
        return unlockResult;
    }
    int32_t restoreBuffer() override {
        ++restores;
        return 0;
    }
    void stopBuffer() override { ++stops; }
};

struct Locked {
    int16_t* regions[2] = {nullptr, nullptr};
    int32_t frames[2] = {0, 0};
};

bool lockRange(ScriptedBuffer& buffer, int32_t first, int32_t count, Locked& out) {
    return buffer.lock(first, count, &out.regions[0], &out.frames[0], &out.regions[1], &out.frames[1]);
}

}  // namespace

TEST(DirectSoundDevice, FramesAreFourBytesAndAWrappedRangeIsTwoRegions) {
    ScriptedBuffer buffer;
    buffer.playByte = 8820;
    EXPECT_EQ(buffer.playPosition(), 2205);

    Locked locked;
    ASSERT_TRUE(lockRange(buffer, 4000, 1000, locked));
    EXPECT_EQ(locked.frames[0], 410);
    EXPECT_EQ(locked.frames[1], 590);
    EXPECT_EQ(reinterpret_cast<uint8_t*>(locked.regions[0]), &buffer.bytes[16000]);
    EXPECT_EQ(reinterpret_cast<uint8_t*>(locked.regions[1]), buffer.bytes.data());
    ASSERT_TRUE(buffer.unlock());
    EXPECT_EQ(buffer.unlocked[0], 1640u) << "unlock gets the sizes the lock gave";
    EXPECT_EQ(buffer.unlocked[1], 2360u);
    EXPECT_EQ(buffer.stops, 0);
}

TEST(DirectSoundDevice, LostBufferIsRestoredOnceAndAFailureStopsPlayback) {
    ScriptedBuffer buffer;
    Locked locked;
    buffer.lockResults = {SOUND_BUFFER_LOST};
    ASSERT_TRUE(lockRange(buffer, 0, 2205, locked));
    EXPECT_EQ(buffer.restores, 1);
    EXPECT_EQ(buffer.locks, 2);
    EXPECT_EQ(locked.frames[0], 2205);
    buffer.unlock();

    buffer.lockResults = {SOUND_BUFFER_LOST, SOUND_BUFFER_LOST};
    EXPECT_FALSE(lockRange(buffer, 0, 2205, locked));
    EXPECT_EQ(buffer.restores, 2) << "one restore per lock";
    EXPECT_EQ(buffer.stops, 1) << "a buffer given up stops looping its last half";

    buffer.lockResults = {FAILED_CALL};
    EXPECT_FALSE(lockRange(buffer, 0, 2205, locked));
    EXPECT_EQ(buffer.restores, 2) << "only a lost buffer is restored";
    EXPECT_EQ(buffer.stops, 2);

    ASSERT_TRUE(lockRange(buffer, 0, 2205, locked));
    buffer.unlockResult = FAILED_CALL;
    EXPECT_FALSE(buffer.unlock());
    EXPECT_EQ(buffer.stops, 3);
}
