// Where an atlas holds anything but transparent black: the parts of a sprite that can colour a
// pixel, so that draws can leave out the empty rest.
#include "scenes/AtlasCoverage.h"

#include <cstring>

AtlasCoverage::AtlasCoverage(const DMGL::Image& atlas)
    : texelWidth(atlas.width()), texelHeight(atlas.height()),
      columns((texelWidth + kCell - 1) / kCell), rows((texelHeight + kCell - 1) / kCell),
      sums(static_cast<size_t>(columns + 1) * (rows + 1), 0) {
    std::vector<char> coloured(static_cast<size_t>(columns) * rows, 0);
    const std::uint8_t* pixels = atlas.pixels();
    for (int y = 0; y < texelHeight; ++y) {
        const std::uint8_t* row = pixels + static_cast<size_t>(y) * texelWidth * 4;
        char* cells = &coloured[static_cast<size_t>(y / kCell) * columns];
        for (int x = 0; x < texelWidth; ++x) {
            std::uint32_t texel;
            std::memcpy(&texel, row + 4 * x, 4);
            if (texel != 0)
                cells[x / kCell] = 1;
        }
    }
    const size_t stride = static_cast<size_t>(columns) + 1;
    for (int row = 0; row < rows; ++row)
        for (int column = 0; column < columns; ++column)
            sums[(row + 1) * stride + column + 1] =
                coloured[static_cast<size_t>(row) * columns + column] +
                sums[row * stride + column + 1] + sums[(row + 1) * stride + column] -
                sums[row * stride + column];
}

bool AtlasCoverage::any(int x0, int y0, int x1, int y1) const {
    if (x0 > x1 || y0 > y1)
        return false;
    if (x0 < 0 || y0 < 0 || x1 >= texelWidth || y1 >= texelHeight)
        return true;
    const size_t stride = static_cast<size_t>(columns) + 1;
    const size_t c0 = x0 / kCell, c1 = x1 / kCell + 1, r0 = y0 / kCell, r1 = y1 / kCell + 1;
    return sums[r1 * stride + c1] - sums[r0 * stride + c1] - sums[r1 * stride + c0] +
               sums[r0 * stride + c0] >
           0;
}
