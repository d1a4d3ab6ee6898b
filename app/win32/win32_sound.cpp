// The DirectSound 8 device, dsound.dll loaded by name, and the stream's
// buffer on it: PCM in the shell's sound format (app/app.h), looping, with
// notifications at its start and its middle.
#include "app/log_lines.h"
#include "app/win32/dsound_stream_device.h"
#include "app/win32/win32_backend.h"

#include <mmsystem.h>
#include <mmreg.h>
#include <dsound.h>

typedef HRESULT(WINAPI* DirectSoundCreateFunction)(LPCGUID, LPDIRECTSOUND8*, LPUNKNOWN);

struct Win32SoundDevice : DirectSoundStreamDevice {
    Win32SoundDevice(IDirectSound8* object, HANDLE events[2]) : object(object), events{events[0], events[1]} {}
    ~Win32SoundDevice() override { releaseBuffer(); }

    bool createBuffer(int32_t frames) override;
    void releaseBuffer() override {
        if (buffer) buffer->Release();
        buffer = nullptr;
    }
    bool play() override { return SUCCEEDED(buffer->Play(0, 0, DSBPLAY_LOOPING)); }
    // A wait that cannot wait (no events) still takes its time, so the
    // stream's thread never spins.
    void waitForNotification(int milliseconds) override {
        if (WaitForMultipleObjects(2, events, FALSE, DWORD(milliseconds)) == WAIT_FAILED) Sleep(DWORD(milliseconds));
    }
    void raiseThreadPriority() override { SetThreadPriority(GetCurrentThread(), THREAD_PRIORITY_HIGHEST); }

protected:
    int32_t currentPlayByte(uint32_t* playByte) override {
        DWORD play = 0;
        const HRESULT result = buffer->GetCurrentPosition(&play, nullptr);
        *playByte = play;
        return result;
    }
    int32_t lockBytes(uint32_t offset, uint32_t bytes, void** part1, uint32_t* bytes1, void** part2,
                      uint32_t* bytes2) override {
        DWORD size1 = 0, size2 = 0;
        const HRESULT result = buffer->Lock(offset, bytes, part1, &size1, part2, &size2, 0);
        *bytes1 = size1, *bytes2 = size2;
        return result;
    }
    int32_t unlockBytes(void* part1, uint32_t bytes1, void* part2, uint32_t bytes2) override {
        return buffer->Unlock(part1, bytes1, part2, bytes2);
    }
    int32_t restoreBuffer() override { return buffer->Restore(); }
    void stopBuffer() override { buffer->Stop(); }

private:
    IDirectSound8* object;
    HANDLE events[2];
    IDirectSoundBuffer8* buffer = nullptr;
};

bool Win32SoundDevice::createBuffer(int32_t frames) {
    WAVEFORMATEX format = {};
    format.wFormatTag = WAVE_FORMAT_PCM;
    format.nChannels = SOUND_CHANNELS;
    format.nSamplesPerSec = SOUND_RATE;
    format.wBitsPerSample = 8 * sizeof(SoundSample);
    format.nBlockAlign = SOUND_FRAME_BYTES;
    format.nAvgBytesPerSec = SOUND_RATE * SOUND_FRAME_BYTES;
    // The description without a 3D algorithm, at this build's size (a
    // pointer makes it 24 bytes on 64-bit; DirectSound refuses 20 there).
    DSBUFFERDESC1 description = {};
    description.dwSize = sizeof description;
    // Global focus keeps the stream audible while the window is inactive.
    description.dwFlags =
        DSBCAPS_CTRLVOLUME | DSBCAPS_CTRLPOSITIONNOTIFY | DSBCAPS_GLOBALFOCUS | DSBCAPS_GETCURRENTPOSITION2;
    description.dwBufferBytes = DWORD(frames) * SOUND_FRAME_BYTES;
    description.lpwfxFormat = &format;

    IDirectSoundBuffer* first = nullptr;
    if (FAILED(object->CreateSoundBuffer(reinterpret_cast<DSBUFFERDESC*>(&description), &first, nullptr)) || !first)
        return false;
    const HRESULT asked = first->QueryInterface(IID_IDirectSoundBuffer8, reinterpret_cast<void**>(&buffer));
    first->Release();
    if (FAILED(asked) || !buffer) {
        buffer = nullptr;
        return false;
    }
    IDirectSoundNotify* notify = nullptr;
    if (FAILED(buffer->QueryInterface(IID_IDirectSoundNotify, reinterpret_cast<void**>(&notify))) || !notify)
        return false;
    DSBPOSITIONNOTIFY positions[2] = {{0, events[0]}, {description.dwBufferBytes / 2, events[1]}};
    const HRESULT notified = notify->SetNotificationPositions(2, positions);
    notify->Release();
    return SUCCEEDED(notified);
}

namespace {

// The device, or null with the line that says why sound is off.
IDirectSound8* openDirectSound(AppBackend* backend) {
    backend->soundModule = LoadLibraryA("dsound.dll");
    if (!backend->soundModule) {
        logLine(LOG_NO_DSOUND_LIBRARY);
        return nullptr;
    }
    auto create = libraryFunction<DirectSoundCreateFunction>(backend->soundModule, "DirectSoundCreate8");
    if (!create) {
        logLine(LOG_NO_DSOUND_CREATE);
        return nullptr;
    }
    IDirectSound8* object = nullptr;
    if (FAILED(create(nullptr, &object, nullptr)) || !object) {
        logLine(LOG_NO_DSOUND_OBJECT);
        return nullptr;
    }
    if (FAILED(object->SetCooperativeLevel(backend->window, DSSCL_NORMAL))) {
        logLine(LOG_NO_DSOUND_COOPERATION);
        object->Release();
        return nullptr;
    }
    return object;
}

}  // namespace

void startSoundDevice(App* app) {
    AppBackend* backend = app->backend;
    for (HANDLE& event : backend->soundEvents) event = CreateEventA(nullptr, FALSE, FALSE, nullptr);
    backend->soundObject = openDirectSound(backend);
    if (!backend->soundObject) {
        if (backend->soundModule) FreeLibrary(backend->soundModule);
        backend->soundModule = nullptr;
        return;
    }
    backend->soundDevice = new Win32SoundDevice(backend->soundObject, backend->soundEvents);
    openSoundStream(app, backend->soundDevice);
}

// The stream's thread ends and its buffer goes before the device.
void stopSoundDevice(App* app) {
    AppBackend* backend = app->backend;
    closeSoundStream(app);
    delete backend->soundDevice;
    backend->soundDevice = nullptr;
    if (backend->soundObject) backend->soundObject->Release();
    backend->soundObject = nullptr;
    if (backend->soundModule) FreeLibrary(backend->soundModule);
    backend->soundModule = nullptr;
    for (HANDLE& event : backend->soundEvents)
        if (event) CloseHandle(event);
}
