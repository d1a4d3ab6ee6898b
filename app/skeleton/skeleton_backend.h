#pragma once
// The skeleton backend's own state, behind App::backend, and what its files
// share. A new backend copies app/skeleton to app/<name>, renames, and
// replaces every PLATFORM mark with the platform's calls; the rest (the
// order, the log lines, the shared rules it calls) stays as it is.
#include "app/presenter.h"
#include "app/sound_stream.h"

// PLATFORM (sound device): the platform's audio output, playing the shell's
// sound format. Here a ring that the output's callback plays from, as SDL's
// does; a device that signals when playback crosses a half implements
// SoundDevice itself instead (as DirectSound does, app/win32).
struct SkeletonSoundDevice : RingSoundDevice {
    // Null with its log line when there is no audio output.
    static SkeletonSoundDevice* open();
    ~SkeletonSoundDevice() override;
    void releaseBuffer() override;
    bool play() override;

private:
    SkeletonSoundDevice() : RingSoundDevice(false) {}
};

struct AppBackend {
    // PLATFORM (window, context): the platform's handles, null until acquired.
    void* window = nullptr;
    void* glContext = nullptr;
    void* cursor = nullptr;
    SkeletonSoundDevice* sound = nullptr;  // owned here; the App's sound stream borrows it
    int32_t pointerX = 0, pointerY = 0;    // the last pointer position, in view pixels
};

// skeleton_window.cpp
bool recordDisplays(App* app);
bool createHiddenWindow(App* app);
bool createGlContext(App* app);
GlFunction skeletonGlProc(const char* name, void* context);
void destroyWindow(App* app);
