// An atlas as the GPU holds it: 8-bit RGBA premultiplied by alpha, sampled with GL_LINEAR
// filtering, no mipmaps and GL_REPEAT wrapping.
#pragma once

#include "ShaderMath.h"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace picture {

class AtlasTexture {
public:
    using Texel = std::array<std::uint8_t, 4>; // r, g, b, a; colour already multiplied by a

    AtlasTexture() = default;
    // texels: width * height entries, top row first.
    AtlasTexture(int width, int height, std::vector<Texel> texels);

    // Decodes a PNG and multiplies each colour by its alpha, as blending the image onto
    // transparent black does. Throws std::runtime_error when the file cannot be decoded.
    static AtlasTexture loadPremultiplied(const std::string& pngPath);

    int width() const { return width_; }
    int height() const { return height_; }
    bool empty() const { return texels_.empty(); }

    // Texel (x, y) after wrapping both coordinates into the texture, y from the top row.
    const Texel& texel(int x, int y) const;

    // The filtered value at texture coordinates uv (0..1 spans the texture, v = 0 at the top
    // row), each channel in 0..1. Texel centres lie at (i + 0.5) / size.
    Vec4 sample(Vec2 uv) const;

private:
    int width_ = 0;
    int height_ = 0;
    std::vector<Texel> texels_;
};

} // namespace picture
