#include "tools/capture/step_sound.h"

#include <algorithm>
#include <cstring>

#include "app/headless/headless.h"

bool nextStepSound(StepSound* sound, App* app, int16_t* out) {
    const int32_t stream = headlessStreamFrames(app);
    bool started = false;
    if (stream != sound->streamFrames) {
        // A new or restarted stream begins with its silent buffer; a stopped
        // one is cut off at once.
        sound->streamFrames = stream;
        sound->queued.assign(size_t(stream > 0 ? stream : 0) * 2, 0);
        started = stream > 0;
        if (started) sound->firstCallbackFrame = sound->framesDone + stream;
    }
    const size_t wanted = size_t(STEP_SOUND_FRAMES) * 2;
    const int32_t half = stream / 2;
    if (stream > 0 && half > 0) {
        while (sound->queued.size() < wanted) {
            const size_t at = sound->queued.size();
            sound->queued.resize(at + size_t(half) * 2);
            headlessPullSound(app, sound->queued.data() + at, half);
        }
        std::memcpy(out, sound->queued.data(), wanted * sizeof(int16_t));
        sound->queued.erase(sound->queued.begin(), sound->queued.begin() + std::ptrdiff_t(wanted));
    } else {
        std::memset(out, 0, wanted * sizeof(int16_t));
    }
    sound->framesDone += STEP_SOUND_FRAMES;
    return started;
}
