// The window's screen modes and messages under Wine: the Win32 backend
// starts as in the program, and this appProc drives the window as the frame
// step and the user would. Prints every failed check; exit code 1 if any.
#include <cstdio>

#include "app/presenter.h"
#include "app/win32/win32_backend.h"

namespace {

int failures = 0;

void check(bool ok, const char* what) {
    if (ok) return;
    std::printf("FAILED: %s\n", what);
    ++failures;
}

void pump(App* app) {
    for (int i = 0; i < 10; ++i) {
        pumpMessages(app);
        Sleep(20);
    }
}

RECT outerRect(HWND window) {
    RECT r;
    GetWindowRect(window, &r);
    return r;
}

bool viewIsClientArea(App* app) {
    RECT client;
    GetClientRect(app->backend->window, &client);
    return app->presenter->viewWidth == client.right && app->presenter->viewHeight == client.bottom;
}

}  // namespace

int32_t appProc(App* app, void*) {
    HWND window = app->backend->window;
    check(!IsWindowVisible(window), "hidden until the first frame");
    check(app->windowX == 160 && app->windowY == 90 && app->windowWidth == 1600 && app->windowHeight == 900,
          "window mode takes five sixths of the display, centred");

    // The first frame step: the stored mode applied by flipping it first, then shown.
    app->screenMode = SCREEN_WINDOW;
    setScreenMode(app, SCREEN_FULLSCREEN);
    showWindow(app);
    pump(app);
    RECT r = outerRect(window);
    check(IsWindowVisible(window), "shown");
    check(r.left == 0 && r.top == 0 && r.right == 1920 && r.bottom == 1080, "fullscreen covers the display");
    check((GetWindowLongA(window, GWL_STYLE) & WS_CAPTION) == 0, "fullscreen has no frame");
    check(viewIsClientArea(app) && app->presenter->viewWidth == 1920, "the view follows the client area");

    // Resized from outside, as by a new display resolution: back to window mode.
    SetWindowPos(window, nullptr, 0, 0, 1280, 720, SWP_NOZORDER);
    pump(app);
    r = outerRect(window);
    check(app->screenMode == SCREEN_WINDOW, "a resized fullscreen window falls back to window mode");
    check((GetWindowLongA(window, GWL_STYLE) & WS_CAPTION) != 0, "window mode has a frame");
    check(r.left == 160 && r.top == 90 && r.right - r.left == 1600 && r.bottom - r.top == 900,
          "window mode goes to the stored rectangle");
    check(viewIsClientArea(app) && app->presenter->viewWidth < 1600, "the view is the framed client area");

    // And fullscreen again, keeping the window-mode rectangle it left.
    MoveWindow(window, 100, 50, 1000, 700, TRUE);
    pump(app);
    setScreenMode(app, SCREEN_FULLSCREEN);
    pump(app);
    r = outerRect(window);
    check(r.left == 0 && r.top == 0 && r.right == 1920 && r.bottom == 1080, "fullscreen again");
    check(app->windowX == 100 && app->windowY == 50 && app->windowWidth == 1000 && app->windowHeight == 700,
          "the window-mode rectangle is kept");
    check(app->screenMode == SCREEN_FULLSCREEN, "a fullscreen window of the display's size stays fullscreen");

    SendMessageA(window, WM_SYSCOMMAND, SC_MINIMIZE, 0);
    pump(app);
    check(app->minimized, "minimizing is noted");
    SendMessageA(window, WM_ACTIVATEAPP, TRUE, 0);
    check(!app->minimized && app->hasFocus, "activation ends it");
    SendMessageA(window, WM_ACTIVATEAPP, FALSE, 0);
    check(!app->hasFocus, "deactivation takes the focus");

    SendMessageA(window, WM_CLOSE, 0, 0);
    check(app->closeRequested && IsWindow(window), "closing only asks; the window stays");

    std::printf("window check: %d failed\n", failures);
    return failures ? 1 : 0;
}

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) { return runApp(); }
