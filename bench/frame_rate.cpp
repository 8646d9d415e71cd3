// Frame rate of each scene at a given window size, measured side by side in one run.
//   frame_rate [WIDTHxHEIGHT] [SECONDS_PER_SCENE]     (needs a display; Xvfb will do)
// Draws and swaps frames at fixed demo times, as the demo's loop does, and prints frames per
// second for each, plus each scene's cost relative to the title.
#include "app/Demo.h"

#include <GL/glew.h>
#include <SDL.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <exception>

namespace {

struct Moment {
    const char* name;
    double demoTime; // seconds
};

double framesPerSecond(Demo& demo, const Window& window, double demoTime, double seconds) {
    using Clock = std::chrono::steady_clock;
    demo.drawFrame(demoTime); // first frame sets the scene up and warms the shader
    window.swap();
    glFinish();
    const auto start = Clock::now();
    int frames = 0;
    double elapsed = 0;
    while (elapsed < seconds) {
        demo.drawFrame(demoTime);
        window.swap();
        glFinish();
        ++frames;
        elapsed = std::chrono::duration<double>(Clock::now() - start).count();
    }
    return frames / elapsed;
}

} // namespace

int main(int argc, char** argv) {
    int width = 1280, height = 720;
    if (argc > 1 && std::sscanf(argv[1], "%dx%d", &width, &height) != 2) {
        std::fprintf(stderr, "usage: frame_rate [WIDTHxHEIGHT] [SECONDS_PER_SCENE]\n");
        return 2;
    }
    const double seconds = argc > 2 ? std::atof(argv[2]) : 3.0;
    const Moment moments[] = {
        {"title, star and logo (10 s)", 10.0},
        {"metaballs, one ball (28 s)", 28.0},
        {"metaballs, five balls (40 s)", 40.0},
        {"metaballs with greetings (68 s)", 68.0},
    };
    try {
        Demo demo(DemoOptions{width, height, false, false});
        demo.setupTitle();
        std::printf("%dx%d, %s\n", width, height, glGetString(GL_RENDERER));
        double titleRate = 0;
        for (const Moment& moment : moments) {
            const double rate = framesPerSecond(demo, demo.screen(), moment.demoTime, seconds);
            if (titleRate == 0)
                titleRate = rate;
            std::printf("%-34s %8.1f fps  %5.2fx the title's frame time\n", moment.name, rate,
                        titleRate / rate);
        }
    } catch (const std::exception& error) {
        std::fprintf(stderr, "frame_rate: %s\n", error.what());
        return 1;
    }
    return 0;
}
