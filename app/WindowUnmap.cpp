// Takes an SDL window off an X display at once, without SDL's wait for a window manager.
// Apart from Window.cpp because Xlib's `Window` type would clash with the demo's class.
#include "app/WindowUnmap.h"

#include <SDL_syswm.h>

bool unmapX11Window(SDL_Window* window) {
#if defined(SDL_VIDEO_DRIVER_X11)
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    if (!SDL_GetWindowWMInfo(window, &info) || info.subsystem != SDL_SYSWM_X11)
        return false;
    XUnmapWindow(info.info.x11.display, info.info.x11.window);
    XFlush(info.info.x11.display);
    return true;
#else
    (void)window;
    return false;
#endif
}
