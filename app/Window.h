// The demo's one window, its OpenGL context, the letterboxed drawing area and GLEW.
#pragma once

#include <SDL.h>

#include <optional>
#include <stdexcept>

// Thrown when the display asked for is not there; the message lists the displays there are.
class DisplayNotFound : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

class Window {
public:
    // Fullscreen with width 0 opens at the desktop's resolution and hides the cursor.
    // `display` (counted from 0) picks the display to open on: fullscreen at its desktop
    // resolution, or a window centred on it; -1 leaves the choice to SDL.
    // Leaves the context current, viewport and scissor on the 16:9 area, and GL entry points
    // loaded. Throws DisplayNotFound for a display that does not exist, and std::runtime_error
    // naming what failed (window, context, OpenGL version, entry points) with SDL's or GLEW's
    // reason.
    // A window that is not fullscreen may be resized by the user when `resizable`.
    Window(int width, int height, bool fullscreen, int display = -1, bool resizable = true);
    ~Window();
    Window(const Window&) = delete;
    Window& operator=(const Window&) = delete;

    void swap() const;
    // Takes the window off the screen at once; the context stays usable until destruction.
    void hide() const;
    // Clears the whole window, bands included, to black. The scissor test, which every draw
    // keeps to, stays on, and the clear colour is black afterwards.
    void clear() const;
    // Takes a new size in pixels: the letterboxed viewport and scissor follow it, and the whole
    // window is cleared, so that bands the picture never writes start black.
    void resize(int width, int height);

    struct Size {
        int width, height; // pixels
    };
    // Follows an event from SDL's queue: a fullscreen window is moved onto its monitor's new
    // mode where no window manager does it. Returns the window's drawable size when it now
    // differs from the size the drawing area is set for (the user resized the window, or the
    // monitor under a fullscreen window changed mode); the caller then resizes.
    std::optional<Size> followSizeChange(const SDL_Event& event);

    int width() const { return windowWidth; }
    int height() const { return windowHeight; }

private:
    SDL_Window* sdlWindow = nullptr;
    SDL_GLContext glContext = nullptr;
    int windowWidth = 0;
    int windowHeight = 0;
    bool fullscreen = false;
};
