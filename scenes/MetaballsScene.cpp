// From 18 seconds on: five ray-marched metaballs, with the greetings overlay on top.
#include "scenes/MetaballsScene.h"

#include "content/Resources.h"
#include "gl/ProgramRegistry.h"
#include "scenes/AtlasTexture.h"
#include "scenes/GreetingsLayout.h"

#include <GL/glew.h>

namespace {
constexpr double kGreetingsStart = 47.0; // scene time at which the overlay begins, seconds

void placeSprite(DMGL::ScreenQuad& quad, const SpriteRect& r) {
    quad.setQuadRect(r.left, r.top, r.right, r.bottom, r.uLeft, r.vTop, r.uRight, r.vBottom);
    quad.uploadQuad();
}
} // namespace

void MetaballsScene::setup(double start, float w, float h) {
    width = w;
    height = h;
    startTime = start;
    release();
    atlas = uploadAtlas(greetingsAtlasData, greetingsAtlasSize, 2048, 512, "greetings");
    glDisable(GL_SCISSOR_TEST);
    DMGL::useProgram(DMGL::MetaballsProgram);
    projection = quad.setupQuad(width, height);
    DMGL::setProjection(*projection);
    DMGL::useProgram(DMGL::PassThroughProgram);
    DMGL::setProjection(*projection);
}

void MetaballsScene::resize(float w, float h) {
    width = w;
    height = h;
    quad.setSize(width, height);
    projection = std::make_unique<DMGL::Matrix4>(quad.projectionValues().data());
    for (const int program : {DMGL::MetaballsProgram, DMGL::PassThroughProgram}) {
        DMGL::useProgram(program);
        DMGL::setProjection(*projection);
    }
}

void MetaballsScene::release() {
    quad.release();
    glDeleteTextures(1, &atlas);
    atlas = 0;
}

void MetaballsScene::draw(double clock) {
    const double sceneTime = clock - startTime;
    DMGL::useProgram(DMGL::MetaballsProgram);
    quad.setQuadRect(0, 0, width, height, 0, 0, 1, 1);
    quad.uploadQuad();
    quad.setQuadAttributes();
    DMGL::current().setUniform1i("sampler", 0);
    DMGL::setTime(sceneTime);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glClearColor(0, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT);
    quad.drawQuad();
    if (sceneTime > kGreetingsStart)
        drawGreetings(sceneTime - kGreetingsStart);
}

void MetaballsScene::drawGreetings(double time) {
    DMGL::useProgram(DMGL::PassThroughProgram);
    const int captionIndex = captionIndexAt(time);
    if (captionIndex >= kGreetingCount)
        return;

    // The heading reuses the attribute bindings made for program 1 this frame: both programs
    // link the same vertex shader, so "position" and "uvIn" have the same locations.
    placeSprite(quad, headingRect(width, height));
    quad.drawQuad();

    placeSprite(quad, captionRect(captionIndex, width, height));
    quad.setQuadAttributes();
    DMGL::current().setUniform1i("sampler", 0);
    quad.drawQuad();
}
