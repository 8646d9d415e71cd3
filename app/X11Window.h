// The X display and window an SDL window lives on, for the player's X11 files only: Xlib's
// `Window` type would clash with the demo's class elsewhere.
#pragma once

#include <SDL.h>
#include <SDL_syswm.h>

#include <optional>

#if !defined(SDL_VIDEO_DRIVER_X11)
#error "the X11 files need an SDL built with its X11 video driver"
#endif

struct X11Window {
    Display* display;
    ::Window window;
};

// Where `window` lives on X; none under another video driver, or when SDL cannot say.
std::optional<X11Window> x11WindowOf(SDL_Window* window);
