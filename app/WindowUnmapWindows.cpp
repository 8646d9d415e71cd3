// Windows has no X display to take a window off; SDL's own hiding is immediate there.
#include "app/WindowUnmap.h"

bool unmapX11Window(SDL_Window*) {
    return false;
}
