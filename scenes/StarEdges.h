// Where the title's star has its hard edges: the pixels whose colour depends on exactly which
// side of an edge they fall, and so need the star's literal per-pixel arithmetic.
#pragma once

#include "scenes/ViewportRect.h"

#include <cstddef>
#include <cstdint>
#include <vector>

// The star's measure at viewport point uv is d = |pos| f(theta), pos = (uv - 0.5) (2, 1.125),
// theta = atan2(pos.x, pos.y) and f(theta) = 1.2 + 0.6 sin(12 theta + 4 t) sin(theta + phi(t)),
// phi(t) = 3.1 sin(2.3 t) sin(t). Its colour jumps where d crosses 0.75 and 0.8, and it is
// transparent beyond 0.8.
constexpr double kStarOutlineInner = 0.75;
constexpr double kStarOutlineOuter = 0.8;

// (cos phi, sin phi, cos 4t, sin 4t) at scene time `time`, seconds: what the star's angle-sum
// form needs besides the pixel.
void starPhase(float time, float phase[4]);

// What the star needs over one block of pixels at one moment, given a guard on d.
enum class StarBlock : std::uint8_t {
    Clear, // d > 0.8 + guard everywhere: the star is transparent
    Shape, // d stays more than the guard away from 0.75 and 0.8: the angle-sum form will do
    Edge,  // d may come within the guard of 0.75 or 0.8: the literal arithmetic is needed
};

// The viewport cut into square blocks from its bottom-left corner (the last column and row are
// cut to the viewport), each classified by conservative bounds on d at one moment. The blocks'
// angles and radii are worked out once; classifying a moment refines coarse blocks only where
// an edge may pass.
class StarBlocks {
public:
    // `viewport` in GL window pixels; `block`, the side of a block in pixels.
    StarBlocks(const PixelRect& viewport, int block);

    // Classifies every block at scene time `time` (seconds) with the guard `guard` on d.
    void classify(float time, double guard);

    // Rectangles that hold every Edge block and do not overlap, as window pixels: the rows go in
    // groups of `groupRows`, and each group in runs over the columns where any of its rows has an
    // Edge block. Two runs at most `maxGap` blocks apart become one; equal runs of consecutive
    // groups become one rectangle.
    std::vector<PixelRect> edgeRuns(int maxGap, int groupRows) const;

    // One rectangle per band of `bandRows` block rows, spanning the band's blocks that are not
    // Clear; bands with none give no rectangle. Together they hold every pixel where d can be
    // 0.8 + guard or less.
    std::vector<PixelRect> starBands(int bandRows) const;

    const PixelRect& area() const { return viewport; }
    int columns() const { return columnCount; }
    int rows() const { return rowCount; }
    // The class the last classify gave the block in `column` and `row`, counted from the
    // viewport's bottom-left block.
    StarBlock at(int column, int row) const {
        return classes[static_cast<size_t>(row) * columnCount + column];
    }

private:
    // A block's polar extent around the star's centre: radii, and the angles theta as an
    // interval less than half a turn wide; `centre` when the block holds the centre.
    struct Extent {
        double rMin, rMax, thetaLow, thetaHigh;
        bool centre;
        // (sin, cos) of thetaLow, thetaHigh, 12 thetaLow and 12 thetaHigh.
        double sinCos[4][2];
    };
    // The star's phases at one moment: phi(t) and 4 t, with their sines and cosines.
    struct Moment {
        double phi, sinPhi, cosPhi, fourT, sinFourT, cosFourT;
    };
    Extent extentOf(int x0, int y0, int x1, int y1) const; // viewport pixels from bottom left
    StarBlock classOf(const Extent& e, const Moment& m, double guard) const;
    PixelRect blockRect(int column, int row) const; // one block in window pixels

    PixelRect viewport;
    int block, columnCount, rowCount;
    int coarseColumns, coarseRows; // coarse blocks hold kCoarse x kCoarse blocks
    std::vector<Extent> fine, coarse;
    std::vector<StarBlock> classes;
};
