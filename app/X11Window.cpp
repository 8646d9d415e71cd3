// The X display and window an SDL window lives on.
#include "app/X11Window.h"

std::optional<X11Window> x11WindowOf(SDL_Window* window) {
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    if (!window || !SDL_GetWindowWMInfo(window, &info) || info.subsystem != SDL_SYSWM_X11)
        return std::nullopt;
    return X11Window{info.info.x11.display, info.info.x11.window};
}
