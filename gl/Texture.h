// Uploads one RGBA image as a linear-filtered OpenGL texture on texture unit 0.
#pragma once

#include "gl/Image.h"

#include <GL/glew.h>

#include <cstdint>
#include <memory>

namespace DMGL {

// The smallest power of two not below n, for n >= 0 (0 stays 0).
std::int32_t nextPowerOfTwo(std::int32_t n);

// The texture is left bound to GL_TEXTURE_2D on unit 0; its owner deletes it (glDeleteTextures
// on name()) while the context exists.
class Texture {
public:
    // Takes 32-bit images whose sizes are powers of two (every atlas tile is one);
    // throws std::invalid_argument for any other image rather than read past its pixels.
    explicit Texture(std::shared_ptr<Image> image);

    GLuint name() const { return textureName; }
    std::int32_t width() const { return textureWidth; }
    std::int32_t height() const { return textureHeight; }

private:
    GLuint textureName = 0;
    std::int32_t textureWidth = 0;
    std::int32_t textureHeight = 0;
};

} // namespace DMGL
