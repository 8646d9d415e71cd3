// The demo's one window, its OpenGL context, the letterboxed drawing area and GLEW.
#include "app/Window.h"

#include "app/Letterbox.h"
#include "app/MonitorMode.h"
#include "app/WindowUnmap.h"
#include "app/XErrorTrap.h"

#include <GL/glew.h>

#include <cstdio>
#include <cstring>
#include <stdexcept>
#include <string>

namespace {

constexpr const char* kTitle = "One Quill Wisp";

[[noreturn]] void fail(const std::string& what, const std::string& reason) {
    throw std::runtime_error(what + ": " + reason);
}

// The desktop resolution of `display`, or with -1 of the display a new window would open on.
SDL_DisplayMode desktopMode(int display) {
    if (display < 0) {
        SDL_Window* probe = SDL_CreateWindow("", 0, 0, 0, 0, 0);
        if (!probe)
            fail("cannot create a window", SDL_GetError());
        display = SDL_GetWindowDisplayIndex(probe);
        SDL_DestroyWindow(probe);
    }
    SDL_DisplayMode mode{};
    if (display < 0 || SDL_GetDesktopDisplayMode(display, &mode) != 0)
        fail("cannot read the desktop's display mode", SDL_GetError());
    return mode;
}

// Throws DisplayNotFound unless `display` is one of SDL's displays; the message lists them all.
void requireDisplay(int display) {
    const int count = SDL_GetNumVideoDisplays();
    if (display < count)
        return;
    std::string list;
    for (int i = 0; i < count; ++i) {
        SDL_Rect bounds{};
        SDL_GetDisplayBounds(i, &bounds);
        const char* name = SDL_GetDisplayName(i);
        list += (i ? "; " : "") + std::to_string(i) + " (" + (name ? name : "unnamed") + ", " +
                std::to_string(bounds.w) + "x" + std::to_string(bounds.h) + " at " +
                std::to_string(bounds.x) + "," + std::to_string(bounds.y) + ")";
    }
    throw DisplayNotFound("there is no display " + std::to_string(display) + "; " +
                          (count > 0 ? "the displays are " + list : "SDL finds no display"));
}

// The context's OpenGL version as major * 10 + minor, or 0 if it cannot be read. An OpenGL ES
// context names its API first ("OpenGL ES 3.0 ..."); the version is the first number.
int contextVersion() {
    const auto* text = reinterpret_cast<const char*>(glGetString(GL_VERSION));
    if (text)
        text = std::strpbrk(text, "0123456789");
    int major = 0, minor = 0;
    if (!text || std::sscanf(text, "%d.%d", &major, &minor) != 2)
        return 0;
    return major * 10 + minor;
}

// The names of the entry points the demo calls that the loader left unresolved, or "".
std::string missingEntryPoints() {
    const struct {
        const void* function;
        const char* name;
    } needed[] = {
        {reinterpret_cast<const void*>(glCreateShader), "glCreateShader"},
        {reinterpret_cast<const void*>(glShaderSource), "glShaderSource"},
        {reinterpret_cast<const void*>(glCompileShader), "glCompileShader"},
        {reinterpret_cast<const void*>(glGetShaderiv), "glGetShaderiv"},
        {reinterpret_cast<const void*>(glGetShaderInfoLog), "glGetShaderInfoLog"},
        {reinterpret_cast<const void*>(glDeleteShader), "glDeleteShader"},
        {reinterpret_cast<const void*>(glCreateProgram), "glCreateProgram"},
        {reinterpret_cast<const void*>(glAttachShader), "glAttachShader"},
        {reinterpret_cast<const void*>(glLinkProgram), "glLinkProgram"},
        {reinterpret_cast<const void*>(glGetProgramiv), "glGetProgramiv"},
        {reinterpret_cast<const void*>(glGetProgramInfoLog), "glGetProgramInfoLog"},
        {reinterpret_cast<const void*>(glUseProgram), "glUseProgram"},
        {reinterpret_cast<const void*>(glGetUniformLocation), "glGetUniformLocation"},
        {reinterpret_cast<const void*>(glUniform1f), "glUniform1f"},
        {reinterpret_cast<const void*>(glUniform1i), "glUniform1i"},
        {reinterpret_cast<const void*>(glUniform4f), "glUniform4f"},
        {reinterpret_cast<const void*>(glUniformMatrix4fv), "glUniformMatrix4fv"},
        {reinterpret_cast<const void*>(glGetAttribLocation), "glGetAttribLocation"},
        {reinterpret_cast<const void*>(glEnableVertexAttribArray), "glEnableVertexAttribArray"},
        {reinterpret_cast<const void*>(glVertexAttribPointer), "glVertexAttribPointer"},
        {reinterpret_cast<const void*>(glGenBuffers), "glGenBuffers"},
        {reinterpret_cast<const void*>(glBindBuffer), "glBindBuffer"},
        {reinterpret_cast<const void*>(glBufferData), "glBufferData"},
        {reinterpret_cast<const void*>(glGenVertexArrays), "glGenVertexArrays"},
        {reinterpret_cast<const void*>(glBindVertexArray), "glBindVertexArray"},
        {reinterpret_cast<const void*>(glActiveTexture), "glActiveTexture"},
    };
    std::string missing;
    for (const auto& entry : needed)
        if (!entry.function)
            missing += (missing.empty() ? "" : ", ") + std::string(entry.name);
    return missing;
}

// Viewport and scissor on the letterboxed 16:9 area of a window of the given size.
void setDrawingArea(int width, int height) {
    const Letterbox area = letterboxFor(width, height);
    glViewport(0, area.y, area.width, area.height);
    glScissor(0, area.y, area.width, area.height);
}

} // namespace

