#include <chrono>

#include "app/sound_stream.h"

bool RingSoundDevice::createBuffer(int32_t frames) {
    if (frames <= 0) return false;
    std::lock_guard<std::mutex> guard(ringMutex);
    ring.assign(size_t(frames) * SOUND_CHANNELS, 0);
    ringFrames = frames;
    position = 0;
    return true;
}

void RingSoundDevice::releaseBuffer() {
    std::lock_guard<std::mutex> guard(ringMutex);
    ring.clear();
    ring.shrink_to_fit();
    ringFrames = 0;
    position = 0;
}

void RingSoundDevice::waitForNotification(int milliseconds) {
    std::unique_lock<std::mutex> guard(notifyMutex);
    notified.wait_for(guard, std::chrono::milliseconds(milliseconds), [this] { return crossed; });
    crossed = false;
}

int32_t RingSoundDevice::playPosition() {
    std::lock_guard<std::mutex> guard(ringMutex);
    return position;
}

bool RingSoundDevice::lock(int32_t first, int32_t count, int16_t** region1, int32_t* frames1, int16_t** region2,
                           int32_t* frames2) {
    ringMutex.lock();
    if (ringFrames <= 0 || first < 0 || first >= ringFrames || count < 0 || count > ringFrames) {
        ringMutex.unlock();
        return false;
    }
    const int32_t head = count < ringFrames - first ? count : ringFrames - first;
    *region1 = &ring[size_t(first) * SOUND_CHANNELS];
    *frames1 = head;
    *region2 = head < count ? ring.data() : nullptr;
    *frames2 = count - head;
    return true;  // the ring stays locked until unlock()
}

bool RingSoundDevice::unlock() {
    ringMutex.unlock();
    return true;
}

void RingSoundDevice::playInto(int16_t* out, int32_t frames) {
    bool crossedHalf = false;
    {
        std::lock_guard<std::mutex> guard(ringMutex);
        if (ringFrames <= 0) {
            std::memset(out, 0, size_t(frames) * SOUND_FRAME_BYTES);
            return;
        }
        const int32_t half = ringFrames / 2;
        while (frames > 0) {
            const int32_t run = ringFrames - position < frames ? ringFrames - position : frames;
            std::memcpy(out, &ring[size_t(position) * SOUND_CHANNELS], size_t(run) * SOUND_FRAME_BYTES);
            out += run * SOUND_CHANNELS;
            frames -= run;
            const int32_t end = position + run;
            if ((position < half && end >= half) || end >= ringFrames) crossedHalf = true;
            position = end % ringFrames;
        }
    }
    if (crossedHalf) {
        std::lock_guard<std::mutex> guard(notifyMutex);
        crossed = true;
        notified.notify_one();
    }
}
