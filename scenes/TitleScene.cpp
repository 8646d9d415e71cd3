// The first 18 seconds: sprites from the title atlas fading over white and a pulsing star.
#include "scenes/TitleScene.h"

#include "gl/ProgramRegistry.h"
#include "scenes/AtlasTexture.h"

#include <algorithm>

namespace {

const TitleSprite kCalled = {"called", 0.0009765625f, 0.0009765625f, 0.18310546875f, 0.05078125f};
const TitleSprite kHereGoes = {"heregoes", 0.18505859375f, 0.0009765625f, 0.33984375f,
                               0.05517578125f};
const TitleSprite kKelpworks = {"kelpworks", 0.0009765625f, 0.05712890625f, 0.9375f, 0.453125f};
const TitleSprite kWisp = {"wisp", 0.0009765625f, 0.51123046875f, 0.294921875f, 0.22802734375f};
const TitleSprite kWispLogo = {"wisplogo", 0.296875f, 0.51123046875f, 0.5927734375f,
                               0.28466796875f};
const TitleSprite kPresents = {"presents", 0.0009765625f, 0.796875f, 0.283203125f, 0.04736328125f};
const TitleSprite kDuskmere = {"duskmere", 0.28515625f, 0.796875f, 0.59521484375f, 0.06689453125f};
const TitleSprite kSuchWisp = {"suchwisp", 0.0009765625f, 0.86474609375f, 0.14404296875f,
                               0.0615234375f};
const TitleSprite kVeryQuill = {"veryquill", 0.14599609375f, 0.86474609375f, 0.1484375f,
                                0.06298828125f};
const TitleSprite kWow = {"wow", 0.29541015625f, 0.86474609375f, 0.06103515625f, 0.03173828125f};

constexpr int kElementPad = 1; // pixels added around an element's rectangle

bool shown(float start, float finish, float time) {
    return start < time && time < finish;
}

// The element's screen rectangle at `time`, in uv units.
UvRect rectAt(const TitleElement& e, float time) {
    const float left = e.left(time);
    return UvRect{left, e.y, left + e.w, e.y + e.h, false};
}

bool meet(const UvRect& a, const UvRect& b) {
    return a.left <= b.right && b.left <= a.right && a.top <= b.bottom && b.top <= a.bottom;
}

} // namespace

const TitleElement titleElements[kTitleElements] = {
    {&kKelpworks, 1.5f, 3.9f, 0.8f, 0.3f, 0.2f, 0.7f, 0.6f, true, false},
    {&kPresents, 4.0f, 5.6f, 0.2f, 0.3f, 0.45f, 0.4f, 0.1f, false, false},
    {&kDuskmere, 5.8f, 8.0f, 0.2f, 0.15f, 0.45f, 0.7f, 0.1f, false, false},
    {&kCalled, 6.8f, 8.0f, 0.3f, 0.65f, 0.6f, 0.2f, 0.08f, false, false},
    {&kWispLogo, 8.2f, 14.8f, 0.3f, 0.025f, 0.2f, 0.55f, 0.5f, false, true},
    {&kWisp, 8.2f, 14.8f, 0.2f, 0.62f, 0.35f, 0.28f, 0.35f, false, false},
    {&kWow, 11.5f, 12.3f, 0.3f, 0.6f, 0.3f, 0.06f, 0.05f, false, false},
    {&kSuchWisp, 12.5f, 12.9f, 0.2f, 0.8f, 0.33f, 0.12f, 0.09f, false, false},
    {&kVeryQuill, 13.0f, 14.3f, 0.3f, 0.8f, 0.67f, 0.14f, 0.1f, false, false},
    {&kHereGoes, 15.5f, 17.5f, 0.3f, 0.3f, 0.45f, 0.4f, 0.1f, false, false},
};

void TitleScene::prepare(const std::shared_ptr<DMGL::Image>& titleAtlas, float width,
                         float height) {
    windowHeight = static_cast<int>(height);
    viewport = currentViewport();
    atlas = uploadAtlas(titleAtlas);
    projection = quad.setupQuad(width, height);
    for (int program : {DMGL::TitleProgram, DMGL::TitleStarProgram}) {
        DMGL::useProgram(program);
        DMGL::setProjection(*projection);
        DMGL::current().setUniform1i("sampler", 0);
        DMGL::current().setUniform2f("star_window", kStarShow, kStarHide);
    }
}

