#pragma once
// The sound stream's device over a DirectSound buffer, in the buffer's own
// terms: byte offsets and result codes. The rules that matter (frames to
// bytes, a lost buffer restored once per lock, what a failed lock leaves
// behind) live here, free of windows.h, so they are tested off Windows; the
// backend supplies the calls on the real buffer (win32_sound.cpp).
#include <cstdint>

#include "app/sound_stream.h"

// The buffer's memory was taken away (another program took the device) and
// must be restored before it can be locked.
const int32_t SOUND_BUFFER_LOST = int32_t(0x88780096);

struct DirectSoundStreamDevice : SoundDevice {
    int32_t playPosition() override;
    // Locks the range, restoring a lost buffer and locking once more. A lock
    // that still fails stops playback: the stream gives up sound, and a
    // buffer left looping would repeat its last tenth of a second.
    bool lock(int32_t first, int32_t count, int16_t** region1, int32_t* frames1, int16_t** region2,
              int32_t* frames2) override;
    // Unlocks what the last lock gave; a failure stops playback as above.
    bool unlock() override;

protected:
    // The buffer's calls; a negative result is a failure.
    virtual int32_t currentPlayByte(uint32_t* playByte) = 0;
    virtual int32_t lockBytes(uint32_t offset, uint32_t bytes, void** part1, uint32_t* bytes1, void** part2,
                              uint32_t* bytes2) = 0;
    virtual int32_t unlockBytes(void* part1, uint32_t bytes1, void* part2, uint32_t bytes2) = 0;
    virtual int32_t restoreBuffer() = 0;
    virtual void stopBuffer() = 0;

private:
    void* locked[2] = {nullptr, nullptr};
    uint32_t lockedBytes[2] = {0, 0};
};
