// One offscreen demo context for every GL test: the window, GL entry points and the programs.
#include "GLContextTest.h"

#include <cstdlib>

std::unique_ptr<Demo> GLContextTest::demo;

void GLContextTest::SetUpTestSuite() {
    if (!demo)
        demo = std::make_unique<Demo>(DemoOptions{64, 48, false, false});
}

int main(int argc, char** argv) {
    setenv("SDL_VIDEODRIVER", "offscreen", 0);
    ::testing::InitGoogleTest(&argc, argv);
    const int result = RUN_ALL_TESTS();
    GLContextTest::demo.reset();
    return result;
}
