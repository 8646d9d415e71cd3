// The first 18 seconds: sprites from the title atlas fading over white and a pulsing star.
#include "scenes/TitleScene.h"

#include "content/Resources.h"
#include "gl/ProgramRegistry.h"
#include "scenes/AtlasTexture.h"

#include <GL/glew.h>

const TitleSprite titleSprites[10] = {
    {"uv_called", 0.0009765625f, 0.0009765625f, 0.18310546875f, 0.05078125f},
    {"uv_heregoes", 0.18505859375f, 0.0009765625f, 0.33984375f, 0.05517578125f},
    {"uv_kelpworks", 0.0009765625f, 0.05712890625f, 0.9375f, 0.453125f},
    {"uv_wisp", 0.0009765625f, 0.51123046875f, 0.294921875f, 0.22802734375f},
    {"uv_wisplogo", 0.296875f, 0.51123046875f, 0.5927734375f, 0.28466796875f},
    {"uv_presents", 0.0009765625f, 0.796875f, 0.283203125f, 0.04736328125f},
    {"uv_duskmere", 0.28515625f, 0.796875f, 0.59521484375f, 0.06689453125f},
    {"uv_suchwisp", 0.0009765625f, 0.86474609375f, 0.14404296875f, 0.0615234375f},
    {"uv_veryquill", 0.14599609375f, 0.86474609375f, 0.1484375f, 0.06298828125f},
    {"uv_wow", 0.29541015625f, 0.86474609375f, 0.06103515625f, 0.03173828125f},
};

void TitleScene::setup(double start, float width, float height) {
    startTime = start;
    DMGL::useProgram(DMGL::TitleProgram);
    release();
    atlas = uploadAtlas(titleAtlasData, titleAtlasSize, 2048, 2048, "title");
    projection = quad.setupQuad(width, height);
    DMGL::setProjection(*projection);
}

void TitleScene::resize(float width, float height) {
    DMGL::useProgram(DMGL::TitleProgram);
    quad.setSize(width, height);
    quad.uploadQuad();
    projection = std::make_unique<DMGL::Matrix4>(quad.projectionValues().data());
    DMGL::setProjection(*projection);
}

void TitleScene::release() {
    quad.release();
    glDeleteTextures(1, &atlas);
    atlas = 0;
}

void TitleScene::draw(double clock) {
    const double sceneTime = clock - startTime;
    quad.setQuadAttributes();
    DMGL::current().setUniform1i("sampler", 0);
    DMGL::setTime(sceneTime);
    for (const TitleSprite& sprite : titleSprites)
        DMGL::current().setUniform4f(sprite.uniform, sprite.u, sprite.v, sprite.width,
                                     sprite.height);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glClearColor(1, 1, 1, 1);
    glClear(GL_COLOR_BUFFER_BIT);
    quad.drawQuad();
}
