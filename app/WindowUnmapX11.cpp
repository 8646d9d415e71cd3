// Takes an SDL window off an X display at once, without SDL's wait for a window manager.
#include "app/WindowUnmap.h"

#include "app/X11Window.h"

bool unmapX11Window(SDL_Window* window) {
    const std::optional<X11Window> x11 = x11WindowOf(window);
    if (!x11)
        return false;
    XUnmapWindow(x11->display, x11->window);
    XFlush(x11->display);
    return true;
}
