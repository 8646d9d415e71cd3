// A straight-alpha 8-bit RGBA image: the atlas as it is written to its PNG file.
#pragma once

#include "Mask.h"

#include <cstdint>
#include <vector>

namespace atlasgen {

struct Colour {
    std::uint8_t r = 0, g = 0, b = 0;
};

struct Rgba {
    std::uint8_t r = 0, g = 0, b = 0, a = 0;
};

// Lays coverage `above` in colour `top` over the pixel `below`. Alpha is the OVER composite of
// the two coverages; the colour is that of whichever contributes more to the result, never a
// mixture, so an image built this way holds only its pure colours. Zero alpha gives (0, 0, 0, 0).
Rgba layOver(Rgba below, std::uint8_t above, Colour top);

class RgbaImage {
public:
    RgbaImage(int width, int height);

    int width() const { return w; }
    int height() const { return h; }
    Rgba at(int x, int y) const;
    void set(int x, int y, Rgba pixel);
    // Rows top to bottom, 4 bytes a pixel in R, G, B, A order, no padding.
    const std::vector<std::uint8_t>& bytes() const { return data; }

    // Lays the layers over the area whose top-left pixel is x, y, the first layer lowest, each in
    // its colour. Throws std::runtime_error when the area leaves the image.
    void stamp(const std::vector<Mask>& layers, const std::vector<Colour>& colours, int x, int y);

private:
    int w, h;
    std::vector<std::uint8_t> data;
};

} // namespace atlasgen
