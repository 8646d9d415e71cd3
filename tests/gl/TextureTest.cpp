// Uploading atlas tiles as textures.
#include "GLContextTest.h"

#include "gl/SDLImage.h"
#include "gl/Texture.h"

#include <GL/glew.h>

namespace {

using TextureTest = GLContextTest;

TEST_F(TextureTest, AtlasSizedImageUploadsLinearFilteredAndStaysBound) {
    auto image = std::make_shared<SDLImage>(2048, 2048, 4);
    image->pixels()[0] = 200;
    image->pixels()[3] = 255;
    DMGL::Texture texture(image);
    EXPECT_EQ(texture.width(), 2048);
    EXPECT_EQ(texture.height(), 2048);

    GLint bound = 0, minFilter = 0, magFilter = 0, width = 0, unit = 0;
    glGetIntegerv(GL_ACTIVE_TEXTURE, &unit);
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, &minFilter);
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, &magFilter);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &width);
    EXPECT_EQ(unit, GL_TEXTURE0);
    EXPECT_EQ(static_cast<GLuint>(bound), texture.name());
    EXPECT_EQ(minFilter, GL_LINEAR);
    EXPECT_EQ(magFilter, GL_LINEAR);
    EXPECT_EQ(width, 2048);
}

TEST_F(TextureTest, ImagesThatWouldBeReadPastTheirPixelsAreRefused) {
    EXPECT_THROW(DMGL::Texture(std::make_shared<SDLImage>(300, 256, 4)), std::invalid_argument);
    EXPECT_THROW(DMGL::Texture(std::make_shared<SDLImage>(256, 256, 3)), std::invalid_argument);
}

} // namespace
