#pragma once
// SDL input events onto the shell's event queue, through the same virtual-key
// numbers (and so the same KeyCode numbers) as the Windows keymap.
#include <SDL.h>

#include "app/shell.h"

// The virtual keys one SDL key press stands for: shift, control and alt give
// the generic key first and then the left or right one; any other key gives
// one (0 when there is no matching virtual key). Returns how many were written.
int virtualKeysFromSdlKey(const SDL_Keysym& key, int32_t virtualKeys[2]);

// Queues the events of keys, text, mouse buttons, wheel and motion. Returns
// false for events it does not handle (window events and the like).
bool queueSdlInputEvent(App* app, const SDL_Event& event);
