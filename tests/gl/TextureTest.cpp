// Uploading atlas tiles as textures.
#include "GLContextTest.h"

#include "gl/SDLImage.h"
#include "gl/Texture.h"

#include <GL/glew.h>

#include <type_traits>
#include <utility>

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

// Each texture has one owner at a time, and its last owner deletes it.
TEST_F(TextureTest, MovesHandTheTextureOverAndItsLastOwnerDeletesIt) {
    static_assert(!std::is_copy_constructible_v<DMGL::Texture> &&
                  !std::is_copy_assignable_v<DMGL::Texture>);
    const auto image = std::make_shared<SDLImage>(4, 4, 4);
    DMGL::Texture first(image);
    const GLuint name = first.name();
    ASSERT_TRUE(glIsTexture(name));
    DMGL::Texture second(std::move(first));
    EXPECT_FALSE(first) << "a moved-from texture owns none";
    EXPECT_EQ(second.name(), name);
    EXPECT_EQ(second.width(), 4);

    DMGL::Texture third(image);
    const GLuint replaced = third.name();
    third = std::move(second);
    EXPECT_FALSE(glIsTexture(replaced)) << "the texture an assignment replaces is deleted";
    EXPECT_FALSE(second);
    EXPECT_EQ(third.name(), name);
    third = DMGL::Texture();
    EXPECT_FALSE(glIsTexture(name));

    // A texture taken from an upload outlives the upload, which is left with none.
    DMGL::Texture taken;
    {
        DMGL::TextureUpload upload(image);
        EXPECT_FALSE(upload.uploadRows(4));
        taken = upload.take();
        EXPECT_FALSE(upload.take());
    }
    EXPECT_TRUE(glIsTexture(taken.name()));
}

} // namespace
