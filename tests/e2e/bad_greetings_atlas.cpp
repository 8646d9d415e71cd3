// A greetings atlas that does not decode, linked in place of the embedded one: the demo built
// with it must refuse to start.
#include <cstdint>

extern const unsigned char greetingsAtlasData[] =
    "\x89PNG\r\n\x1a\n but nothing after the signature";
extern const std::uint32_t greetingsAtlasSize = sizeof greetingsAtlasData - 1;
