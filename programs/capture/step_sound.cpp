#include "programs/capture/step_sound.h"

#include "app/sound_stream.h"

bool nextStepSound(StepSound* sound, App* app, int16_t* out) {
    const int32_t stream = app->sound != nullptr && app->sound->frames > 0 ? app->sound->frames : 0;
    const bool started = stream > 0 && stream != sound->streamFrames;
    sound->streamFrames = stream;
    if (started) sound->firstCallbackFrame = sound->framesDone + stream;
    pullSound(app, out, STEP_SOUND_FRAMES);
    sound->framesDone += STEP_SOUND_FRAMES;
    return started;
}
