// Keeps a fullscreen SDL window on X covering its monitor when the monitor changes mode and no
// window manager resizes the window for it.
#pragma once

#include <SDL.h>

// Asks to hear of the monitors' mode changes on the X display `window` lives on; SDL then passes
// them on as SDL_SYSWMEVENT. Returns false, doing nothing, under any other video driver or
// without the RandR extension.
bool watchMonitorModes(SDL_Window* window);

// Reads an event SDL passed on from X: when it tells that the monitor under `window`'s top-left
// corner now has another size than the window, moves and resizes the window onto the monitor, as
// a window manager does with a fullscreen window. SDL reports the window's new size by an
// SDL_WINDOWEVENT_SIZE_CHANGED of its own once X has done it. Returns whether it asked X.
bool followMonitorMode(SDL_Window* window, const SDL_Event& event);
