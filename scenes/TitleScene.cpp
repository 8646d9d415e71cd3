// The first 18 seconds: sprites from the title atlas fading over white and a pulsing star.
#include "scenes/TitleScene.h"

#include "gl/ProgramRegistry.h"
#include "scenes/StarEdges.h"

#include <algorithm>
#include <stdexcept>

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
constexpr int kEdgeBlock = 8;  // pixels: the side of the blocks that hold the star's edges
// Edge blocks at most this many blocks apart in a row are drawn as one run: a draw costs more
// than the literal arithmetic over the gap.
constexpr int kEdgeGap = 2;
constexpr int kEdgeRows = 2;     // block rows of one edge run
constexpr int kStarBandRows = 4; // block rows of one draw of the star's extent
// How far from its edges the star's measure counts as near one: far above the difference between
// the angle-sum form and the literal arithmetic in single precision.
constexpr double kEdgeGuard = 2e-3;

bool shown(float start, float finish, float time) {
    return start < time && time < finish;
}

// The element's screen rectangle at `time`, in uv units.
UvRect rectAt(const TitleElement& e, float time) {
    const float left = e.left(time);
    return UvRect{left, e.y, left + e.w, e.y + e.h, false};
}

bool sameRect(const PixelRect& a, const PixelRect& b) {
    return a.x == b.x && a.y == b.y && a.width == b.width && a.height == b.height;
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

std::vector<TitleChain> titleChains(float time) {
    int visible[kTitleElements];
    int visibleCount = 0;
    for (int i = 0; i < kTitleElements; ++i)
        if (shown(titleElements[i].start, titleElements[i].finish, time))
            visible[visibleCount++] = i;
    std::vector<TitleChain> chains;
    for (int v = 0; v < visibleCount; ++v) {
        TitleChain chain{rectAt(titleElements[visible[v]], time), {}, 0};
        for (int w = 0; w < visibleCount; ++w)
            if (meet(chain.area, rectAt(titleElements[visible[w]], time))) {
                if (chain.count == DMGL::kTitleMaxElements)
                    throw std::logic_error("more title elements overlap than a draw composes");
                chain.elements[chain.count++] = visible[w];
            }
        chains.push_back(chain);
    }
    return chains;
}

void TitleScene::prepare(float width, float height) {
    windowHeight = static_cast<int>(height);
    viewport = currentViewport();
    release();
    projection = quad.setupQuad(width, height);
}

void TitleScene::adoptAtlas(GLuint texture) {
    atlas = texture;
    for (int program = 0; program < DMGL::kProgramCount; ++program) {
        if (program == DMGL::MetaballsProgram || program == DMGL::PassThroughProgram)
            continue;
        DMGL::useProgram(program);
        DMGL::setProjection(*projection);
        DMGL::current().setUniform1i("sampler", 0);
        DMGL::current().setUniform2f("star_window", kStarShow, kStarHide);
    }
}

void TitleScene::resize(float width, float height) {
    windowHeight = static_cast<int>(height);
    viewport = currentViewport();
    quad.setSize(width, height);
    quad.bind();
    quad.uploadQuad();
    projection = std::make_unique<DMGL::Matrix4>(quad.projectionValues().data());
    if (!hasAtlas())
        return; // adoptAtlas gives the programs the projection
    for (int program = 0; program < DMGL::kProgramCount; ++program) {
        if (program == DMGL::MetaballsProgram || program == DMGL::PassThroughProgram)
            continue;
        DMGL::useProgram(program);
        DMGL::setProjection(*projection);
    }
}

bool TitleScene::plainAt(double clock) const {
    const float time = static_cast<float>(clock - startTime);
    if (shown(kStarShow, kStarHide, time))
        return false;
    for (const TitleElement& e : titleElements)
        if (shown(e.start, e.finish, time))
            return false;
    return true;
}

void TitleScene::release() {
    quad.release();
    glDeleteTextures(1, &atlas);
    atlas = 0;
}

void TitleScene::bindState() const {
    quad.bind();
    glActiveTexture(GL_TEXTURE0);
    glBindTexture(GL_TEXTURE_2D, atlas);
    glDisable(GL_BLEND);
    glEnable(GL_SCISSOR_TEST);
}

void TitleScene::warm(int program) const {
    bindState();
    const int first[DMGL::kTitleMaxElements] = {};
    const PixelRect pixel{viewport.x, std::max(viewport.y, 0), 1, 1};
    int variant = 0;
    for (DMGL::TitleStar star :
         {DMGL::TitleStar::None, DMGL::TitleStar::Shape, DMGL::TitleStar::Exact})
        for (int count = star == DMGL::TitleStar::None ? 1 : 0; count <= DMGL::kTitleMaxElements;
             ++count)
            if (variant++ == program)
                drawChain(first, count, star, 0.0f, pixel);
}

void TitleScene::setup(double start) {
    startTime = start;
    bindState();
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
    // White wherever no draw below lands: outside the star and the elements.
    scissorTo(viewport);
    glClearColor(1, 1, 1, 1);
    glClear(GL_COLOR_BUFFER_BIT);

    const std::vector<TitleChain> chains = titleChains(time);
    std::vector<PixelRect> areas;
    for (const TitleChain& chain : chains)
        areas.push_back(pixelsCovering(chain.area, viewport, kElementPad));

    const bool star = shown(kStarShow, kStarHide, time);
    std::vector<PixelRect> edges;
    if (star) {
        if (!starBlocks || !sameRect(starBlocks->area(), viewport))
            starBlocks = std::make_unique<StarBlocks>(viewport, kEdgeBlock);
        starBlocks->classify(time, kEdgeGuard);
        edges = starBlocks->edgeRuns(kEdgeGap, kEdgeRows);
        // The star alone, where no element lies: by angle sums over its extent, then exactly
        // over its edges.
        useChain(nullptr, 0, DMGL::TitleStar::Shape, time);
        for (const PixelRect& band : starBlocks->starBands(kStarBandRows))
            for (const PixelRect& piece : subtract(band, areas))
                drawOver(piece);
        useChain(nullptr, 0, DMGL::TitleStar::Exact, time);
        for (const PixelRect& edge : edges)
            for (const PixelRect& piece : subtract(edge, areas))
                drawOver(piece);
    }

    for (size_t i = 0; i < chains.size(); ++i) {
        const TitleChain& chain = chains[i];
        if (star) {
            drawOnStar(chain.elements, chain.count, time, areas[i], edges);
        } else {
            useChain(chain.elements, chain.count, DMGL::TitleStar::None, time);
            drawOver(areas[i]);
        }
    }
    scissorTo(viewport);
}

void TitleScene::drawOnStar(const int* chain, int count, float time, const PixelRect& area,
                            const std::vector<PixelRect>& edges) const {
    if (area.empty())
        return;
    useChain(chain, count, DMGL::TitleStar::Shape, time);
    drawOver(area);
    bool exact = false;
    for (const PixelRect& edge : edges) {
        const PixelRect piece = intersection(edge, area);
        if (piece.empty())
            continue;
        if (!exact)
            useChain(chain, count, DMGL::TitleStar::Exact, time);
        exact = true;
        drawOver(piece);
    }
}

void TitleScene::drawChain(const int* chain, int count, DMGL::TitleStar star, float time,
                           const PixelRect& area) const {
    if (area.empty())
        return;
    useChain(chain, count, star, time);
    drawOver(area);
}

void TitleScene::useChain(const int* chain, int count, DMGL::TitleStar star, float time) const {
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
    DMGL::useProgram(DMGL::titleProgram(star, count));
    const DMGL::Program& program = DMGL::current();
    quad.setQuadAttributes();
    program.setUniform1f("time", time);
    if (star == DMGL::TitleStar::Shape) {
        float phase[4];
        starPhase(time, phase);
        program.setUniform4f("star_phase", phase[0], phase[1], phase[2], phase[3]);
    }
    if (count > 0) {
        program.setUniform4fv("element_uv", count, atlasRects);
        program.setUniform4fv("element_pos", count, screenRects);
        program.setUniform3fv("element_timing", count, timings);
        program.setUniform1fv("element_additive", count, additive);
    }
}

void TitleScene::drawOver(const PixelRect& area) const {
    if (area.empty())
        return;
    scissorTo(area);
    quad.drawQuad();
}