void TitleScene::bindState() const {
    quad.bind();
    glActiveTexture(GL_TEXTURE0);
    glBindTexture(GL_TEXTURE_2D, atlas);
    glDisable(GL_BLEND);
    glEnable(GL_SCISSOR_TEST);
}

void TitleScene::warm() const {
    bindState();
    const int none[1] = {0};
    const PixelRect pixel{viewport.x, std::max(viewport.y, 0), 1, 1};
    drawChain(none, 0, false, 0.0f, pixel);
    drawChain(none, 0, true, 0.0f, pixel);
}

void TitleScene::setup(double start) {
    startTime = start;
    bindState();
    DMGL::useProgram(DMGL::TitleProgram);
}

void TitleScene::draw(double clock) {
    const float time = static_cast<float>(clock - startTime);
    bindState();

    // A swap leaves the back buffer undefined: the bands are cleared on every frame.
    glClearColor(0, 0, 0, 1);
    for (const PixelRect& band : {bandAbove(viewport, windowHeight), bandBelow(viewport)}) {
        if (band.empty())
            continue;
        scissorTo(band);
        glClear(GL_COLOR_BUFFER_BIT);
    }

    const bool star = shown(kStarShow, kStarHide, time);
    if (star) {
        drawChain(nullptr, 0, true, time, viewport);
    } else {
        scissorTo(viewport);
        glClearColor(1, 1, 1, 1);
        glClear(GL_COLOR_BUFFER_BIT);
    }

    // Each shown element is drawn over its own rectangle, composed with every shown element whose
    // rectangle meets it, in timeline order; where rectangles overlap, both draws give the same.
    int visible[kTitleElements];
    int visibleCount = 0;
    for (int i = 0; i < kTitleElements; ++i)
        if (shown(titleElements[i].start, titleElements[i].finish, time))
            visible[visibleCount++] = i;
    for (int v = 0; v < visibleCount; ++v) {
        const UvRect own = rectAt(titleElements[visible[v]], time);
        int chain[kTitleElements];
        int count = 0;
        for (int w = 0; w < visibleCount; ++w)
            if (meet(own, rectAt(titleElements[visible[w]], time)))
                chain[count++] = visible[w];
        drawChain(chain, count, star, time, pixelsCovering(own, viewport, kElementPad));
    }
    scissorTo(viewport);
}

void TitleScene::drawChain(const int* chain, int count, bool star, float time,
                           const PixelRect& area) const {
    if (area.empty())
        return;
    float atlasRects[4 * kTitleElements], screenRects[4 * kTitleElements];
    float timings[3 * kTitleElements], additive[kTitleElements];
    for (int i = 0; i < count; ++i) {
        const TitleElement& e = titleElements[chain[i]];
        const float rect[4] = {e.sprite->u, e.sprite->v, e.sprite->width, e.sprite->height};
        const float screen[4] = {e.left(time), e.y, e.w, e.h};
        const float timing[3] = {e.speed, e.start, e.finish};
        std::copy(rect, rect + 4, atlasRects + 4 * i);
        std::copy(screen, screen + 4, screenRects + 4 * i);
        std::copy(timing, timing + 3, timings + 3 * i);
        additive[i] = e.additive ? 1.0f : 0.0f;
    }
    DMGL::useProgram(star ? DMGL::TitleStarProgram : DMGL::TitleProgram);
    const DMGL::Program& program = DMGL::current();
    quad.setQuadAttributes();
    program.setUniform1f("time", time);
    program.setUniform1i("element_count", count);
    if (count > 0) {
        program.setUniform4fv("element_uv", count, atlasRects);
        program.setUniform4fv("element_pos", count, screenRects);
        program.setUniform3fv("element_timing", count, timings);
        program.setUniform1fv("element_additive", count, additive);
    }
    scissorTo(area);
    quad.drawQuad();
}
