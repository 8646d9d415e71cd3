// The screen geometry the scenes draw by: the star's blocks, disjoint covers and differences of
// rectangles, where the atlas holds colour, title chains.
#include "gl/SDLImage.h"
#include "scenes/AtlasCoverage.h"
#include "scenes/StarEdges.h"
#include "scenes/TitleScene.h"
#include "scenes/ViewportRect.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <ostream>
#include <vector>

namespace {

struct StarCase {
    float time; // scene time, seconds
    PixelRect viewport;
};

void PrintTo(const StarCase& c, std::ostream* os) {
    *os << c.time << " s in " << c.viewport.width << "x" << c.viewport.height << " at y "
        << c.viewport.y;
}

// The star's measure d in double precision at scene time t (seconds) and a point of the viewport
// given in pixels (x from the left, y from the bottom) of a viewport of width x height pixels.
double starMeasure(double t, double x, double y, int width, int height) {
    const double phi = 3.1 * std::sin(2.3 * t) * std::sin(t);
    const double px = (x / width - 0.5) * 2.0, py = (0.5 - y / height) * 1.125;
    const double theta = std::atan2(px, py);
    return std::hypot(px, py) * (1.2 + 0.6 * std::sin(12 * theta + 4 * t) * std::sin(theta + phi));
}

class StarEdges : public ::testing::TestWithParam<StarCase> {};

// Every pixel whose measure (in double precision at its centre) lies within the guard of the
// star's edges is inside exactly one edge run, and every pixel the star may colour inside a band
// of its extent; runs and bands stay inside the viewport.
TEST_P(StarEdges, HoldEveryPixelNearAnEdgeAndInTheStar) {
    const StarCase c = GetParam();
    const double guard = 2e-3;
    StarBlocks blocks(c.viewport, 8);
    blocks.classify(c.time, guard);
    const std::vector<PixelRect> runs = blocks.edgeRuns(2, 3), bands = blocks.starBands(3);
    const auto coverOf = [&](const std::vector<PixelRect>& rects) {
        std::vector<int> cover(static_cast<size_t>(c.viewport.width) * c.viewport.height, 0);
        for (const PixelRect& r : rects) {
            EXPECT_FALSE(r.empty());
            EXPECT_EQ(intersection(r, c.viewport).width * intersection(r, c.viewport).height,
                      r.width * r.height);
            for (int y = r.y; y < r.y + r.height; ++y)
                for (int x = r.x; x < r.x + r.width; ++x)
                    ++cover[static_cast<size_t>(y - c.viewport.y) * c.viewport.width +
                            (x - c.viewport.x)];
        }
        return cover;
    };
    const std::vector<int> inRuns = coverOf(runs), inBands = coverOf(bands);
    long near = 0, clear = 0;
    for (int y = 0; y < c.viewport.height; ++y)
        for (int x = 0; x < c.viewport.width; ++x) {
            const double d =
                starMeasure(c.time, x + 0.5, y + 0.5, c.viewport.width, c.viewport.height);
            const size_t i = static_cast<size_t>(y) * c.viewport.width + x;
            ASSERT_LE(inRuns[i], 1) << "pixel " << x << ", " << y << " lies in two runs";
            ASSERT_LE(inBands[i], 1) << "pixel " << x << ", " << y << " lies in two bands";
            if (d > kStarOutlineOuter + guard) {
                clear += inBands[i] == 0 ? 1 : 0;
                continue;
            }
            ASSERT_EQ(inBands[i], 1) << "pixel " << x << ", " << y << " with d = " << d;
            if (std::fabs(d - kStarOutlineInner) > guard &&
                std::fabs(d - kStarOutlineOuter) > guard)
                continue;
            ++near;
            ASSERT_EQ(inRuns[i], 1) << "pixel " << x << ", " << y << " with d = " << d;
        }
    EXPECT_GT(near, 0);
    EXPECT_GT(clear, 0) << "the bands leave out some of the clear corners";
}

// Block by block: a block where d comes within the guard of an outline, at a pixel centre or
// corner of it, is Edge, and one where d comes to 0.8 + guard or less is not Clear.
TEST_P(StarEdges, ClassEachBlockByItsPixels) {
    const StarCase c = GetParam();
    const double guard = 2e-3;
    const int side = 8;
    StarBlocks blocks(c.viewport, side);
    blocks.classify(c.time, guard);
    const int width = c.viewport.width, height = c.viewport.height;
    long nearInner = 0, nearOuter = 0;
    for (int row = 0; row < blocks.rows(); ++row)
        for (int column = 0; column < blocks.columns(); ++column) {
            double low = 1e9, high = -1e9;
            // Every half pixel across the block, its edges included.
            for (int y2 = 2 * row * side; y2 <= 2 * std::min((row + 1) * side, height); ++y2)
                for (int x2 = 2 * column * side; x2 <= 2 * std::min((column + 1) * side, width);
                     ++x2) {
                    const double d = starMeasure(c.time, 0.5 * x2, 0.5 * y2, width, height);
                    low = std::min(low, d);
                    high = std::max(high, d);
                }
            const auto reaches = [&](double edge) {
                return low <= edge + guard && high >= edge - guard;
            };
            const StarBlock is = blocks.at(column, row);
            nearInner += reaches(kStarOutlineInner) ? 1 : 0;
            nearOuter += reaches(kStarOutlineOuter) ? 1 : 0;
            const bool edge = reaches(kStarOutlineInner) || reaches(kStarOutlineOuter);
            const bool star = low <= kStarOutlineOuter + guard;
            ASSERT_TRUE(is == StarBlock::Edge || (!edge && !(star && is == StarBlock::Clear)))
                << "block " << column << ", " << row << " with d in " << low << ".." << high
                << " is " << static_cast<int>(is);
        }
    EXPECT_GT(nearInner, 0);
    EXPECT_GT(nearOuter, 0);
}

INSTANTIATE_TEST_SUITE_P(
    Times, StarEdges,
    ::testing::Values(StarCase{4.3f, {0, 0, 640, 360}}, StarCase{8.1f, {0, 60, 640, 360}},
                      StarCase{12.7f, {0, 0, 1280, 720}}, StarCase{16.9f, {0, -30, 640, 360}},
                      StarCase{5.6f, {0, 0, 960, 540}}, StarCase{10.2f, {0, 0, 640, 360}},
                      StarCase{14.4f, {0, 20, 800, 450}}));

class DisjointCover : public ::testing::TestWithParam<std::vector<PixelRect>> {};

// Each pixel of the union lies in exactly one rectangle of the cover, and no other pixel in any.
TEST_P(DisjointCover, CoversTheUnionOnce) {
    const std::vector<PixelRect>& rects = GetParam();
    const std::vector<PixelRect> cover = disjointCover(rects);
    for (int y = -2; y < 40; ++y)
        for (int x = -2; x < 40; ++x) {
            const auto inside = [&](const PixelRect& r) {
                return x >= r.x && x < r.x + r.width && y >= r.y && y < r.y + r.height;
            };
            int inUnion = 0, inCover = 0;
            for (const PixelRect& r : rects)
                inUnion |= inside(r) ? 1 : 0;
            for (const PixelRect& r : cover)
                inCover += inside(r) ? 1 : 0;
            ASSERT_EQ(inCover, inUnion) << "pixel " << x << ", " << y;
        }
}

// The first rectangle less the others: each pixel of it outside them lies in exactly one piece,
// and no other pixel in any.
TEST_P(DisjointCover, SubtractLeavesTheRestOnce) {
    const std::vector<PixelRect>& rects = GetParam();
    if (rects.empty())
        return;
    const std::vector<PixelRect> holes(rects.begin() + 1, rects.end());
    const std::vector<PixelRect> pieces = subtract(rects[0], holes);
    for (int y = -2; y < 40; ++y)
        for (int x = -2; x < 40; ++x) {
            const auto inside = [&](const PixelRect& r) {
                return x >= r.x && x < r.x + r.width && y >= r.y && y < r.y + r.height;
            };
            bool left = inside(rects[0]);
            for (const PixelRect& hole : holes)
                left = left && !inside(hole);
            int inPieces = 0;
            for (const PixelRect& piece : pieces)
                inPieces += inside(piece) ? 1 : 0;
            ASSERT_EQ(inPieces, left ? 1 : 0) << "pixel " << x << ", " << y;
        }
}

INSTANTIATE_TEST_SUITE_P(
    Rectangles, DisjointCover,
    ::testing::Values(
        std::vector<PixelRect>{}, std::vector<PixelRect>{{3, 4, 10, 5}},
        std::vector<PixelRect>{{0, 0, 10, 10}, {5, 5, 10, 10}},
        std::vector<PixelRect>{{0, 0, 30, 30}, {5, 5, 3, 3}, {20, 0, 0, 9}},
        std::vector<PixelRect>{
            {0, 0, 8, 30}, {4, 10, 20, 4}, {22, 2, 6, 30}, {10, 25, 5, 5}, {1, 1, 2, 2}}));

// The coverage finds every coloured texel in a range, and nothing where the cells the range
// touches hold none, over a sparse image; a range reaching outside the atlas, where a repeating
// sampler wraps, counts as coloured.
TEST(AtlasCoverage, FindsEveryColouredTexel) {
    SDLImage image(37, 23, 4);
    const int coloured[][3] = {{0, 0, 3}, {36, 22, 0}, {17, 9, 1}, {18, 9, 2}, {5, 20, 3}};
    for (const auto& c : coloured) // (x, y, channel): one channel set, the others 0
        image.pixels()[(c[1] * 37 + c[0]) * 4 + c[2]] = 1;
    const AtlasCoverage coverage(image);
    const auto anyIn = [&](int x0, int y0, int x1, int y1) {
        bool any = false;
        for (const auto& c : coloured)
            any |= x0 <= c[0] && c[0] <= x1 && y0 <= c[1] && c[1] <= y1;
        return any;
    };
    const int cell = AtlasCoverage::kCell;
    for (int y0 = 0; y0 < 23; ++y0)
        for (int y1 = y0; y1 < 23; y1 += 2)
            for (int x0 = 0; x0 < 37; ++x0)
                for (int x1 = x0; x1 < 37; x1 += 2) {
                    const bool any = coverage.any(x0, y0, x1, y1);
                    const bool inRange = anyIn(x0, y0, x1, y1);
                    const bool inCells =
                        anyIn(x0 / cell * cell, y0 / cell * cell, x1 / cell * cell + cell - 1,
                              y1 / cell * cell + cell - 1);
                    ASSERT_TRUE(any || !inRange) << x0 << ".." << x1 << " x " << y0 << ".." << y1;
                    ASSERT_TRUE(!any || inCells) << x0 << ".." << x1 << " x " << y0 << ".." << y1;
                }
    EXPECT_TRUE(coverage.any(-1, 1, 3, 2));
    EXPECT_TRUE(coverage.any(30, 1, 37, 2));
}

// Every moment of the title can be drawn: no more elements meet than one draw composes, and
// each draw holds its own element.
TEST(TitleChains, FitTheProgramsAtEveryMoment) {
    for (int centiseconds = 0; centiseconds <= 1800; ++centiseconds) {
        const float time = static_cast<float>(centiseconds) / 100.0f;
        std::vector<TitleChain> chains;
        ASSERT_NO_THROW(chains = titleChains(time)) << time << " s";
        for (const TitleChain& chain : chains) {
            ASSERT_GE(chain.count, 1);
            bool own = false;
            for (int i = 0; i < chain.count; ++i) {
                const TitleElement& e = titleElements[chain.elements[i]];
                own |= e.left(time) == chain.area.left && e.y == chain.area.top;
                if (i > 0) {
                    EXPECT_LT(chain.elements[i - 1], chain.elements[i]) << "composition order";
                }
            }
            EXPECT_TRUE(own) << time << " s";
        }
    }
}

} // namespace