Window::Window(int width, int height, bool fullscreen, int display, bool resizable)
    : fullscreen(fullscreen) {
    // With no display server SDL falls back to drivers that show nothing; the show would then
    // play to nobody. Those drivers are only for a caller who asks for them.
    const char* driver = SDL_GetCurrentVideoDriver();
    const bool invisible =
        driver && (std::strcmp(driver, "offscreen") == 0 || std::strcmp(driver, "dummy") == 0);
    if (invisible && !SDL_getenv("SDL_VIDEODRIVER")) {
        const char* x11 = SDL_getenv("DISPLAY");
        const char* wayland = SDL_getenv("WAYLAND_DISPLAY");
        fail("no display to show the demo on",
             x11 || wayland ? std::string("SDL could not reach the display server ") +
                                  (x11 ? "DISPLAY=" + std::string(x11)
                                       : "WAYLAND_DISPLAY=" + std::string(wayland))
                            : "SDL found no display server (is DISPLAY or WAYLAND_DISPLAY set?)");
    }

    Uint32 flags = 0;
    int position = SDL_WINDOWPOS_UNDEFINED;
    if (display >= 0) {
        requireDisplay(display);
        position = fullscreen ? SDL_WINDOWPOS_UNDEFINED_DISPLAY(display)
                              : SDL_WINDOWPOS_CENTERED_DISPLAY(display);
    }
    if (fullscreen) {
        if (width == 0) {
            const SDL_DisplayMode mode = desktopMode(display);
            width = mode.w;
            height = mode.h;
        }
        SDL_ShowCursor(0);
        flags = SDL_WINDOW_FULLSCREEN_DESKTOP;
    } else if (resizable) {
        flags = SDL_WINDOW_RESIZABLE;
    }
    flags |= SDL_WINDOW_OPENGL | SDL_WINDOW_SHOWN;

    // An X server may refuse a GLX request while SDL loads GL for the window or makes the
    // context; the refusal then fails them with one line, not through Xlib's handler.
    const XErrorTrap xErrors;
    sdlWindow = SDL_CreateWindow(kTitle, position, position, width, height, flags);
    std::string refused = xErrors.firstError(sdlWindow);
    if (!sdlWindow || !refused.empty()) {
        if (sdlWindow)
            SDL_DestroyWindow(sdlWindow);
        fail("cannot create the window", refused.empty() ? SDL_GetError() : refused);
    }
    SDL_GetWindowSize(sdlWindow, &windowWidth, &windowHeight);
    if (fullscreen)
        watchMonitorModes(sdlWindow);

    try {
        SDL_GL_SetAttribute(SDL_GL_CONTEXT_MAJOR_VERSION, 3);
        SDL_GL_SetAttribute(SDL_GL_CONTEXT_MINOR_VERSION, 0);
        glContext = SDL_GL_CreateContext(sdlWindow);
        refused = xErrors.firstError(sdlWindow);
        if (!glContext || !refused.empty())
            fail("cannot create an OpenGL 3.0 context", refused.empty() ? SDL_GetError() : refused);
        const int version = contextVersion();
        if (version < 30)
            fail("the OpenGL context is older than 3.0",
                 version ? "version " + std::to_string(version / 10) + "." +
                               std::to_string(version % 10)
                         : "its version cannot be read");

        setDrawingArea(width, height);
        glEnable(GL_SCISSOR_TEST);

        // Under EGL, glewInit reports a GLX-only error although every GL entry point is
        // loaded, so the entry points themselves decide.
        const GLenum glewResult = glewInit();
        const std::string missing = missingEntryPoints();
        if (!missing.empty())
            fail("cannot load the OpenGL entry points (" + missing + ")",
                 reinterpret_cast<const char*>(glewGetErrorString(glewResult)));
    } catch (...) {
        if (glContext)
            SDL_GL_DeleteContext(glContext);
        SDL_DestroyWindow(sdlWindow);
        throw;
    }
}

Window::~Window() {
    SDL_GL_DeleteContext(glContext);
    SDL_DestroyWindow(sdlWindow);
    SDL_Quit();
}

void Window::hide() const {
    // Under X, SDL_HideWindow first takes a fullscreen window out of fullscreen and waits up to
    // 100 ms for a window manager to answer; unmapping the window takes it off at once.
    if (!unmapX11Window(sdlWindow))
        SDL_HideWindow(sdlWindow);
}

void Window::clear() const {
    glDisable(GL_SCISSOR_TEST);
    glClearColor(0, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT);
    glEnable(GL_SCISSOR_TEST);
}

void Window::resize(int width, int height) {
    windowWidth = width;
    windowHeight = height;
    setDrawingArea(width, height);
    clear(); // what a resized window holds outside the drawing area is undefined until drawn
}

std::optional<Window::Size> Window::followSizeChange(const SDL_Event& event) {
    if (fullscreen)
        followMonitorMode(sdlWindow, event); // its size change comes as an event of its own
    if (event.type != SDL_WINDOWEVENT || event.window.event != SDL_WINDOWEVENT_SIZE_CHANGED)
        return std::nullopt;
    Size size{0, 0};
    SDL_GL_GetDrawableSize(sdlWindow, &size.width, &size.height);
    if (size.width <= 0 || size.height <= 0 ||
        (size.width == windowWidth && size.height == windowHeight))
        return std::nullopt;
    return size;
}

void Window::swap() const {
    SDL_GL_SwapWindow(sdlWindow);
}
