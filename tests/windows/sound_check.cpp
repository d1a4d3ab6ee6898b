// The sound stream on the real DirectSound device under Wine: the Win32
// backend starts as in the program, and this appProc streams instead of the
// demo. Prints what it saw; exit code 1 when the stream misbehaved.
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
        return 0;
    }
    Tally first, swapped, longer;
    startSound(app, 4410, countingCallback, &first);
    Sleep(600);
    // The same length only hands the running stream new user data.
    startSound(app, 4410, countingCallback, &swapped);
    const int32_t firstAtSwap = first.calls;
    Sleep(400);
    // Another length makes a new buffer and thread.
    startSound(app, 8820, countingCallback, &longer);
    Sleep(400);
    stopSound(app);
    const int32_t atStop = longer.calls;
    Sleep(300);
    std::printf("sound check: %d, %d and %d fills; largest %d, %d and %d frames; %d after the swap, %d after the stop\n",
                int(first.calls), int(swapped.calls), int(longer.calls), int(first.largest), int(swapped.largest),
                int(longer.largest), int(first.calls - firstAtSwap), int(longer.calls - atStop));
    // One fill may have been under way during the swap.
    const bool ok = first.calls > 0 && swapped.calls > 0 && longer.calls > 0 && first.largest <= 2205 &&
                    swapped.largest <= 2205 && longer.largest <= 4410 && first.calls - firstAtSwap <= 1 &&
                    longer.calls == atStop;
    return ok ? 0 : 1;
}

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) { return runApp(); }
