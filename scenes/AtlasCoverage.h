// Where an atlas holds anything but transparent black: the parts of a sprite that can colour a
// pixel, so that draws can leave out the empty rest.
#pragma once

#include "gl/Image.h"

#include <cstdint>
#include <vector>

class AtlasCoverage {
public:
    // Scans a 32-bit RGBA atlas (rows top to bottom) in cells of kCell x kCell texels.
    explicit AtlasCoverage(const DMGL::Image& atlas);

    // True if a texel in columns x0..x1 and rows y0..y1 (texel indices, rows from the top, both
    // ends included) has a channel other than 0; false if none in the cells they touch has.
    // Texels outside the atlas, which a repeating sampler wraps, count as coloured.
    bool any(int x0, int y0, int x1, int y1) const;

    int width() const { return texelWidth; }
    int height() const { return texelHeight; }

    static constexpr int kCell = 4; // texels a side of a cell

private:
    int texelWidth, texelHeight, columns, rows;
    // Summed-area table of coloured cells: entry (column, row) counts the cells above and to the
    // left of it; (columns + 1) x (rows + 1) entries.
    std::vector<std::uint32_t> sums;
};
