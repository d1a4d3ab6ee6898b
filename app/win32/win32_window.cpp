// The displays, the one window and its procedure, and the window services
// the frame step uses.
#include <cstring>

#include "app/log_lines.h"
#include "app/presenter.h"
#include "app/shell.h"
#include "app/win32/win32_backend.h"

namespace {

const char WINDOW_CLASS[] = "app_wc";
const DWORD WINDOW_STYLE = WS_OVERLAPPEDWINDOW;

App* appOf(HWND window) { return reinterpret_cast<App*>(GetWindowLongPtrA(window, GWLP_USERDATA)); }

BOOL CALLBACK enumerateDisplay(HMONITOR display, HDC, LPRECT rect, LPARAM data) {
    App* app = reinterpret_cast<App*>(data);
    if (app->displayCount >= APP_MAX_DISPLAYS) return FALSE;  // the 17th ends the enumeration
    const int32_t index = app->displayCount++;
    app->backend->displayHandles[index] = display;
    DisplayInfo& info = app->displays[index];
    info = {};
    info.x = rect->left, info.y = rect->top;
    info.width = rect->right - rect->left, info.height = rect->bottom - rect->top;
    MONITORINFOEXA monitor = {};
    monitor.cbSize = sizeof monitor;
    if (GetMonitorInfoA(display, &monitor) && std::strlen(monitor.szDevice) < sizeof info.name)
        std::strcpy(info.name, monitor.szDevice);
    return TRUE;
}

void readNormalPosition(App* app, const WINDOWPLACEMENT& placement) {
    const RECT& r = placement.rcNormalPosition;
    app->windowX = r.left, app->windowY = r.top;
    app->windowWidth = r.right - r.left, app->windowHeight = r.bottom - r.top;
}

void handleSize(App* app, HWND window, WPARAM kind) {
    if (kind == SIZE_MAXIMIZED) {
        WINDOWPLACEMENT placement = {};
        placement.length = sizeof placement;
        if (GetWindowPlacement(window, &placement)) readNormalPosition(app, placement);
    }
    RECT client;
    GetClientRect(window, &client);
    resizePresenterView(app, client.right, client.bottom);
}

// A frameless fullscreen window resized from outside (a new display
// resolution, say) falls back to window mode.
void handlePositionChanged(App* app, HWND window) {
    if (app->screenMode != SCREEN_FULLSCREEN) return;
    RECT outer, client;
    GetWindowRect(window, &outer);
    GetClientRect(window, &client);
    const int32_t width = outer.right - outer.left, height = outer.bottom - outer.top;
    if (width == client.right && height == client.bottom &&
        (width != app->fullscreenWidth || height != app->fullscreenHeight))
        setScreenMode(app, SCREEN_WINDOW);
}

int32_t displayOfWindow(App* app, HWND window) {
    HMONITOR monitor = MonitorFromWindow(window, MONITOR_DEFAULTTOPRIMARY);
    for (int32_t i = 0; i < app->displayCount; ++i)
        if (app->backend->displayHandles[i] == monitor) return i;
    return 0;
}

}  // namespace

