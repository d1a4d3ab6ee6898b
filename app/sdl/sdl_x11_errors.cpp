#include "app/sdl/sdl_x11_errors.h"

#if defined(VITRELUME_X11)
#include <SDL_syswm.h>
#include <X11/Xlib.h>

namespace {

XErrorHandler previous = nullptr;
bool catching = false;
bool seen = false;

int recordError(Display*, XErrorEvent*) {
    seen = true;
    return 0;
}

}  // namespace

void catchStartUpXErrors() {
    if (catching) return;
    previous = XSetErrorHandler(recordError);
    catching = true;
}

bool xErrorDuringStartUp(SDL_Window* window) {
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    if (window && SDL_GetWindowWMInfo(window, &info) && info.subsystem == SDL_SYSWM_X11)
        XSync(info.info.x11.display, False);
    return seen;
}

void releaseStartUpXErrors() {
    if (!catching) return;
    XSetErrorHandler(previous);
    catching = false;
}

#else
// Without X (a build for Wayland alone) there is nothing to catch.
void catchStartUpXErrors() {}
bool xErrorDuringStartUp(SDL_Window*) { return false; }
void releaseStartUpXErrors() {}
#endif
