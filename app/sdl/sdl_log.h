#pragma once
// A failure line, then SDL's own reason on a line of its own.
#include <SDL.h>

#include "app/app.h"

inline void logSdlFailure(const char* line) {
    logLine(line);
    logLine(SDL_GetError());
}
