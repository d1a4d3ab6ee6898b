#pragma once
// SDL input events onto the shell's event queue, through the same virtual-key
// numbers (and so the same KeyCode numbers) as the Windows keymap.
#include <SDL.h>

#include "app/input.h"

// Queues the events of keys, text, mouse buttons, wheel and motion. Returns
// false for events it does not handle (window events and the like).
bool queueSdlInputEvent(App* app, const SDL_Event& event);
