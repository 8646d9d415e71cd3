// The scenes as they were drawn before they were made fast: one quad over the whole viewport
// running the literal shader texts kept in bench/baseline. The reference for the equivalence
// tests and the baseline of the frame-time benchmark.
#pragma once

#include "gl/Matrix4.h"
#include "gl/Program.h"
#include "gl/ScreenQuad.h"
#include "gl/Texture.h"

#include <GL/glew.h>

#include <memory>
#include <string>

class LiteralScenes {
public:
    // Compiles the literal texts found in `baselineDir` and uploads both atlases. Needs the
    // demo's window and context current; width and height are the window's size in pixels.
    // The atlases go with the object, which must therefore go before the context.
    LiteralScenes(const std::string& baselineDir, float width, float height);

    // Draws the frame for demo clock `t` (seconds) as the literal scenes did: the title below
    // 18 s, the metaballs with the greetings overlay from 18 s on. Leaves the scissor on the
    // viewport.
    void draw(double t);

    // The floor: a quad over the viewport whose shader writes white at once.
    void drawFloor();

private:
    void bindQuad(const DMGL::Program& program);
    void drawTitle(double time);
    void drawMetaballs(double sceneTime);

    DMGL::Program title, metaballs, passThrough, white;
    DMGL::ScreenQuad quad;
    std::unique_ptr<DMGL::Matrix4> projection;
    float width, height;
    GLint viewport[4] = {0, 0, 0, 0};
    DMGL::Texture titleAtlas, greetingsAtlas;
};
