// Where every sprite lies in the two atlases, in atlas pixels, and the shape it is shown in.
#pragma once

#include "Mask.h"

#include <array>

namespace atlasgen {

constexpr int titleAtlasSize = 2048; // square
constexpr int greetingsAtlasWidth = 2048;
constexpr int greetingsAtlasHeight = 512;

struct SpriteSlot {
    const char* name; // the title shader's uniform suffix, or a caption label
    PixelRect rect;   // atlas pixels
    // Width / height of the screen rectangle the sprite is stretched into. Artwork is drawn
    // undistorted at this aspect and squeezed into rect, so that it looks right on screen.
    double shownAspect;
};

const std::array<SpriteSlot, 10>& titleSprites();
const SpriteSlot& greetingsHeading();
// The captions in the order they are shown.
const std::array<SpriteSlot, 14>& greetingCaptions();

} // namespace atlasgen
