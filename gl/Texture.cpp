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

// Makes a linear-filtered texture of the image's size, bound on unit 0, from `pixels` (the
// image's, or null to leave them undefined).
GLuint makeTexture(const Image& image, const void* pixels) {
    GLuint name = 0;
    glActiveTexture(GL_TEXTURE0);
    glGenTextures(1, &name);
    glBindTexture(GL_TEXTURE_2D, name);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, image.width(), image.height(), 0, GL_RGBA,
                 GL_UNSIGNED_BYTE, pixels);
    glTexParameterf(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glTexParameterf(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    return name;
}

} // namespace

Texture::Texture(std::shared_ptr<Image> image)
    : textureWidth(nextPowerOfTwo(image->width())), textureHeight(nextPowerOfTwo(image->height())) {
    requireTextureImage(*image);
    textureName = makeTexture(*image, image->pixels());
}

TextureUpload::TextureUpload(std::shared_ptr<Image> source) : image(std::move(source)) {
    requireTextureImage(*image);
    textureName = makeTexture(*image, nullptr);
}

TextureUpload::~TextureUpload() {
    glDeleteTextures(1, &textureName);
}

bool TextureUpload::uploadRows(std::int32_t rows) {
    if (!image)
        return false;
    rows = std::min(rows, image->height() - nextRow);
    glActiveTexture(GL_TEXTURE0);
    glBindTexture(GL_TEXTURE_2D, textureName);
    glTexSubImage2D(GL_TEXTURE_2D, 0, 0, nextRow, image->width(), rows, GL_RGBA, GL_UNSIGNED_BYTE,
                    image->pixels() + static_cast<std::size_t>(nextRow) * image->width() * 4);
    nextRow += rows;
    if (nextRow == image->height())
        image.reset();
    return !done();
}

GLuint TextureUpload::take() {
    const GLuint name = textureName;
    textureName = 0;
    return name;
}

} // namespace DMGL
