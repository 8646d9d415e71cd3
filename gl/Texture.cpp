// Uploads one RGBA image as a linear-filtered OpenGL texture on texture unit 0, at once or a band
// of rows at a time.
#include "gl/Texture.h"

#include <algorithm>
#include <cstddef>
#include <stdexcept>
#include <utility>

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

namespace {

void requireTextureImage(const Image& image) {
    if (nextPowerOfTwo(image.width()) != image.width() ||
        nextPowerOfTwo(image.height()) != image.height() || image.bytesPerPixel() != 4)
        throw std::invalid_argument("a texture needs a 32-bit image with power-of-two sizes");
}

} // namespace

Texture::Texture(const Image& image, const void* pixels)
    : textureWidth(image.width()), textureHeight(image.height()) {
    requireTextureImage(image);
    glActiveTexture(GL_TEXTURE0);
    glGenTextures(1, &textureName);
    glBindTexture(GL_TEXTURE_2D, textureName);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, image.width(), image.height(), 0, GL_RGBA,
                 GL_UNSIGNED_BYTE, pixels);
    glTexParameterf(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glTexParameterf(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
}

Texture::Texture(std::shared_ptr<Image> image) : Texture(*image, image->pixels()) {}

// An empty Texture makes no GL call, so it may go after its context.
Texture::~Texture() {
    if (textureName)
        glDeleteTextures(1, &textureName);
}

Texture::Texture(Texture&& other) noexcept
    : textureName(std::exchange(other.textureName, 0)),
      textureWidth(std::exchange(other.textureWidth, 0)),
      textureHeight(std::exchange(other.textureHeight, 0)) {}

Texture& Texture::operator=(Texture&& other) noexcept {
    if (this != &other) {
        if (textureName)
            glDeleteTextures(1, &textureName);
        textureName = std::exchange(other.textureName, 0);
        textureWidth = std::exchange(other.textureWidth, 0);
        textureHeight = std::exchange(other.textureHeight, 0);
    }
    return *this;
}

TextureUpload::TextureUpload(std::shared_ptr<Image> source)
    : image(std::move(source)), texture(*image, nullptr) {}

bool TextureUpload::uploadRows(std::int32_t rows) {
    if (!image)
        return false;
    rows = std::min(rows, image->height() - nextRow);
    glActiveTexture(GL_TEXTURE0);
    glBindTexture(GL_TEXTURE_2D, texture.name());
    glTexSubImage2D(GL_TEXTURE_2D, 0, 0, nextRow, image->width(), rows, GL_RGBA, GL_UNSIGNED_BYTE,
                    image->pixels() + static_cast<std::size_t>(nextRow) * image->width() * 4);
    nextRow += rows;
    if (nextRow == image->height())
        image.reset();
    return !done();
}

} // namespace DMGL
