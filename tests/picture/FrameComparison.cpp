// Counting and drawing the disagreement between a captured frame and the model's frame.
#include "FrameComparison.h"

#include <algorithm>
#include <cstdlib>
#include <stdexcept>

namespace picture {

namespace {

int channelDifference(const Rgb8& a, const Rgb8& b) {
    return std::max({std::abs(a.r - b.r), std::abs(a.g - b.g), std::abs(a.b - b.b)});
}

void requireSameSize(const Frame& a, const Frame& b) {
    if (a.width() != b.width() || a.height() != b.height()) {
        throw std::invalid_argument("frames differ in size");
    }
}

} // namespace

FrameDifference compareFrames(const Frame& a, const Frame& b, int tolerance) {
    requireSameSize(a, b);
    FrameDifference result;
    for (int y = 0; y < a.height(); ++y) {
        for (int x = 0; x < a.width(); ++x) {
            const int d = channelDifference(a.at(x, y), b.at(x, y));
            result.largestChannel = std::max(result.largestChannel, d);
            if (d > tolerance) {
                ++result.mismatched;
            }
        }
    }
    result.total = static_cast<long>(a.width()) * a.height();
    return result;
}

Frame differenceImage(const Frame& a, const Frame& b, int tolerance) {
    requireSameSize(a, b);
    Frame out(a.width(), a.height());
    for (int y = 0; y < a.height(); ++y) {
        for (int x = 0; x < a.width(); ++x) {
            const Rgb8& p = a.at(x, y);
            const int d = channelDifference(p, b.at(x, y));
            if (d > tolerance) {
                out.at(x, y) = {static_cast<std::uint8_t>(std::min(255, 128 + d)), 0, 0};
            } else {
                const auto grey = static_cast<std::uint8_t>((p.r + p.g + p.b) / 12);
                out.at(x, y) = {grey, grey, grey};
            }
        }
    }
    return out;
}

} // namespace picture
