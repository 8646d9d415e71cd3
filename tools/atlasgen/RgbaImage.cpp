// Straight-alpha RGBA pixels and the laying of coverage masks onto them in pure colours.
#include "RgbaImage.h"

#include <stdexcept>

namespace atlasgen {

Rgba layOver(Rgba below, std::uint8_t above, Colour top) {
    const int kept = (below.a * (255 - above) + 127) / 255; // what shows of the pixel below
    const int alpha = above + kept;
    if (alpha == 0) {
        return {};
    }
    if (above >= kept) {
        return {top.r, top.g, top.b, static_cast<std::uint8_t>(alpha)};
    }
    return {below.r, below.g, below.b, static_cast<std::uint8_t>(alpha)};
}

RgbaImage::RgbaImage(int width, int height)
    : w(width), h(height), data(static_cast<size_t>(width) * height * 4, 0) {}

Rgba RgbaImage::at(int x, int y) const {
    const std::uint8_t* p = &data[(static_cast<size_t>(y) * w + x) * 4];
    return {p[0], p[1], p[2], p[3]};
}

void RgbaImage::set(int x, int y, Rgba pixel) {
    std::uint8_t* p = &data[(static_cast<size_t>(y) * w + x) * 4];
    p[0] = pixel.r;
    p[1] = pixel.g;
    p[2] = pixel.b;
    p[3] = pixel.a;
}

void RgbaImage::stamp(const std::vector<Mask>& layers, const std::vector<Colour>& colours, int x,
                      int y) {
    if (layers.size() != colours.size()) {
        throw std::runtime_error("every layer needs its colour");
    }
    for (size_t i = 0; i < layers.size(); ++i) {
        const Mask& mask = layers[i];
        if (x < 0 || y < 0 || x + mask.width() > w || y + mask.height() > h) {
            throw std::runtime_error("a sprite leaves the atlas");
        }
        for (int my = 0; my < mask.height(); ++my) {
            for (int mx = 0; mx < mask.width(); ++mx) {
                const std::uint8_t coverage = mask.at(mx, my);
                if (coverage == 0) {
                    continue;
                }
                std::uint8_t* p = &data[(static_cast<size_t>(y + my) * w + x + mx) * 4];
                const Rgba out = layOver({p[0], p[1], p[2], p[3]}, coverage, colours[i]);
                p[0] = out.r;
                p[1] = out.g;
                p[2] = out.b;
                p[3] = out.a;
            }
        }
    }
}

} // namespace atlasgen
