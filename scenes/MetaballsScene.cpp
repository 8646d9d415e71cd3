// From 18 seconds on: five ray-marched metaballs, with the greetings overlay on top.
#include "scenes/MetaballsScene.h"

#include "gl/ProgramRegistry.h"
#include "scenes/GreetingsLayout.h"
#include "scenes/MetaballsBound.h"

#include <algorithm>
#include <utility>

namespace {
constexpr double kGreetingsStart = 47.0; // scene time at which the overlay begins, seconds
constexpr int kBoundPad = 2;             // pixels added around the bound's rectangle

void placeSprite(DMGL::ScreenQuad& quad, const SpriteRect& r) {
    quad.setQuadRect(r.left, r.top, r.right, r.bottom, r.uLeft, r.vTop, r.uRight, r.vBottom);
    quad.uploadQuad();
}
} // namespace

void MetaballsScene::prepare(float w, float h) {
    width = w;
    height = h;
    viewport = currentViewport();
    release();
    projection = quad.setupQuad(width, height);
}

void MetaballsScene::adoptAtlas(DMGL::Texture texture) {
    atlas = std::move(texture);
    DMGL::useProgram(DMGL::MetaballsProgram);
    DMGL::setProjection(*projection);
    DMGL::useProgram(DMGL::PassThroughProgram);
    DMGL::setProjection(*projection);
}

void MetaballsScene::resize(float w, float h) {
    width = w;
    height = h;
    viewport = currentViewport();
    quad.setSize(width, height);
    projection = std::make_unique<DMGL::Matrix4>(quad.projectionValues().data());
    if (!hasAtlas())
        return; // adoptAtlas gives the programs the projection
    for (const int program : {DMGL::MetaballsProgram, DMGL::PassThroughProgram}) {
        DMGL::useProgram(program);
        DMGL::setProjection(*projection);
    }
}

void MetaballsScene::release() {
    quad.release();
    atlas = DMGL::Texture();
}

void MetaballsScene::bindState() const {
    quad.bind();
    glActiveTexture(GL_TEXTURE0);
    glBindTexture(GL_TEXTURE_2D, atlas.name());
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glEnable(GL_SCISSOR_TEST);
}

void MetaballsScene::warm() const {
    bindState();
    scissorTo(PixelRect{viewport.x, std::max(viewport.y, 0), 1, 1});
    DMGL::useProgram(DMGL::MetaballsProgram);
    quad.setQuadAttributes();
    DMGL::setTime(0.0);
    quad.drawQuad();
    DMGL::useProgram(DMGL::PassThroughProgram);
    quad.setQuadAttributes();
    DMGL::current().setUniform1i("sampler", 0);
    quad.drawQuad();
}

void MetaballsScene::setup(double start) {
    startTime = start;
    bindState();
    DMGL::useProgram(DMGL::MetaballsProgram);
}

void MetaballsScene::draw(double clock) {
    const double sceneTime = clock - startTime;
    bindState();
    // The whole window black: the bands, and the ground the marched rectangle is blended onto.
    glDisable(GL_SCISSOR_TEST);
    glClearColor(0, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT);
    glEnable(GL_SCISSOR_TEST);

    DMGL::useProgram(DMGL::MetaballsProgram);
    quad.setQuadRect(0, 0, width, height, 0, 0, 1, 1);
    quad.uploadQuad();
    quad.setQuadAttributes();
    DMGL::current().setUniform1i("sampler", 0);
    DMGL::setTime(sceneTime);

    // Outside the balls' bounds every ray stays white: the viewport is cleared white, and each
    // marched rectangle black again for the blend. The quad always covers the whole viewport, so
    // each marched pixel sees the same coordinates as without the scissor.
    std::vector<PixelRect> reach;
    for (const UvRect& bound : metaballsBounds(sceneTime))
        reach.push_back(pixelsCovering(bound, viewport, kBoundPad));
    scissorTo(viewport);
    glClearColor(1, 1, 1, 1);
    glClear(GL_COLOR_BUFFER_BIT);
    glClearColor(0, 0, 0, 1);
    for (const PixelRect& marched : disjointCover(reach)) {
        scissorTo(marched);
        glClear(GL_COLOR_BUFFER_BIT);
        quad.drawQuad();
    }
    scissorTo(viewport);

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
