// Decodes an embedded atlas into the image a scene uploads, and uploads it as a texture.
#pragma once

#include "gl/Image.h"
#include "gl/Texture.h"

#include <cstdint>
#include <memory>

// Decodes the atlas and cuts it into one tile of tileWidth x tileHeight, premultiplied. Needs no
// GL context, so it may run on any thread. Throws std::runtime_error naming the atlas if it
// cannot be decoded or yields no tile.
std::shared_ptr<DMGL::Image> decodeAtlas(const std::uint8_t* bytes, std::uint32_t size,
                                         std::int32_t tileWidth, std::int32_t tileHeight,
                                         const char* name);

// Uploads a decoded atlas with linear filtering; returns the texture, left bound on unit 0.
DMGL::Texture uploadAtlas(const std::shared_ptr<DMGL::Image>& atlas);
