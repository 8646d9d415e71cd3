// The screen geometry the scenes draw by: the star's blocks, disjoint covers and differences of
// rectangles, title chains.
#include "scenes/StarEdges.h"
#include "scenes/TitleScene.h"
#include "scenes/ViewportRect.h"

#include <gtest/gtest.h>

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
    const double t = c.time, phi = 3.1 * std::sin(2.3 * t) * std::sin(t);
    long near = 0, clear = 0;
    for (int y = 0; y < c.viewport.height; ++y)
        for (int x = 0; x < c.viewport.width; ++x) {
            const double u = (x + 0.5) / c.viewport.width, v = 1.0 - (y + 0.5) / c.viewport.height;
            const double px = (u - 0.5) * 2.0, py = (v - 0.5) * 1.125;
            const double theta = std::atan2(px, py);
            const double d = std::hypot(px, py) *
                             (1.2 + 0.6 * std::sin(12 * theta + 4 * t) * std::sin(theta + phi));
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

INSTANTIATE_TEST_SUITE_P(Times, StarEdges,
                         ::testing::Values(StarCase{4.3f, {0, 0, 640, 360}},
                                           StarCase{8.1f, {0, 60, 640, 360}},
                                           StarCase{12.7f, {0, 0, 1280, 720}},
                                           StarCase{16.9f, {0, -30, 640, 360}}));

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
