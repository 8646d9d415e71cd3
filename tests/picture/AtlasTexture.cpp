// Premultiplied atlas loading and bilinear sampling with repeat wrapping.
#include "AtlasTexture.h"

#include <SDL.h>
#include <SDL_image.h>

#include <cmath>
#include <memory>
#include <stdexcept>
#include <utility>

namespace picture {

namespace {

struct SurfaceDeleter {
    void operator()(SDL_Surface* surface) const { SDL_FreeSurface(surface); }
};
using SurfacePtr = std::unique_ptr<SDL_Surface, SurfaceDeleter>;

int wrap(int i, int size) {
    int m = i % size;
    return m < 0 ? m + size : m;
}

std::uint8_t premultiply(std::uint8_t channel, std::uint8_t alpha) {
    return static_cast<std::uint8_t>((channel * alpha + 127) / 255);
}

} // namespace

AtlasTexture::AtlasTexture(int width, int height, std::vector<Texel> texels)
    : width_(width), height_(height), texels_(std::move(texels)) {
    if (width <= 0 || height <= 0 ||
        texels_.size() != static_cast<std::size_t>(width) * static_cast<std::size_t>(height)) {
        throw std::invalid_argument("atlas texel count does not match its size");
    }
}

AtlasTexture AtlasTexture::loadPremultiplied(const std::string& pngPath) {
    SurfacePtr decoded(IMG_Load(pngPath.c_str()));
    if (!decoded) {
        throw std::runtime_error("cannot read " + pngPath + ": " + IMG_GetError());
    }
    SurfacePtr rgba(SDL_ConvertSurfaceFormat(decoded.get(), SDL_PIXELFORMAT_RGBA32, 0));
    if (!rgba) {
        throw std::runtime_error("cannot convert " + pngPath + ": " + SDL_GetError());
    }
    std::vector<Texel> texels;
    texels.reserve(static_cast<std::size_t>(rgba->w) * rgba->h);
    const auto* base = static_cast<const std::uint8_t*>(rgba->pixels);
    for (int y = 0; y < rgba->h; ++y) {
        const std::uint8_t* p = base + static_cast<std::size_t>(y) * rgba->pitch;
        for (int x = 0; x < rgba->w; ++x, p += 4) {
            texels.push_back(
                {premultiply(p[0], p[3]), premultiply(p[1], p[3]), premultiply(p[2], p[3]), p[3]});
        }
    }
    return AtlasTexture(rgba->w, rgba->h, std::move(texels));
}

const AtlasTexture::Texel& AtlasTexture::texel(int x, int y) const {
    return texels_[static_cast<std::size_t>(wrap(y, height_)) * width_ + wrap(x, width_)];
}

Vec4 AtlasTexture::sample(Vec2 uv) const {
    const float s = uv.x * width_ - 0.5f;
    const float t = uv.y * height_ - 0.5f;
    const float s0 = std::floor(s);
    const float t0 = std::floor(t);
    const float fs = s - s0;
    const float ft = t - t0;
    const int i = static_cast<int>(s0);
    const int j = static_cast<int>(t0);
    const Texel& a = texel(i, j);
    const Texel& b = texel(i + 1, j);
    const Texel& c = texel(i, j + 1);
    const Texel& d = texel(i + 1, j + 1);
    float out[4];
    for (int k = 0; k < 4; ++k) {
        const float top = a[k] * (1.0f - fs) + b[k] * fs;
        const float bottom = c[k] * (1.0f - fs) + d[k] * fs;
        out[k] = (top * (1.0f - ft) + bottom * ft) / 255.0f;
    }
    return {out[0], out[1], out[2], out[3]};
}

} // namespace picture
