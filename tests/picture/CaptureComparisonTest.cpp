// Frames captured from the real scenes and shaders compared with the picture model.
#include "CaptureRunner.h"
#include "FrameComparison.h"
#include "PictureModel.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <ostream>
#include <string>
#include <tuple>

using namespace picture;

namespace {

struct WindowSize {
    int width;
    int height;
};

// Names the size in failure messages instead of dumping its bytes.
void PrintTo(const WindowSize& size, std::ostream* os) {
    *os << size.width << "x" << size.height;
}

using FrameCase = std::tuple<double, WindowSize>;

std::string frameName(double time, const WindowSize& size) {
    char name[64];
    std::snprintf(name, sizeof name, "t%06.2f_%dx%d", time, size.width, size.height);
    return name;
}

std::string caseName(const ::testing::TestParamInfo<FrameCase>& info) {
    const int centiseconds = static_cast<int>(std::get<0>(info.param) * 100.0 + 0.5);
    const WindowSize& size = std::get<1>(info.param);
    return "At" + std::to_string(centiseconds / 100) + "s" +
           std::to_string(centiseconds % 100 / 10) + std::to_string(centiseconds % 10) + "_" +
           std::to_string(size.width) + "x" + std::to_string(size.height);
}

class DemoFrame : public ::testing::TestWithParam<FrameCase> {};

} // namespace

TEST_P(DemoFrame, MatchesThePictureModel) {
    const double time = std::get<0>(GetParam());
    const WindowSize size = std::get<1>(GetParam());
    const std::filesystem::path dir(FRAME_DIR);
    std::filesystem::create_directories(dir);
    const std::string base = (dir / frameName(time, size)).string();
    const std::string capturedPath = base + "_captured.png";

    const auto started = std::chrono::steady_clock::now();
    const Frame captured =
        captureFrame(CAPTURE_EXECUTABLE, time, size.width, size.height, capturedPath);
    const auto captureDone = std::chrono::steady_clock::now();
    ASSERT_EQ(captured.width(), size.width);
    ASSERT_EQ(captured.height(), size.height);

    PictureModel model(CONTENT_DIR);
    const Frame expected = model.render(time, size.width, size.height);
    const auto modelDone = std::chrono::steady_clock::now();

    const FrameDifference diff = compareFrames(captured, expected, kChannelTolerance);
    using Seconds = std::chrono::duration<double>;
    std::printf("%s: %ld pixels (%.3f %%) differ by more than %d, largest difference %d; "
                "capture %.2f s, model %.2f s\n",
                frameName(time, size).c_str(), diff.mismatched, 100.0 * diff.mismatchedFraction(),
                kChannelTolerance, diff.largestChannel, Seconds(captureDone - started).count(),
                Seconds(modelDone - captureDone).count());

    if (diff.mismatched <= kMismatchesAllowed) {
        std::filesystem::remove(capturedPath);
        return;
    }
    const std::string modelPath = base + "_model.png";
    const std::string diffPath = base + "_diff.png";
    writePng(expected, modelPath);
    writePng(differenceImage(captured, expected, kChannelTolerance), diffPath);
    ADD_FAILURE() << diff.mismatched << " of " << diff.total << " pixels ("
                  << 100.0 * diff.mismatchedFraction() << " %) differ by more than "
                  << kChannelTolerance << " (largest " << diff.largestChannel << ")\n"
                  << "  captured: " << capturedPath << "\n  model:    " << modelPath
                  << "\n  diff:     " << diffPath;
}

const WindowSize k16x9{640, 360};
const WindowSize k4x3{640, 480};

// Every title element inside its window, fully shown but the group logo mid-fade, over the star
// from 4 s; the sizes alternate so bands are covered too.
INSTANTIATE_TEST_SUITE_P(Title, DemoFrame,
                         ::testing::Values(FrameCase{1.9, k16x9}, FrameCase{4.8, k4x3},
                                           FrameCase{7.4, k16x9}, FrameCase{10.0, k4x3},
                                           FrameCase{11.9, k16x9}, FrameCase{12.7, k4x3},
                                           FrameCase{13.6, k16x9}, FrameCase{16.5, k4x3}),
                         caseName);

// The balls alone, then four of the fourteen greetings captions, then the balls after the
// greetings.
INSTANTIATE_TEST_SUITE_P(Metaballs, DemoFrame,
                         ::testing::Values(FrameCase{19.0, k16x9}, FrameCase{40.0, k4x3},
                                           FrameCase{68.0, k16x9}, FrameCase{77.5, k4x3},
                                           FrameCase{89.5, k16x9}, FrameCase{104.0, k4x3},
                                           FrameCase{112.0, k16x9}),
                         caseName);

// A window wider than 16:9: the area reaches 30 rows past the top and bottom edges.
INSTANTIATE_TEST_SUITE_P(Wide, DemoFrame,
                         ::testing::Combine(::testing::Values(10.0, 68.0),
                                            ::testing::Values(WindowSize{640, 300})),
                         caseName);
