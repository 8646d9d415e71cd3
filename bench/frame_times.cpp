// Mean frame time of each scene over a sweep of demo times, for the scenes as they are, for the
// literal shaders of bench/baseline drawn over the whole viewport, and for a white quad (the
// floor), measured side by side in one run.
//   frame_times [WIDTHxHEIGHT...]     (needs a display; Xvfb will do; default 1280x720 1920x1080)
// Each frame is drawn, swapped and finished; the three are drawn in turn at every demo time so
// that the machine's load falls on all of them alike.
#include "LiteralScenes.h"

#include "app/Demo.h"
#include "app/Schedule.h"

#include <GL/glew.h>
#include <SDL.h>

#include <chrono>
#include <cstdio>
#include <exception>
#include <functional>
#include <string>
#include <vector>

namespace {

constexpr double kSweepStep = 2.0; // seconds between the demo times of the sweep

double millisecondsFor(const Window& window, const std::function<void()>& draw) {
    using Clock = std::chrono::steady_clock;
    const auto start = Clock::now();
    draw();
    window.swap();
    glFinish();
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

struct Means {
    double current = 0, literal = 0, floor = 0;
};

Means sweep(Demo& demo, LiteralScenes& literal, double from, double to) {
    Means sum;
    int frames = 0;
    for (double t = from; t < to; t += kSweepStep, ++frames) {
        sum.current += millisecondsFor(demo.screen(), [&] { demo.drawFrame(t); });
        sum.literal += millisecondsFor(demo.screen(), [&] { literal.draw(t); });
        sum.floor += millisecondsFor(demo.screen(), [&] { literal.drawFloor(); });
    }
    return Means{sum.current / frames, sum.literal / frames, sum.floor / frames};
}

void measure(int width, int height) {
    Demo demo(DemoOptions{width, height, false, false});
    demo.setupTitle();
    LiteralScenes literal(BASELINE_DIR, static_cast<float>(width), static_cast<float>(height));
    // Every program's first draw compiles it: one untimed frame of each beforehand.
    for (double t : {2.0, 10.0, 70.0}) {
        demo.drawFrame(t);
        literal.draw(t);
    }
    literal.drawFloor();
    glFinish();

    const struct {
        const char* name;
        double from, to;
    } scenes[] = {{"title", 0.0, Schedule::kMetaballsStart},
                  {"metaballs", Schedule::kMetaballsStart, Schedule::kDemoEnd}};
    for (const auto& scene : scenes) {
        const Means m = sweep(demo, literal, scene.from, scene.to);
        std::printf("| %dx%d | %-9s | %8.2f | %8.2f | %6.2f | %6.1fx | %5.2fx |\n", width, height,
                    scene.name, m.current, m.literal, m.floor, m.literal / m.current,
                    m.current / m.floor);
        std::fflush(stdout);
    }
}

} // namespace

int main(int argc, char** argv) {
    std::vector<std::string> sizes(argv + 1, argv + argc);
    if (sizes.empty())
        sizes = {"1280x720", "1920x1080"};
    bool header = false;
    for (const std::string& size : sizes) {
        int width = 0, height = 0;
        if (std::sscanf(size.c_str(), "%dx%d", &width, &height) != 2 || width <= 0 || height <= 0) {
            std::fprintf(stderr, "usage: frame_times [WIDTHxHEIGHT...]\n");
            return 2;
        }
        try {
            if (!header) {
                std::printf("Mean frame time (ms) over demo times every %.0f s of each scene\n\n",
                            kSweepStep);
                std::printf("| window | scene | now | literal | floor | literal / now | "
                            "now / floor |\n|---|---|---:|---:|---:|---:|---:|\n");
                header = true;
            }
            measure(width, height);
        } catch (const std::exception& error) {
            std::fprintf(stderr, "frame_times: %s\n", error.what());
            return 1;
        }
    }
    return 0;
}
