// Uploads one RGBA image as a linear-filtered OpenGL texture on texture unit 0, at once or a band
// of rows at a time.
#pragma once

#include "gl/Image.h"

#include <GL/glew.h>

#include <cstdint>
#include <memory>
#include <utility>

namespace DMGL {

// The smallest power of two not below n, for n >= 0 (0 stays 0).
std::int32_t nextPowerOfTwo(std::int32_t n);

// Owns one OpenGL texture, made from an image and left bound to GL_TEXTURE_2D on unit 0, and
// deletes it when it goes, so it must go while its context exists. Move-only; an empty Texture
// (made by default, or moved from) owns none, has name 0 and may go at any time.
class Texture {
public:
    Texture() = default;
    // Takes 32-bit images whose sizes are powers of two (every atlas tile is one);
    // throws std::invalid_argument for any other image rather than read past its pixels.
    explicit Texture(std::shared_ptr<Image> image);
    ~Texture();
    Texture(Texture&& other) noexcept;
    Texture& operator=(Texture&& other) noexcept;
    Texture(const Texture&) = delete;
    Texture& operator=(const Texture&) = delete;

    GLuint name() const { return textureName; }
    explicit operator bool() const { return textureName != 0; }
    std::int32_t width() const { return textureWidth; }
    std::int32_t height() const { return textureHeight; }

private:
    friend class TextureUpload;
    // Makes the texture at the image's size; `pixels` are the image's, or null for undefined.
    Texture(const Image& image, const void* pixels);

    GLuint textureName = 0;
    std::int32_t textureWidth = 0;
    std::int32_t textureHeight = 0;
};

// The same texture as Texture makes, filled over several calls so that no one call copies the
// whole image. Owns the texture until take() hands it over, so it must go while its context
// exists.
class TextureUpload {
public:
    // Makes the texture at the image's size, its pixels not yet defined; takes the images
    // Texture takes and throws std::invalid_argument for others. Keeps the image until done.
    explicit TextureUpload(std::shared_ptr<Image> image);

    // Copies the next `rows` rows of the image (fewer at its end) into the texture, left bound
    // on unit 0. Returns whether rows are left; false, copying nothing, once all are copied.
    bool uploadRows(std::int32_t rows);
    bool done() const { return !image; }
    // Hands the texture over to the caller; an empty Texture if already taken.
    Texture take() { return std::move(texture); }

private:
    std::shared_ptr<Image> image; // until every row is copied
    Texture texture;
    std::int32_t nextRow = 0;
};

} // namespace DMGL
