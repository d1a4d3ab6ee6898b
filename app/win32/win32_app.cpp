// runApp on Win32: every service started in order, the demo, then teardown in
// reverse, each item only if it was acquired.
#include <cstdio>
#include <cstdlib>

#include "app/log_lines.h"
#include "app/presenter.h"
#include "app/shell.h"
#include "app/win32/win32_backend.h"

#include <mmsystem.h>

namespace {

enum { FOLDER_PERSONAL = 0x0005, FOLDER_COMMON_APPDATA = 0x0023, FOLDER_FLAG_CREATE = 0x8000 };
typedef HRESULT(WINAPI* FolderPathFunction)(HWND, int, HANDLE, DWORD, LPSTR);

// The multimedia timer at its finest, so that the frame pacer's sleeps end on time.
void raiseTimerResolution(AppBackend* backend) {
    TIMECAPS caps;
    if (timeGetDevCaps(&caps, sizeof caps) == MMSYSERR_NOERROR && timeBeginPeriod(caps.wPeriodMin) == TIMERR_NOERROR)
        backend->timerPeriod = caps.wPeriodMin;
}

// Recorded for the record; nothing reads them. A folder that cannot be had stays empty.
void recordPaths(AppBackend* backend) {
    backend->instance = GetModuleHandleA(nullptr);
    GetModuleFileNameA(nullptr, backend->exePath, MAX_PATH);
    if (HMODULE shell = LoadLibraryA("shell32.dll")) {
        if (auto folderPath = libraryFunction<FolderPathFunction>(shell, "SHGetFolderPathA")) {
            if (folderPath(nullptr, FOLDER_PERSONAL | FOLDER_FLAG_CREATE, nullptr, 0, backend->documentsPath) != S_OK)
                backend->documentsPath[0] = 0;
            if (folderPath(nullptr, FOLDER_COMMON_APPDATA | FOLDER_FLAG_CREATE, nullptr, 0, backend->sharedDataPath) != S_OK)
                backend->sharedDataPath[0] = 0;
        }
        FreeLibrary(shell);
    }
    backend->commandLine = GetCommandLineA();
}

bool startUp(App* app) {
    AppBackend* backend = app->backend = new AppBackend;
    // The display's own pixels: on a desktop scaled to 125 or 150 % the
    // system would otherwise stretch the window, and the whole-number scale
    // with its sharp pixels would be lost.
    SetProcessDPIAware();
    raiseTimerResolution(backend);
    recordPaths(backend);
    initPointer(app);
    // Resource 1 is nobody's icon: the program's own group has another number.
    backend->icon = LoadIconA(backend->instance, MAKEINTRESOURCEA(1));
    if (!recordDisplays(app)) return false;
    computeWindowGeometry(app, app->displays[0].width, app->displays[0].height);
    if (!createWindow(app)) return false;
    if (!startOpenGl(app)) return false;
    startSoundDevice(app);
    registerRawInput(app);
    if (!openTablet(app)) logLine(LOG_NO_TABLET);
    return true;
}

void tearDown(App* app) {
    AppBackend* backend = app->backend;
    closeTablet(app);
    stopSoundDevice(app);
    stopOpenGl(app);
    if (backend->icon) DestroyIcon(backend->icon);
    if (backend->cursor) DestroyCursor(backend->cursor);
    destroyWindow(app);
    if (backend->timerPeriod) timeEndPeriod(backend->timerPeriod);
    delete backend;
    app->backend = nullptr;
}

void showMessageBox(const char* text) { MessageBoxA(nullptr, text, FATAL_ERROR_CAPTION, MB_ICONERROR); }

}  // namespace

// Paced on a thread's sleep: drivers may ignore the swap interval (Wine's does).
int runApp() { return runAppWith(startUp, tearDown, systemFramePacerClock()); }

void fatalError(const char* text) { endWithFatalError(text, showMessageBox); }
