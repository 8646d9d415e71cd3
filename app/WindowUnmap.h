// Takes an SDL window off an X display at once, without SDL's wait for a window manager.
#pragma once

#include <SDL.h>

// Unmaps `window` and flushes the request when it lives on X11; returns false, doing nothing,
// under any other video driver.
bool unmapX11Window(SDL_Window* window);
