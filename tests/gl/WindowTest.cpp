// The window's drawing area after a resize, in the shared 64x48 context: 6-row bands above and
// below the 64x36 picture.
#include "GLContextTest.h"

#include <GL/glew.h>

#include <array>

namespace {

using WindowTest = GLContextTest;

TEST_F(WindowTest, ResizeClearsTheBandsAndScissorsTheDrawingArea) {
    // What the window held before, bands included, as a grown window's old buffer may hold it.
    glDisable(GL_SCISSOR_TEST);
    glClearColor(1, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT);
    demo->resize(64, 48);

    std::array<unsigned char, 4> band{}, top{};
    glReadPixels(0, 0, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, band.data());
    glReadPixels(63, 47, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, top.data());
    const std::array<unsigned char, 4> black{0, 0, 0, 255};
    EXPECT_EQ(band, black) << "the bottom band";
    EXPECT_EQ(top, black) << "the top band";
    std::array<GLint, 4> box{};
    glGetIntegerv(GL_SCISSOR_BOX, box.data());
    EXPECT_TRUE(glIsEnabled(GL_SCISSOR_TEST));
    EXPECT_EQ(box, (std::array<GLint, 4>{0, 6, 64, 36}));
}

} // namespace
