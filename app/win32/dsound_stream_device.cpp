#include "app/win32/dsound_stream_device.h"

int32_t DirectSoundStreamDevice::playPosition() {
    uint32_t playByte = 0;
    if (currentPlayByte(&playByte) < 0) return 0;
    return int32_t(playByte / SOUND_FRAME_BYTES);
}

bool DirectSoundStreamDevice::lock(int32_t first, int32_t count, int16_t** region1, int32_t* frames1,
                                   int16_t** region2, int32_t* frames2) {
    locked[0] = locked[1] = nullptr;
    lockedBytes[0] = lockedBytes[1] = 0;
    const uint32_t offset = uint32_t(first) * SOUND_FRAME_BYTES, bytes = uint32_t(count) * SOUND_FRAME_BYTES;
    int32_t result = lockBytes(offset, bytes, &locked[0], &lockedBytes[0], &locked[1], &lockedBytes[1]);
    if (result == SOUND_BUFFER_LOST) {
        restoreBuffer();
        result = lockBytes(offset, bytes, &locked[0], &lockedBytes[0], &locked[1], &lockedBytes[1]);
    }
    if (result < 0) {
        stopBuffer();
        return false;
    }
    *region1 = static_cast<int16_t*>(locked[0]);
    *frames1 = int32_t(lockedBytes[0] / SOUND_FRAME_BYTES);
    *region2 = static_cast<int16_t*>(locked[1]);
    *frames2 = locked[1] ? int32_t(lockedBytes[1] / SOUND_FRAME_BYTES) : 0;
    return true;
}

bool DirectSoundStreamDevice::unlock() {
    const int32_t result = unlockBytes(locked[0], lockedBytes[0], locked[1], lockedBytes[1]);
    locked[0] = locked[1] = nullptr;
    if (result < 0) {
        stopBuffer();
        return false;
    }
    return true;
}
