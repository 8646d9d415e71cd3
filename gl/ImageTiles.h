// Cuts an image into fixed-size tiles, the way the scenes turn an atlas into a texture.
#pragma once

#include "gl/Image.h"

#include <cstdint>
#include <memory>
#include <vector>

namespace DMGL {

struct ImageTile {
    std::shared_ptr<Image> image; // always tileWidth x tileHeight, transparent black where unfilled
    float uExtent;                // filled width / tile width
    float vExtent;                // filled height / tile height
};

// Tiles in row-major order, top row first. Each tile's colours come out premultiplied by alpha.
// An image of zero width or height gives no tiles.
std::vector<ImageTile> splitIntoTiles(std::shared_ptr<Image> image, std::int32_t tileWidth,
                                      std::int32_t tileHeight);

// Decodes an image held in memory and splits it; throws if it cannot be decoded.
std::vector<ImageTile> loadImageTiles(const std::uint8_t* bytes, std::uint32_t size,
                                      std::int32_t tileWidth, std::int32_t tileHeight);

} // namespace DMGL
