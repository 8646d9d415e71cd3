// The scenes as drawn now against the literal shaders drawn over the whole viewport: the
// metaballs within 1 level a channel, the title within 2.
#include "Frame.h"
#include "FrameComparison.h"
#include "LiteralScenes.h"

#include "app/Demo.h"

#include <GL/glew.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

using namespace picture;

namespace {

struct Case {
    double time; // demo clock, seconds
    int width, height;
    int tolerance; // largest channel difference allowed, levels
};

void PrintTo(const Case& c, std::ostream* os) {
    *os << c.time << " s at " << c.width << "x" << c.height;
}

std::string caseName(const ::testing::TestParamInfo<Case>& info) {
    const int centiseconds = static_cast<int>(info.param.time * 100.0 + 0.5);
    return "At" + std::to_string(centiseconds) + "cs_" + std::to_string(info.param.width) + "x" +
           std::to_string(info.param.height);
}

// One demo, and the literal scenes in its context, per window size; cases of a size run together.
struct Stage {
    int width = 0, height = 0;
    std::unique_ptr<Demo> demo;
    std::unique_ptr<LiteralScenes> literal;
};
Stage stage;

void useStage(int width, int height) {
    if (stage.demo && stage.width == width && stage.height == height)
        return;
    stage.literal.reset();
    stage.demo.reset();
    stage.demo = std::make_unique<Demo>(DemoOptions{width, height, false, false});
    stage.demo->setupTitle();
    stage.literal = std::make_unique<LiteralScenes>(BASELINE_DIR, static_cast<float>(width),
                                                    static_cast<float>(height));
    stage.width = width;
    stage.height = height;
}

// The whole window after `draw`, drawn over a window cleared black as a fresh one is.
template <typename Draw> Frame render(int width, int height, Draw draw) {
    glDisable(GL_SCISSOR_TEST);
    glClearColor(0, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT);
    draw();
    glFinish();
    std::vector<unsigned char> rgb(static_cast<size_t>(width) * height * 3);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, width, height, GL_RGB, GL_UNSIGNED_BYTE, rgb.data());
    Frame frame(width, height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const unsigned char* p = &rgb[(static_cast<size_t>(height - 1 - y) * width + x) * 3];
            frame.at(x, y) = Rgb8{p[0], p[1], p[2]};
        }
    return frame;
}

class LiteralEquivalence : public ::testing::TestWithParam<Case> {};

TEST_P(LiteralEquivalence, SceneMatchesTheLiteralShader) {
    const Case c = GetParam();
    useStage(c.width, c.height);
    const Frame drawn = render(c.width, c.height, [&] { stage.demo->drawFrame(c.time); });
    const Frame literal = render(c.width, c.height, [&] { stage.literal->draw(c.time); });

    const FrameDifference diff = compareFrames(drawn, literal, c.tolerance);
    if (diff.mismatched == 0)
        return;
    const std::filesystem::path dir(FRAME_DIR);
    std::filesystem::create_directories(dir);
    const std::string base = (dir / ("literal_" + caseName({c, 0}))).string();
    writePng(drawn, base + "_drawn.png");
    writePng(literal, base + "_literal.png");
    ADD_FAILURE() << diff.mismatched << " pixels differ by more than " << c.tolerance
                  << " (largest " << diff.largestChannel << "): " << base << "_{drawn,literal}.png";
}

std::vector<Case> every(double from, double to, double step, int width, int height, int tolerance) {
    std::vector<Case> cases;
    for (double t = from; t <= to + 1e-9; t += step)
        cases.push_back(Case{t, width, height, tolerance});
    return cases;
}

// Every half second of each scene; the title also at the one moment "such wisp" is fully shown
// and in a window taller than 16:9. The metaballs at 1280x720: the growing balls, the wobble,
// five balls apart, the greetings, the gathering and the shrinking at the end.
INSTANTIATE_TEST_SUITE_P(Title, LiteralEquivalence, ::testing::ValuesIn([] {
                             auto cases = every(0.0, 17.5, 0.5, 640, 360, 2);
                             cases.push_back(Case{12.7, 640, 360, 2});
                             cases.push_back(Case{11.9, 640, 480, 2});
                             cases.push_back(Case{12.7, 640, 480, 2});
                             return cases;
                         }()),
                         caseName);
INSTANTIATE_TEST_SUITE_P(Metaballs, LiteralEquivalence, ::testing::ValuesIn([] {
                             auto cases = every(18.0, 113.5, 0.5, 640, 360, 1);
                             for (double t : {18.7, 24.0, 31.5, 45.0, 70.0, 105.0, 109.9})
                                 cases.push_back(Case{t, 1280, 720, 1});
                             return cases;
                         }()),
                         caseName);

} // namespace

int main(int argc, char** argv) {
    setenv("SDL_VIDEODRIVER", "offscreen", 0);
    ::testing::InitGoogleTest(&argc, argv);
    const int result = RUN_ALL_TESTS();
    stage.literal.reset();
    stage.demo.reset();
    return result;
}
