// Compares two PNG pictures of a whole window pixel by pixel with the picture tests' tolerance.
//   frame_difference A.png B.png   ->  exit 0 when they count as the same picture, 1 otherwise
#include "FrameComparison.h"

#include <cstdio>
#include <exception>

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: frame_difference A.png B.png\n");
        return 2;
    }
    try {
        const picture::Frame a = picture::readPng(argv[1]);
        const picture::Frame b = picture::readPng(argv[2]);
        if (a.width() != b.width() || a.height() != b.height()) {
            std::printf("sizes differ: %dx%d and %dx%d\n", a.width(), a.height(), b.width(),
                        b.height());
            return 1;
        }
        const picture::FrameDifference diff =
            picture::compareFrames(a, b, picture::kChannelTolerance);
        std::printf("%ld of %ld pixels (%.3f %%) differ by more than %d; largest difference %d\n",
                    diff.mismatched, diff.total, 100.0 * diff.mismatchedFraction(),
                    picture::kChannelTolerance, diff.largestChannel);
        return diff.mismatchedFraction() <= picture::kMismatchAllowed ? 0 : 1;
    } catch (const std::exception& error) {
        std::fprintf(stderr, "frame_difference: %s\n", error.what());
        return 2;
    }
}
