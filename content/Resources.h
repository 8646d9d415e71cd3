// The content stored inside the executable: each resource is a read-only byte array with its
// exact size in bytes. No text is terminated, so always pass the array together with its size.
#pragma once

#include <cstdint>

extern const unsigned char moduleData[];
extern const std::uint32_t moduleSize;

extern const char vertexShaderText[];
extern const std::uint32_t vertexShaderSize;
extern const char titleShaderText[];
extern const std::uint32_t titleShaderSize;
extern const char metaballsShaderText[];
extern const std::uint32_t metaballsShaderSize;
extern const char metaballsScriptText[];
extern const std::uint32_t metaballsScriptSize;
extern const char titleStarScriptText[];
extern const std::uint32_t titleStarScriptSize;
extern const char passThroughShaderText[];
extern const std::uint32_t passThroughShaderSize;

extern const unsigned char greetingsAtlasData[];
extern const std::uint32_t greetingsAtlasSize;
extern const unsigned char titleAtlasData[];
extern const std::uint32_t titleAtlasSize;
