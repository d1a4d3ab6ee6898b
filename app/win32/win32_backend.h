#pragma once
// The Win32 backend's own state, behind App::backend, and what its files
// share. Every library beyond kernel32, user32, gdi32 and winmm is loaded by
// name; a null handle or function means it was not acquired.
#define WIN32_LEAN_AND_MEAN
#include <windows.h>

#include "app/app.h"

struct IDirectSound8;

// The tablet interface's handles and entry points, by their C signatures.
typedef struct TabletContextHandle* TabletContext;
typedef UINT(WINAPI* TabletInfoFunction)(UINT category, UINT index, void* output);
typedef TabletContext(WINAPI* TabletOpenFunction)(HWND window, void* logicalContext, BOOL enable);
typedef BOOL(WINAPI* TabletCloseFunction)(TabletContext context);
typedef BOOL(WINAPI* TabletEnableFunction)(TabletContext context, BOOL enable);
typedef BOOL(WINAPI* TabletPacketFunction)(TabletContext context, UINT serial, void* packet);

typedef UINT(WINAPI* GetRawInputDataFunction)(HRAWINPUT, UINT, void*, UINT*, UINT);

struct Win32SoundDevice;

struct AppBackend {
    char exePath[MAX_PATH] = {};
    char documentsPath[MAX_PATH] = {};
    char sharedDataPath[MAX_PATH] = {};
    const char* commandLine = nullptr;  // stored; nothing reads it
    UINT timerPeriod = 0;               // 0: the timer period was not raised

    HINSTANCE instance = nullptr;
    HWND window = nullptr;
    HDC deviceContext = nullptr;  // class-owned, held for the whole run
    HICON icon = nullptr;
    HCURSOR cursor = nullptr;     // null: no pointer over the window
    bool classRegistered = false;
    HMONITOR displayHandles[APP_MAX_DISPLAYS] = {};

    HMODULE glModule = nullptr;
    HGLRC glContext = nullptr;
    PROC(WINAPI* wglGetProcAddress)(LPCSTR) = nullptr;
    HGLRC(WINAPI* wglCreateContext)(HDC) = nullptr;
    BOOL(WINAPI* wglDeleteContext)(HGLRC) = nullptr;
    BOOL(WINAPI* wglMakeCurrent)(HDC, HGLRC) = nullptr;
    BOOL(WINAPI* wglSwapIntervalEXT)(int) = nullptr;

    GetRawInputDataFunction getRawInputData = nullptr;

    HANDLE soundEvents[2] = {nullptr, nullptr};  // auto-reset: the two half positions
    HMODULE soundModule = nullptr;
    IDirectSound8* soundObject = nullptr;     // null: sound disabled
    Win32SoundDevice* soundDevice = nullptr;  // the stream's device over soundObject

    HMODULE tabletModule = nullptr;
    TabletContext tabletContext = nullptr;
    int32_t tabletMaxPressure = 0;
    TabletInfoFunction WTInfoA = nullptr;
    TabletOpenFunction WTOpenA = nullptr;
    TabletCloseFunction WTClose = nullptr;
    TabletEnableFunction WTEnable = nullptr;
    TabletPacketFunction WTPacket = nullptr;
};

// A function fetched by name from a loaded library, as the type it has.
template <typename Function>
Function libraryFunction(HMODULE module, const char* name) {
    // Through a plain function pointer type, which converts to any other.
    return reinterpret_cast<Function>(reinterpret_cast<void (*)()>(GetProcAddress(module, name)));
}

// win32_window.cpp
LRESULT CALLBACK windowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
bool recordDisplays(App* app);
bool createWindow(App* app);
void destroyWindow(App* app);

// win32_input.cpp: raw mouse motion for the window (start-up step).
void registerRawInput(App* app);
bool queueWindowInput(App* app, UINT message, WPARAM wParam, LPARAM lParam);

// win32_gl.cpp: opengl32, the pixel format, the context and the presenter.
bool startOpenGl(App* app);
void stopOpenGl(App* app);

// win32_sound.cpp: the DirectSound device; without one, sound is disabled.
void startSoundDevice(App* app);
void stopSoundDevice(App* app);

// win32_pointer.cpp
bool readDefaultPointer(int32_t* width, int32_t* height, uint32_t* pixels, int32_t* hotX, int32_t* hotY);
void initPointer(App* app);

// win32_tablet.cpp
bool openTablet(App* app);
void closeTablet(App* app);
