// A scene drawn again after the other one (a loop's next pass) looks exactly as when first drawn,
// in the letterboxed window the shared context has (64x48: 6-row bands above and below).
#include "GLContextTest.h"

#include <GL/glew.h>

#include <vector>

namespace {

class SceneOrderTest : public GLContextTest {};

std::vector<unsigned char> frameAt(double t) {
    EXPECT_TRUE(GLContextTest::demo->drawFrame(t)) << t;
    const int width = GLContextTest::demo->screen().width();
    const int height = GLContextTest::demo->screen().height();
    std::vector<unsigned char> pixels(static_cast<size_t>(width) * height * 4);
    glReadPixels(0, 0, width, height, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
    return pixels;
}

TEST_F(SceneOrderTest, EachSceneLooksTheSameWhenItComesRoundAgain) {
    // Bands the title never writes start black, as the metaballs leave them.
    demo->setupCapture();

    const auto title = frameAt(10.0);
    const auto metaballs = frameAt(90.0); // greetings included
    EXPECT_TRUE(title != metaballs);
    EXPECT_TRUE(frameAt(10.0) == title) << "the title after the metaballs";
    EXPECT_TRUE(frameAt(90.0) == metaballs) << "the metaballs after the title again";
}

} // namespace
