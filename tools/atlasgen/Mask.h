// An 8-bit coverage mask: the shape of a sprite layer, 0 transparent to 255 fully covered.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace atlasgen {

// An axis-aligned pixel rectangle; x, y is the top-left pixel, w, h the size in pixels.
struct PixelRect {
    int x = 0, y = 0, w = 0, h = 0;
    bool empty() const { return w <= 0 || h <= 0; }
    bool operator==(const PixelRect& o) const {
        return x == o.x && y == o.y && w == o.w && h == o.h;
    }
};

class Mask {
public:
    Mask() = default;
    Mask(int width, int height);

    int width() const { return w; }
    int height() const { return h; }
    std::uint8_t at(int x, int y) const { return data[static_cast<std::size_t>(y) * w + x]; }
    std::uint8_t& at(int x, int y) { return data[static_cast<std::size_t>(y) * w + x]; }

    // The tight bounding box of the pixels with non-zero coverage; empty when there are none.
    PixelRect inkBox() const;

private:
    int w = 0, h = 0;
    std::vector<std::uint8_t> data;
};

} // namespace atlasgen
