#pragma once
// Xlib's default error handler ends the process with exit code 1 and no log
// line. During start-up (a GL context the server cannot make under a memory
// cap, say) an X error is caught instead and fails the start-up step that
// meets it, so the run ends through the usual failure line, teardown, end
// line and 255.
#include <SDL.h>

// After SDL_Init: from here on X errors are recorded, not fatal.
void catchStartUpXErrors();
// Whether an X error arrived so far (pending ones are fetched first).
bool xErrorDuringStartUp(SDL_Window* window);
// After a successful start-up: SDL's own handler again.
void releaseStartUpXErrors();
