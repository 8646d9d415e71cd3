// Keeps the X server's refusals while the window and its GL context are made, which Xlib's default
// handler would print over several lines before it ends the program.
#pragma once

#include <SDL.h>

#include <string>

// While it lives, every X protocol error of the process is kept instead of ending the program;
// Xlib's previous handler comes back when it goes. Does nothing where X11 is not built in.
class XErrorTrap {
public:
    XErrorTrap();
    ~XErrorTrap();
    XErrorTrap(const XErrorTrap&) = delete;
    XErrorTrap& operator=(const XErrorTrap&) = delete;

    // Waits until the X server has answered every request sent on the display `window` lives on
    // (none for a null window or another video driver), then returns the first error kept, as
    // one line, or "" when the server refused nothing.
    std::string firstError(SDL_Window* window) const;
};
