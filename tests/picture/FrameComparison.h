// Pixel-by-pixel comparison of two window frames with a per-channel tolerance.
#pragma once

#include "Frame.h"

namespace picture {

// A pixel mismatches when some channel is more than this many levels away from the model.
constexpr int kChannelTolerance = 12;
// How many mismatched pixels a frame may have: a sprite's edge can fall on a pixel centre, where
// the rasteriser and the model round its window test apart (at most 3 seen in any frame).
constexpr long kMismatchesAllowed = 8;

struct FrameDifference {
    long mismatched = 0;    // pixels with some channel further apart than the tolerance
    long total = 0;         // pixels compared
    int largestChannel = 0; // the largest channel difference seen, 0..255

    double mismatchedFraction() const {
        return total == 0 ? 0.0 : static_cast<double>(mismatched) / static_cast<double>(total);
    }
};

// Both frames must have the same size (std::invalid_argument otherwise).
FrameDifference compareFrames(const Frame& a, const Frame& b, int tolerance);

// A picture of where the frames disagree: mismatched pixels red with a brightness that grows
// with the difference, agreeing pixels a faint grey copy of `a`.
Frame differenceImage(const Frame& a, const Frame& b, int tolerance);

} // namespace picture
