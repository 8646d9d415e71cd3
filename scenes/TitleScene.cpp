// The first 18 seconds: sprites from the title atlas fading over white and a pulsing star.
#include "scenes/TitleScene.h"

#include "gl/ProgramRegistry.h"
#include "scenes/StarEdges.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>
#include <utility>

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
// The sizes below trade pixels shaded for draws: on llvmpipe a draw with its own scissor box costs
// about as much as the star's literal arithmetic over 2000 pixels, and its cost falls on the
// drawing thread alone, where the pixels are shared out among threads. Measured best over the
// sweep. Edge blocks at most kEdgeGap blocks apart in a row go in one run, kEdgeRows block rows
// a run.
constexpr int kEdgeGap = 16;
constexpr int kEdgeRows = 4;
constexpr int kStarBandRows = 4;  // block rows of one band of the star's extent
constexpr int kElementBlock = 24; // pixels: the side of the blocks an element is drawn in or not
constexpr int kElementGap = 1;    // blocks: shorter gaps between an element's runs are drawn over
// An element run cut by the star's edges into more than one piece per this many pixels is drawn
// with the literal arithmetic as a whole.
constexpr long kDrawPixels = 8000;
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

// The star's alpha factor at `time`, in the single precision of the literal shader: it ramps in
// over the first and out over the last half second of the star's window.
float starFade(float time) {
    constexpr float kFade = 0.5f; // seconds
    if (time < kStarShow + kFade)
        return 1.0f + (time - (kStarShow + kFade)) / kFade;
    if (time > kStarHide - kFade)
        return 1.0f - (time - (kStarHide - kFade)) / kFade;
    return 1.0f;
}

// The element's alpha factor at `time`, as the literal shader works it out: it ramps in over
// `speed` seconds after its start and out over `speed` seconds before its finish.
float elementFade(const TitleElement& e, float time) {
    const float startValue = e.start + e.speed, finishValue = e.finish - e.speed;
    if (time < startValue)
        return std::clamp(1.0f + (time - startValue) / e.speed, 0.0f, 1.0f);
    if (time > finishValue)
        return std::clamp(1.0f - (time - finishValue) / e.speed, 0.0f, 1.0f);
    return 1.0f;
}

bool sameRect(const PixelRect& a, const PixelRect& b) {
    return a.x == b.x && a.y == b.y && a.width == b.width && a.height == b.height;
}

bool meet(const UvRect& a, const UvRect& b) {
    return a.left <= b.right && b.left <= a.right && a.top <= b.bottom && b.top <= a.bottom;
}

