// From 18 seconds on: five ray-marched metaballs, with the greetings overlay on top.
#pragma once

#include "gl/Image.h"
#include "gl/Matrix4.h"
#include "gl/ScreenQuad.h"
#include "gl/Texture.h"
#include "scenes/ViewportRect.h"

#include <GL/glew.h>

#include <memory>

class MetaballsScene {
public:
    // Start-up work, before the first frame: makes the scene's quad and projection. width and
    // height are the window's size in pixels; the current viewport is the area the picture
    // fills.
    void prepare(float width, float height);
    // Takes the uploaded greetings atlas (release deletes it) and gives programs 1 and 2, which
    // must be built, the projection. The scene draws only from here on.
    void adoptAtlas(DMGL::Texture texture);
    bool hasAtlas() const { return static_cast<bool>(atlas); }

    // Draws each of the scene's programs once into one pixel at the viewport's bottom-left
    // corner, with the GL state of the scene's draws, so that the driver compiles them before
    // the scene needs them. The caller draws a frame over that pixel before the next swap.
    void warm() const;

    bool isStarted() const { return startTime >= 0.0; }

    // Binds what prepare made. `start` is the demo clock (seconds) at which the scene starts.
    void setup(double start);

    // Draws the frame for demo clock `clock` (seconds), overlay included, into the whole window:
    // black bands, and the picture in the viewport. The shader runs only over the rectangles that
    // its balls can reach; the rest of the viewport is the white it would have drawn.
    void draw(double clock);

    // Follows a new window size in pixels and the current viewport: the quad, the sprites'
    // places and the projection; the scene keeps its texture and buffers. Only once prepared.
    void resize(float width, float height);

    // The greetings overlay, `time` seconds after it began (scene time - 47); time > 0.
    void drawGreetings(double time);
    // Deletes the scene's texture and quad objects; needs the context they were made in.
    void release();

private:
    void bindState() const;

    double startTime = -1.0;
    float width = 0, height = 0; // window size in pixels
    PixelRect viewport{0, 0, 0, 0};
    DMGL::Texture atlas; // the greetings atlas, empty before adoptAtlas
    std::unique_ptr<DMGL::Matrix4> projection;
    DMGL::ScreenQuad quad;
};
