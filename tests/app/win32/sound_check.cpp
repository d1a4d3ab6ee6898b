// The sound stream on the real DirectSound device under Wine: the Win32
// backend starts as in the program, and this appProc streams instead of the
// demo. Prints what it saw; exit code 1 without a device or when the stream
// misbehaved.
#include <windows.h>

#include <atomic>
#include <cstdio>

#include "app/sound_stream.h"

namespace {

struct Tally {
    std::atomic<int32_t> calls{0};
    std::atomic<int32_t> largest{0};
};

int countingCallback(int16_t* samples, int32_t frames, void* userData) {
    Tally* tally = static_cast<Tally*>(userData);
    for (int32_t i = 0; i < frames * 2; ++i) samples[i] = int16_t((i & 64) ? 2000 : -2000);
    if (frames > tally->largest) tally->largest = frames;
    ++tally->calls;
    return 0;
}

}  // namespace

int32_t appProc(App* app, void*) {
    if (!app->sound) {
        std::printf("sound check: no device\n");
        return 1;
    }
    Tally first, longer;
    startSound(app, 4410, countingCallback, &first);
    Sleep(600);
    // Another length makes a new buffer and thread.
    startSound(app, 8820, countingCallback, &longer);
    const int32_t firstAtRestart = first.calls;
    Sleep(400);
    stopSound(app);
    const int32_t atStop = longer.calls;
    Sleep(300);
    std::printf("sound check: %d and %d fills of at most %d and %d frames; %d after the restart, %d after the stop\n",
                int(first.calls), int(longer.calls), int(first.largest), int(longer.largest),
                int(first.calls - firstAtRestart), int(longer.calls - atStop));
    const bool ok = first.calls > 0 && longer.calls > 0 && first.largest <= 2205 && longer.largest <= 4410 &&
                    first.calls == firstAtRestart && longer.calls == atStop;
    return ok ? 0 : 1;
}

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) { return runApp(); }
