// Decodes an embedded atlas and leaves it bound as the texture on unit 0.
#pragma once

#include <GL/glew.h>

#include <cstdint>

// Decodes the atlas, cuts it into one tile of tileWidth x tileHeight and uploads that tile.
// Returns the texture's name, which the caller deletes. Throws std::runtime_error naming the
// atlas if it cannot be decoded or yields no tile.
GLuint uploadAtlas(const std::uint8_t* bytes, std::uint32_t size, std::int32_t tileWidth,
                   std::int32_t tileHeight, const char* name);
