// Compares two PNG frames of a window pixel by pixel, and writes a difference picture when they
// disagree:
//   picture-frame-compare A.png B.png DIFF.png [LEVELS FRACTION]
// By default with the picture tests' tolerance; with LEVELS and FRACTION, a pixel mismatches
// when a channel differs by more than LEVELS (of 255), and at most FRACTION of the pixels may.
// Exit status: 0 within tolerance, 1 not, 2 bad arguments or unreadable files.
#include "FrameComparison.h"

#include <cstdio>
#include <cstdlib>
#include <exception>

int main(int argc, char** argv) {
    if (argc != 4 && argc != 6) {
        std::fprintf(stderr, "usage: %s A.png B.png DIFF.png [LEVELS FRACTION]\n", argv[0]);
        return 2;
    }
    int tolerance = picture::kChannelTolerance;
    double fraction = -1; // with none given, picture::kMismatchesAllowed pixels
    if (argc == 6) {
        char *levelsEnd = nullptr, *fractionEnd = nullptr;
        tolerance = static_cast<int>(std::strtol(argv[4], &levelsEnd, 10));
        fraction = std::strtod(argv[5], &fractionEnd);
        if (*levelsEnd || *fractionEnd || tolerance < 0 || tolerance > 255 || !(fraction >= 0) ||
            fraction > 1) {
            std::fprintf(stderr, "%s: LEVELS is 0 to 255 and FRACTION 0 to 1\n", argv[0]);
            return 2;
        }
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
        std::printf("%ld of %ld pixels differ by more than %d (largest %d)\n", diff.mismatched,
                    diff.total, tolerance, diff.largestChannel);
        const long allowed =
            fraction < 0 ? picture::kMismatchesAllowed : static_cast<long>(fraction * diff.total);
        if (diff.mismatched <= allowed)
            return 0;
        picture::writePng(picture::differenceImage(a, b, tolerance), argv[3]);
        return 1;
    } catch (const std::exception& error) {
        std::fprintf(stderr, "%s: %s\n", argv[0], error.what());
        return 2;
    }
}