LRESULT CALLBACK windowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    App* app = appOf(window);
    if (!app) return DefWindowProcA(window, message, wParam, lParam);  // still being created
    switch (message) {
    case WM_SIZE:
        handleSize(app, window, wParam);
        break;
    case WM_CLOSE:
        // The window stays; the next frame step ends the process.
        app->closeRequested = true;
        return 0;
    case WM_ACTIVATEAPP:
        app->hasFocus = wParam != 0;
        if (app->hasFocus) app->minimized = false;
        else ClipCursor(nullptr);
        break;
    case WM_SETCURSOR:
        if (LOWORD(lParam) == HTCLIENT) {
            SetCursor(app->backend->cursor);
            return 0;
        }
        break;
    case WM_WINDOWPOSCHANGED:
        handlePositionChanged(app, window);
        break;
    case WM_SYSCOMMAND:
        if ((wParam & 0xFFF0) == SC_MINIMIZE) app->minimized = true;
        break;
    default:
        queueWindowInput(app, message, wParam, lParam);
        break;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

bool recordDisplays(App* app) {
    EnumDisplayMonitors(nullptr, nullptr, enumerateDisplay, reinterpret_cast<LPARAM>(app));
    if (app->displayCount == 0) {
        logLine(LOG_NO_DISPLAY);
        return false;
    }
    return true;
}

bool createWindow(App* app) {
    AppBackend* backend = app->backend;
    WNDCLASSEXA windowClass = {};
    windowClass.cbSize = sizeof windowClass;
    windowClass.style = CS_OWNDC | CS_DBLCLKS;
    windowClass.lpfnWndProc = windowProcedure;
    windowClass.hInstance = backend->instance;
    windowClass.hIcon = backend->icon;
    windowClass.hIconSm = backend->icon;
    windowClass.hCursor = backend->cursor;
    windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
    windowClass.lpszClassName = WINDOW_CLASS;
    backend->classRegistered = RegisterClassExA(&windowClass) != 0;

    // The window-mode client rectangle, widened by the frame.
    RECT frame = {app->windowX, app->windowY, app->windowX + app->windowWidth, app->windowY + app->windowHeight};
    AdjustWindowRect(&frame, WS_VISIBLE | WINDOW_STYLE, FALSE);
    backend->window = CreateWindowExA(0, WINDOW_CLASS, "", WINDOW_STYLE, app->windowX, app->windowY,
                                      frame.right - frame.left, frame.bottom - frame.top, nullptr, nullptr,
                                      backend->instance, nullptr);
    if (!backend->window) {
        logLine(LOG_NO_WINDOW);
        return false;
    }
    backend->deviceContext = GetDC(backend->window);
    app->hasFocus = true;
    app->minimized = false;
    SetWindowLongPtrA(backend->window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(app));
    ShowWindow(backend->window, SW_HIDE);  // until the first frame
    return true;
}

void destroyWindow(App* app) {
    AppBackend* backend = app->backend;
    if (backend->deviceContext) ReleaseDC(backend->window, backend->deviceContext);
    if (backend->window) {
        // No message after this point may find the App.
        SetWindowLongPtrA(backend->window, GWLP_USERDATA, 0);
        DestroyWindow(backend->window);
    }
    if (backend->classRegistered) UnregisterClassA(WINDOW_CLASS, backend->instance);
}

void setScreenMode(App* app, ScreenMode mode) {
    if (mode == app->screenMode) return;
    app->screenMode = mode;
    HWND window = app->backend->window;
    const bool visible = IsWindowVisible(window) != 0;
    WINDOWPLACEMENT placement = {};
    placement.length = sizeof placement;
    GetWindowPlacement(window, &placement);
    if (mode == SCREEN_FULLSCREEN) {
        // A maximized window keeps the window-mode rectangle it had before.
        if (visible && placement.showCmd == SW_SHOWMAXIMIZED) ShowWindow(window, SW_RESTORE);
        else if (visible) readNormalPosition(app, placement);
        const DisplayInfo& display = app->displays[displayOfWindow(app, window)];
        SetWindowPos(window, nullptr, display.x, display.y, display.width, display.height,
                     SWP_NOOWNERZORDER | SWP_FRAMECHANGED);
        app->fullscreenWidth = display.width;
        app->fullscreenHeight = display.height;
        SetWindowLongA(window, GWL_STYLE, visible ? WS_VISIBLE : 0);
        SetWindowPos(window, nullptr, 0, 0, 0, 0, SWP_NOOWNERZORDER | SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE);
    } else {
        SetWindowLongA(window, GWL_STYLE, visible ? WS_VISIBLE | WINDOW_STYLE : WINDOW_STYLE);
        placement.showCmd = visible ? SW_SHOW : SW_HIDE;
        placement.rcNormalPosition = {app->windowX, app->windowY, app->windowX + app->windowWidth,
                                      app->windowY + app->windowHeight};
        SetWindowPlacement(window, &placement);
    }
}

void showWindow(App* app) {
    AppBackend* backend = app->backend;
    ShowWindow(backend->window, SW_SHOWNORMAL);
    SetActiveWindow(backend->window);
    BringWindowToTop(backend->window);
    SwitchToThisWindow(backend->window, TRUE);
    if (backend->tabletContext) backend->WTEnable(backend->tabletContext, TRUE);
    app->windowShown = true;
}

// The frame step gives up the rest of the time slice after this.
void pumpMessages(App* app) {
    HWND window = app->backend->window;
    MSG message;
    while (PeekMessageA(&message, window, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
}

void swapBuffers(App* app) { SwapBuffers(app->backend->deviceContext); }

void setWindowTitle(App* app, const char* title) { SetWindowTextA(app->backend->window, title); }

void getPointerPosition(App* app, int32_t* x, int32_t* y) {
    POINT point = {0, 0};
    if (GetCursorPos(&point)) ScreenToClient(app->backend->window, &point);
    *x = point.x;
    *y = point.y;
}
