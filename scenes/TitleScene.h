// The first 18 seconds: sprites from the title atlas fading over white and a pulsing star.
#pragma once

#include "gl/Matrix4.h"
#include "gl/ScreenQuad.h"

#include <memory>

// Where one sprite lies in the title atlas, as fractions of the atlas's size.
struct TitleSprite {
    const char* uniform; // the shader's vec4 uniform, "uv_" + the sprite's name
    float u, v, width, height;
};

// The ten sprites in the order the shader composes them is its own; this is the order in which
// their rectangles are set every frame.
extern const TitleSprite titleSprites[10];

class TitleScene {
public:
    // Makes program 0 current, uploads the title atlas and the scene's quad.
    // `start` is the demo clock at which the scene starts (seconds); width and height are the
    // window's size in pixels. Throws if the atlas cannot be decoded.
    void setup(double start, float width, float height);

    // Draws the frame for demo clock `clock` (seconds), relying on the GL state of setup.
    void draw(double clock);
    // Deletes the scene's texture and quad objects; needs the context they were made in.
    void release();

    // Follows a new window size in pixels: the quad and the projection; the scene keeps its
    // texture and buffers. Only while the scene is set up and its objects are bound.
    void resize(float width, float height);

private:
    double startTime = 0.0;
    GLuint atlas = 0; // the title atlas texture, 0 before setup
    std::unique_ptr<DMGL::Matrix4> projection;
    DMGL::ScreenQuad quad;
};
