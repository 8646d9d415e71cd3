// Compares two PNG frames of a window pixel by pixel with the picture tests' tolerance, and
// writes a difference picture when they disagree:
//   picture-frame-compare A.png B.png DIFF.png
// Exit status: 0 within tolerance, 1 not, 2 bad arguments or unreadable files.
#include "FrameComparison.h"

#include <cstdio>
#include <exception>

int main(int argc, char** argv) {
    if (argc != 4) {
        std::fprintf(stderr, "usage: %s A.png B.png DIFF.png\n", argv[0]);
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
        std::printf("%ld of %ld pixels differ by more than %d (largest %d)\n", diff.mismatched,
                    diff.total, picture::kChannelTolerance, diff.largestChannel);
        if (diff.mismatched <= picture::kMismatchesAllowed)
            return 0;
        picture::writePng(picture::differenceImage(a, b, picture::kChannelTolerance), argv[3]);
        return 1;
    } catch (const std::exception& error) {
        std::fprintf(stderr, "%s: %s\n", argv[0], error.what());
        return 2;
    }
}
