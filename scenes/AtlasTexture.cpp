// Decodes an embedded atlas into the image a scene uploads, and uploads it as a texture.
#include "scenes/AtlasTexture.h"

#include "gl/ImageTiles.h"

#include <stdexcept>
#include <string>
#include <vector>

std::shared_ptr<DMGL::Image> decodeAtlas(const std::uint8_t* bytes, std::uint32_t size,
                                         std::int32_t tileWidth, std::int32_t tileHeight,
                                         const char* name) {
    std::vector<DMGL::ImageTile> tiles;
    try {
        tiles = DMGL::loadImageTiles(bytes, size, tileWidth, tileHeight);
    } catch (const std::exception& error) {
        throw std::runtime_error(std::string("the ") + name + " atlas: " + error.what());
    }
    if (tiles.empty())
        throw std::runtime_error(std::string("the ") + name + " atlas holds no image");
    return tiles[0].image;
}

DMGL::Texture uploadAtlas(const std::shared_ptr<DMGL::Image>& atlas) {
    return DMGL::Texture(atlas);
}
