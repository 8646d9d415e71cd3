// Where the player has no X display (Windows, a browser): the X11 window pieces do nothing, and
// SDL's own calls serve instead.
#include "app/MonitorMode.h"
#include "app/WindowUnmap.h"
#include "app/XErrorTrap.h"

bool unmapX11Window(SDL_Window*) {
    return false;
}

bool watchMonitorModes(SDL_Window*) {
    return false;
}

bool followMonitorMode(SDL_Window*, const SDL_Event&) {
    return false;
}

XErrorTrap::XErrorTrap() {}

XErrorTrap::~XErrorTrap() {}

std::string XErrorTrap::firstError(SDL_Window*) const {
    return "";
}
