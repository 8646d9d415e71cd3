// Keeps the X server's refusals while the window and its GL context are made, which Xlib's default
// handler would print over several lines before it ends the program.
#include "app/XErrorTrap.h"

#include "app/X11Window.h"

namespace {
using ErrorHandler = int (*)(Display*, XErrorEvent*);
ErrorHandler previousHandler = nullptr;
// The first error kept: the error in words, and the refused request's major and minor opcodes.
struct {
    std::string what; // "" until the server refuses a request
    int major = 0, minor = 0;
} kept;

// Keeps the first error; Xlib goes on as if the request had not been refused. A handler may send
// the server nothing, so the request is named later.
int keepError(Display* display, XErrorEvent* event) {
    if (kept.what.empty()) {
        char text[256] = "";
        XGetErrorText(display, event->error_code, text, sizeof text);
        kept = {text[0] ? text : "error " + std::to_string(event->error_code), event->request_code,
                event->minor_code};
    }
    return 0;
}

// The request with major opcode `major` and minor `minor` as Xlib's error texts name it
// ("GLX request 3 (X_GLXCreateContext)"): an extension's is found among the server's.
std::string requestName(Display* display, int major, int minor) {
    std::string extension;
    int count = 0;
    char** names = major >= 128 && display ? XListExtensions(display, &count) : nullptr;
    for (int i = 0; i < count && extension.empty(); ++i) {
        int code = 0, firstEvent = 0, firstError = 0;
        if (XQueryExtension(display, names[i], &code, &firstEvent, &firstError) && code == major)
            extension = names[i];
    }
    if (names)
        XFreeExtensionList(names);
    if (extension.empty())
        return "request " + std::to_string(major) + "." + std::to_string(minor);
    char name[128] = "";
    const std::string key = extension + "." + std::to_string(minor);
    XGetErrorDatabaseText(display, "XRequest", key.c_str(), "", name, sizeof name);
    const std::string request = extension + " request " + std::to_string(minor);
    return name[0] ? request + " (" + name + ")" : request;
}
} // namespace

XErrorTrap::XErrorTrap() {
    kept = {};
    previousHandler = XSetErrorHandler(keepError);
}

XErrorTrap::~XErrorTrap() {
    XSetErrorHandler(previousHandler);
}

std::string XErrorTrap::firstError(SDL_Window* window) const {
    const std::optional<X11Window> x11 = x11WindowOf(window);
    Display* display = x11 ? x11->display : nullptr;
    if (display)
        XSync(display, False);
    if (kept.what.empty())
        return "";
    return "the X server refused the " + requestName(display, kept.major, kept.minor) + ": " +
           kept.what;
}
