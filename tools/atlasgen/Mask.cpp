// An 8-bit coverage mask and its ink bounding box.
#include "Mask.h"

#include <algorithm>

namespace atlasgen {

Mask::Mask(int width, int height)
    : w(width), h(height), data(static_cast<size_t>(width) * height, 0) {}

PixelRect Mask::inkBox() const {
    int x0 = w, y0 = h, x1 = -1, y1 = -1;
    for (int y = 0; y < h; ++y) {
        const std::uint8_t* row = &data[static_cast<size_t>(y) * w];
        for (int x = 0; x < w; ++x) {
            if (row[x] == 0) {
                continue;
            }
            x0 = std::min(x0, x);
            x1 = std::max(x1, x);
            y0 = std::min(y0, y);
            y1 = std::max(y1, y);
        }
    }
    if (x1 < 0) {
        return {};
    }
    return {x0, y0, x1 - x0 + 1, y1 - y0 + 1};
}

} // namespace atlasgen
