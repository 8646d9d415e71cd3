// Decodes an embedded atlas and leaves it bound as the texture on unit 0.
#include "scenes/AtlasTexture.h"

#include "gl/ImageTiles.h"
#include "gl/Texture.h"

#include <stdexcept>
#include <string>

GLuint uploadAtlas(const std::uint8_t* bytes, std::uint32_t size, std::int32_t tileWidth,
                   std::int32_t tileHeight, const char* name) {
    std::vector<DMGL::ImageTile> tiles;
    try {
        tiles = DMGL::loadImageTiles(bytes, size, tileWidth, tileHeight);
    } catch (const std::exception& error) {
        throw std::runtime_error(std::string("the ") + name + " atlas: " + error.what());
    }
    if (tiles.empty())
        throw std::runtime_error(std::string("the ") + name + " atlas holds no image");
    return DMGL::Texture(tiles[0].image).name();
}
