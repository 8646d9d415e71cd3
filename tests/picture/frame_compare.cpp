// Compares two PNG frames of a window pixel by pixel, and writes a difference picture when they
// disagree:
//   picture-frame-compare A.png B.png DIFF.png [TOLERANCE SHARE]
// By default with the picture tests' tolerance; otherwise at most the share SHARE (0..1) of the
// pixels may differ by more than TOLERANCE (0..255) in a channel.
// Exit status: 0 within tolerance, 1 not, 2 bad arguments or unreadable files.
#include "FrameComparison.h"

#include <cstdio>
#include <cstdlib>
#include <exception>

int main(int argc, char** argv) {
    int tolerance = picture::kChannelTolerance;
    double share = -1.0; // none: kMismatchesAllowed pixels
    char* end = nullptr;
    if (argc == 6) {
        tolerance = static_cast<int>(std::strtol(argv[4], &end, 10));
        if (*end || tolerance < 0 || tolerance > 255)
            argc = 0;
        share = std::strtod(argv[5], &end);
        if (*end || !(share >= 0.0 && share <= 1.0))
            argc = 0;
    }
    if (argc != 4 && argc != 6) {
        std::fprintf(stderr, "usage: %s A.png B.png DIFF.png [TOLERANCE SHARE]\n", argv[0]);
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
        const picture::FrameDifference diff = picture::compareFrames(a, b, tolerance);
        std::printf("%ld of %ld pixels (%.3f %%) differ by more than %d (largest %d)\n",
                    diff.mismatched, diff.total, 100.0 * diff.mismatchedFraction(), tolerance,
                    diff.largestChannel);
        const bool within = share < 0 ? diff.mismatched <= picture::kMismatchesAllowed
                                      : diff.mismatchedFraction() <= share;
        if (within)
            return 0;
        picture::writePng(picture::differenceImage(a, b, tolerance), argv[3]);
        return 1;
    } catch (const std::exception& error) {
        std::fprintf(stderr, "%s: %s\n", argv[0], error.what());
        return 2;
    }
}
