// Cuts an image into fixed-size tiles, the way the scenes turn an atlas into a texture.
#include "gl/ImageTiles.h"

#include "gl/SDLImage.h"

#include <algorithm>

namespace DMGL {

std::vector<ImageTile> splitIntoTiles(std::shared_ptr<Image> image, std::int32_t tileWidth,
                                      std::int32_t tileHeight) {
    std::vector<ImageTile> tiles;
    for (std::int32_t y = 0; y < image->height(); y += tileHeight) {
        const std::int32_t h = std::min(image->height() - y, tileHeight);
        const float vExtent = static_cast<float>(h) / static_cast<float>(tileHeight);
        for (std::int32_t x = 0; x < image->width(); x += tileWidth) {
            const std::int32_t w = std::min(image->width() - x, tileWidth);
            auto tile = std::make_shared<SDLImage>(tileWidth, tileHeight, image->bytesPerPixel());
            tile->blit(image, BlitRect{double(x), double(y), double(w), double(h)},
                       BlitRect{0, 0, double(w), double(h)});
            const float uExtent = static_cast<float>(w) / static_cast<float>(tileWidth);
            tiles.push_back(ImageTile{tile, uExtent, vExtent});
        }
    }
    return tiles;
}

std::vector<ImageTile> loadImageTiles(const std::uint8_t* bytes, std::uint32_t size,
                                      std::int32_t tileWidth, std::int32_t tileHeight) {
    return splitIntoTiles(loadImage(bytes, size), tileWidth, tileHeight);
}

} // namespace DMGL
