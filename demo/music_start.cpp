#include "demo/music_start.h"

#include <cstring>
#include <new>

#include "demo/demo_state.h"
#include "resources/resource_ids.h"
#include "ym/ym_music.h"

// The engine renders straight into the shell's stream.
static_assert(YM_OUTPUT_RATE == SOUND_RATE, "the engine renders at the shell's sound rate");

namespace {
const int32_t STREAM_FRAMES = 4410;  // 0.1 s, refilled in halves of 2,205
}  // namespace

int musicSoundCallback(int16_t* samples, int32_t frameCount, void* /*userData*/) {
    YmMusic* music = demoState.music;
    if (music == nullptr) {
        std::memset(samples, 0, size_t(frameCount) * SOUND_FRAME_BYTES);
        return 0;
    }
    return music->renderAudio(samples, frameCount) ? 1 : 0;
}

void loadMusic(YmMusic& music, ResourceData song) {
    // Releases what was loaded, copies, unpacks, parses and resets the chip
    // (whose low-pass filter is on from its construction); a song that does
    // not load stays silent.
    music.load(song.bytes, song.size);
    music.setLoop(true);
    music.setPaused(false);
}

void startMusic() {
    // No exceptions: without memory for the object the scene runs silent.
    YmMusic* music = new (std::nothrow) YmMusic();
    demoState.music = music;
    if (music == nullptr) return;
    loadMusic(*music, findResourceData(RESOURCE_SONG));
    // Loading is finished before the streaming thread can call back.
    if (demoState.app != nullptr) startSound(demoState.app, STREAM_FRAMES, musicSoundCallback, nullptr);
}

void stopMusic() {
    if (demoState.app != nullptr) stopSound(demoState.app);
    YmMusic* music = demoState.music;
    if (music == nullptr) return;
    music->stopAndRewind();
    music->release();
    delete music;
    demoState.music = nullptr;
}
