// Uploads one RGBA image as a linear-filtered OpenGL texture on texture unit 0.
#include "gl/Texture.h"

#include <stdexcept>

namespace DMGL {

std::int32_t nextPowerOfTwo(std::int32_t n) {
    if (n == (n & -n))
        return n;
    std::uint32_t m = static_cast<std::uint32_t>(n) - 1;
    m |= m >> 1;
    m |= m >> 2;
    m |= m >> 4;
    m |= m >> 8;
    m |= m >> 16;
    return static_cast<std::int32_t>(m + 1);
}

Texture::Texture(std::shared_ptr<Image> image)
    : textureWidth(nextPowerOfTwo(image->width())), textureHeight(nextPowerOfTwo(image->height())) {
    if (textureWidth != image->width() || textureHeight != image->height() ||
        image->bytesPerPixel() != 4)
        throw std::invalid_argument("a texture needs a 32-bit image with power-of-two sizes");

    glActiveTexture(GL_TEXTURE0);
    glGenTextures(1, &textureName);
    glBindTexture(GL_TEXTURE_2D, textureName);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, textureWidth, textureHeight, 0, GL_RGBA,
                 GL_UNSIGNED_BYTE, image->pixels());
    glTexParameterf(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glTexParameterf(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
}

} // namespace DMGL
