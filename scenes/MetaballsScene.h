// From 18 seconds on: five ray-marched metaballs, with the greetings overlay on top.
#pragma once

#include "gl/Matrix4.h"
#include "gl/ScreenQuad.h"

#include <memory>

class MetaballsScene {
public:
    bool isStarted() const { return startTime >= 0.0; }

    // Uploads the greetings atlas, switches the letterbox scissor off, and prepares the quad
    // with the projection on programs 1 and 2; leaves program 2 current. `start` is the demo
    // clock (seconds) at which the scene starts. Throws if the atlas cannot be decoded.
    void setup(double start, float width, float height);

    // Draws the frame for demo clock `clock` (seconds), overlay included.
    void draw(double clock);

    // Follows a new window size in pixels: the quad, the sprites' places and the projection;
    // the scene keeps its texture and buffers. Only once set up.
    void resize(float width, float height);

    // The greetings overlay, `time` seconds after it began (scene time - 47); time > 0.
    void drawGreetings(double time);
    // Deletes the scene's texture and quad objects; needs the context they were made in.
    void release();

private:
    double startTime = -1.0;
    GLuint atlas = 0;            // the greetings atlas texture, 0 before setup
    float width = 0, height = 0; // window size in pixels
    std::unique_ptr<DMGL::Matrix4> projection;
    DMGL::ScreenQuad quad;
};