// Whether element `e` can colour a pixel of `block` (window pixels) at `time`: some pixel centre
// of the block lies in the element's screen rectangle, and among the texels the linear filter
// reads there is one other than transparent black. Conservative by a margin far above the
// shader's rounding.
bool mayColour(const TitleElement& e, float time, const PixelRect& block, const PixelRect& viewport,
               const AtlasCoverage& coverage) {
    constexpr double kUvMargin = 1e-4;
    const double left = e.left(time);
    // The block's pixel centres in uv, y down from the viewport's top, cut to the rectangle.
    const double u0 = std::max((block.x - viewport.x + 0.5) / viewport.width - kUvMargin, left);
    const double u1 = std::min(
        (block.x + block.width - viewport.x - 0.5) / viewport.width + kUvMargin, left + e.w);
    const double v0 =
        std::max(1.0 - (block.y + block.height - viewport.y - 0.5) / viewport.height - kUvMargin,
                 double(e.y));
    const double v1 = std::min(1.0 - (block.y - viewport.y + 0.5) / viewport.height + kUvMargin,
                               double(e.y) + e.h);
    if (u0 > u1 || v0 > v1)
        return false;
    // Atlas coordinates to texels: the filter reads the two texels whose centres, at
    // (i + 0.5) / size, lie around the coordinate; one more each side for rounding.
    const auto first = [](double a, int size) { return int(std::floor(a * size - 0.5)) - 1; };
    const auto last = [](double a, int size) { return int(std::floor(a * size - 0.5)) + 2; };
    const TitleSprite& s = *e.sprite;
    const double s0 = s.u + (u0 - left) / e.w * s.width, s1 = s.u + (u1 - left) / e.w * s.width;
    const double t0 = s.v + (v0 - e.y) / e.h * s.height, t1 = s.v + (v1 - e.y) / e.h * s.height;
    return coverage.any(first(s0, coverage.width()), first(t0, coverage.height()),
                        last(s1, coverage.width()), last(t1, coverage.height()));
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

void TitleScene::prepare(float width, float height,
                         const std::shared_ptr<DMGL::Image>& titleAtlas) {
    windowHeight = static_cast<int>(height);
    viewport = currentViewport();
    release();
    atlasImage = titleAtlas;
    coverage.reset();
    projection = quad.setupQuad(width, height);
    glGenBuffers(1, &rectBuffer);
}

void TitleScene::adoptAtlas(DMGL::Texture texture) {
    atlas = std::move(texture);
    for (int program = 0; program < DMGL::kProgramCount; ++program) {
        if (program == DMGL::MetaballsProgram || program == DMGL::PassThroughProgram)
            continue;
        DMGL::useProgram(program);
        DMGL::setProjection(*projection);
        DMGL::current().setUniform1i("sampler", 0);
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
    glDeleteBuffers(1, &rectBuffer);
    rectBuffer = 0;
    atlas = DMGL::Texture();
}

void TitleScene::bindState() const {
    quad.bind();
    glActiveTexture(GL_TEXTURE0);
    glBindTexture(GL_TEXTURE_2D, atlas.name());
    glDisable(GL_BLEND);
    glEnable(GL_SCISSOR_TEST);
}

void TitleScene::warm(int program) {
    if (program == kWarmPrograms - 2) {
        atlasCoverage();
        return;
    }
    if (program == kWarmPrograms - 1) {
        starBlocksNow();
        return;
    }
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
    // White wherever no draw below lands: where neither the star nor an element colours.
    scissorTo(viewport);
    glClearColor(1, 1, 1, 1);
    glClear(GL_COLOR_BUFFER_BIT);

    // Each chain is drawn where one of its elements can colour a pixel; elsewhere in its
    // rectangle its elements leave the colour beneath as it is.
    const std::vector<TitleChain> chains = titleChains(time);
    std::vector<std::vector<PixelRect>> inked;
    std::vector<PixelRect> allInked;
    for (const TitleChain& chain : chains) {
        inked.push_back(inkedRuns(chain, time));
        allInked.insert(allInked.end(), inked.back().begin(), inked.back().end());
    }

    const bool star = shown(kStarShow, kStarHide, time);
    std::vector<PixelRect> edges;
    if (star) {
        StarBlocks& blocks = starBlocksNow();
        blocks.classify(time, kEdgeGuard);
        edges = blocks.edgeRuns(kEdgeGap, kEdgeRows);
        // The star alone: by angle sums over its extent away from the edges, in one draw of
        // rectangles, then by its literal arithmetic over the edges, each with the full quad.
        std::vector<PixelRect> holes = allInked;
        holes.insert(holes.end(), edges.begin(), edges.end());
        std::vector<PixelRect> shape;
        for (const PixelRect& band : blocks.starBands(kStarBandRows)) {
            const std::vector<PixelRect> pieces = subtract(band, holes);
            shape.insert(shape.end(), pieces.begin(), pieces.end());
        }
        useChain(nullptr, 0, DMGL::TitleStar::Shape, time);
        drawRects(shape);
        useChain(nullptr, 0, DMGL::TitleStar::Exact, time);
        for (const PixelRect& edge : edges)
            for (const PixelRect& piece : subtract(edge, allInked))
                drawOver(piece);
    }

    for (size_t i = 0; i < chains.size(); ++i) {
        const TitleChain& chain = chains[i];
        if (!star) {
            useChain(chain.elements, chain.count, DMGL::TitleStar::None, time);
            for (const PixelRect& run : inked[i])
                drawOver(run);
            continue;
        }
        // On the star: by angle sums, then exactly over the edges; a run that edges cut into
        // many pieces is drawn exactly as a whole instead.
        std::vector<PixelRect> shapeRuns, exactRuns, pieces;
        for (const PixelRect& run : inked[i]) {
            std::vector<PixelRect> cut;
            for (const PixelRect& edge : edges) {
                const PixelRect piece = intersection(edge, run);
                if (!piece.empty())
                    cut.push_back(piece);
            }
            if (long(cut.size()) * kDrawPixels > long(run.width) * run.height) {
                exactRuns.push_back(run);
                continue;
            }
            shapeRuns.push_back(run);
            pieces.insert(pieces.end(), cut.begin(), cut.end());
        }
        if (!shapeRuns.empty()) {
            useChain(chain.elements, chain.count, DMGL::TitleStar::Shape, time);
            for (const PixelRect& run : shapeRuns)
                drawOver(run);
        }
        if (!exactRuns.empty() || !pieces.empty()) {
            useChain(chain.elements, chain.count, DMGL::TitleStar::Exact, time);
            for (const std::vector<PixelRect>* rects : {&exactRuns, &pieces})
                for (const PixelRect& rect : *rects)
                    drawOver(rect);
        }
    }
    scissorTo(viewport);
}

std::vector<PixelRect> TitleScene::inkedRuns(const TitleChain& chain, float time) {
    const PixelRect area = pixelsCovering(chain.area, viewport, kElementPad);
    const AtlasCoverage& coverage = atlasCoverage();
    const int columns = (area.width + kElementBlock - 1) / kElementBlock;
    const int rows = (area.height + kElementBlock - 1) / kElementBlock;
    std::vector<char> marked(static_cast<size_t>(columns) * rows, 0);
    for (int row = 0; row < rows; ++row)
        for (int column = 0; column < columns; ++column) {
            const PixelRect block =
                intersection(PixelRect{area.x + column * kElementBlock,
                                       area.y + row * kElementBlock, kElementBlock, kElementBlock},
                             area);
            for (int i = 0; i < chain.count; ++i)
                if (mayColour(titleElements[chain.elements[i]], time, block, viewport, coverage)) {
                    marked[static_cast<size_t>(row) * columns + column] = 1;
                    break;
                }
        }
    return markedRuns(marked, area, kElementBlock, kElementBlock, kElementGap);
}

StarBlocks& TitleScene::starBlocksNow() {
    if (!starBlocks || !sameRect(starBlocks->area(), viewport))
        starBlocks = std::make_unique<StarBlocks>(viewport, kEdgeBlock);
    return *starBlocks;
}

const AtlasCoverage& TitleScene::atlasCoverage() {
    if (!coverage) {
        coverage = std::make_unique<AtlasCoverage>(*atlasImage);
        atlasImage.reset();
    }
    return *coverage;
}

void TitleScene::drawRects(const std::vector<PixelRect>& rects) {
    if (rects.empty())
        return;
    // Quad units: (0, 0) at the viewport's top left, the quad's far corner at its bottom right.
    const float width = quad.vertices()[3].x, height = quad.vertices()[3].y;
    std::vector<DMGL::QuadVertex> vertices;
    vertices.reserve(6 * rects.size());
    for (const PixelRect& r : rects) {
        const float u0 = float(double(r.x - viewport.x) / viewport.width);
        const float u1 = float(double(r.x + r.width - viewport.x) / viewport.width);
        const float v0 = float(1.0 - double(r.y + r.height - viewport.y) / viewport.height);
        const float v1 = float(1.0 - double(r.y - viewport.y) / viewport.height);
        const DMGL::QuadVertex topLeft{u0 * width, v0 * height, 0, u0, v0};
        const DMGL::QuadVertex topRight{u1 * width, v0 * height, 0, u1, v0};
        const DMGL::QuadVertex bottomLeft{u0 * width, v1 * height, 0, u0, v1};
        const DMGL::QuadVertex bottomRight{u1 * width, v1 * height, 0, u1, v1};
        vertices.insert(vertices.end(),
                        {topLeft, topRight, bottomLeft, bottomLeft, topRight, bottomRight});
    }
    glBindBuffer(GL_ARRAY_BUFFER, rectBuffer);
    glBufferData(GL_ARRAY_BUFFER, static_cast<GLsizeiptr>(vertices.size() * sizeof(vertices[0])),
                 vertices.data(), GL_STREAM_DRAW);
    quad.setQuadAttributes();
    scissorTo(viewport);
    glDrawArrays(GL_TRIANGLES, 0, static_cast<GLsizei>(vertices.size()));
    // Back to the full quad for the draws that follow.
    quad.bind();
    quad.setQuadAttributes();
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
    float fades[kTitleElements], additive[kTitleElements];
    for (int i = 0; i < count; ++i) {
        const TitleElement& e = titleElements[chain[i]];
        const float rect[4] = {e.sprite->u, e.sprite->v, e.sprite->width, e.sprite->height};
        const float screen[4] = {e.left(time), e.y, e.w, e.h};
        std::copy(rect, rect + 4, atlasRects + 4 * i);
        std::copy(screen, screen + 4, screenRects + 4 * i);
        fades[i] = elementFade(e, time);
        additive[i] = e.additive ? 1.0f : 0.0f;
    }
    DMGL::useProgram(DMGL::titleProgram(star, count));
    const DMGL::Program& program = DMGL::current();
    quad.setQuadAttributes();
    if (star != DMGL::TitleStar::None)
        program.setUniform1f("star_fade", starFade(time));
    if (star == DMGL::TitleStar::Exact)
        program.setUniform1f("time", time);
    if (star == DMGL::TitleStar::Shape) {
        float phase[4];
        starPhase(time, phase);
        program.setUniform4f("star_phase", phase[0], phase[1], phase[2], phase[3]);
    }
    if (count > 0) {
        program.setUniform4fv("element_uv", count, atlasRects);
        program.setUniform4fv("element_pos", count, screenRects);
        program.setUniform1fv("element_fade", count, fades);
        program.setUniform1fv("element_additive", count, additive);
    }
}

void TitleScene::drawOver(const PixelRect& area) const {
    if (area.empty())
        return;
    scissorTo(area);
    quad.drawQuad();
}
