// Keeps a fullscreen SDL window on X covering its monitor when the monitor changes mode and no
// window manager resizes the window for it.
#include "app/MonitorMode.h"

#include "app/X11Window.h"

#include <X11/extensions/Xrandr.h>

namespace {
int randrEventBase = -1; // the RandR extension's first event code; -1 until watched

// The two RandR calls, from libXrandr loaded at run time as SDL loads its own X extensions, so
// the player needs no more of X than libX11 to start. Null where the library is missing.
using QueryExtension = Bool (*)(Display*, int*, int*);
using SelectInput = void (*)(Display*, ::Window, int);
QueryExtension queryExtension = nullptr;
SelectInput selectInput = nullptr;

bool loadRandr() {
    static void* library = SDL_LoadObject("libXrandr.so.2");
    if (library && !queryExtension) {
        queryExtension =
            reinterpret_cast<QueryExtension>(SDL_LoadFunction(library, "XRRQueryExtension"));
        selectInput = reinterpret_cast<SelectInput>(SDL_LoadFunction(library, "XRRSelectInput"));
    }
    return queryExtension && selectInput;
}
} // namespace

bool watchMonitorModes(SDL_Window* window) {
    const std::optional<X11Window> x11 = x11WindowOf(window);
    int errorBase = 0;
    if (!x11 || !loadRandr() || !queryExtension(x11->display, &randrEventBase, &errorBase))
        return false;
    // A CRTC's change is a monitor's new mode. The X server tells it to every window of the
    // screen that asks; the root window is SDL's, which asks for outputs that come and go, and
    // the server keeps a client's first choice there, so the demo's own window asks.
    selectInput(x11->display, x11->window, RRCrtcChangeNotifyMask);
    SDL_EventState(SDL_SYSWMEVENT, SDL_ENABLE);
    return true;
}

bool followMonitorMode(SDL_Window* window, const SDL_Event& event) {
    if (event.type != SDL_SYSWMEVENT || randrEventBase < 0 ||
        event.syswm.msg->subsystem != SDL_SYSWM_X11)
        return false;
    const XEvent& x = event.syswm.msg->msg.x11.event;
    if (x.type != randrEventBase + RRNotify ||
        reinterpret_cast<const XRRNotifyEvent&>(x).subtype != RRNotify_CrtcChange)
        return false;
    const auto& crtc = reinterpret_cast<const XRRCrtcChangeNotifyEvent&>(x);
    const int width = static_cast<int>(crtc.width), height = static_cast<int>(crtc.height);
    if (crtc.mode == None || width <= 0 || height <= 0)
        return false; // a monitor switched off
    int left = 0, top = 0, windowWidth = 0, windowHeight = 0;
    SDL_GetWindowPosition(window, &left, &top);
    SDL_GetWindowSize(window, &windowWidth, &windowHeight);
    const bool under =
        left >= crtc.x && left < crtc.x + width && top >= crtc.y && top < crtc.y + height;
    if (!under || (windowWidth == width && windowHeight == height))
        return false;
    const std::optional<X11Window> x11 = x11WindowOf(window);
    if (!x11)
        return false;
    XMoveResizeWindow(x11->display, x11->window, crtc.x, crtc.y, static_cast<unsigned>(width),
                      static_cast<unsigned>(height));
    XFlush(x11->display);
    return true;
}
