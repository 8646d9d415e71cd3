// The drawings of both atlases, each paired with the sprite slot it is fitted into.
#pragma once

#include "Art.h"
#include "Font.h"
#include "Lettering.h"
#include "RgbaImage.h"
#include "SpriteTables.h"

#include <string>
#include <vector>

namespace atlasgen {

constexpr Colour ink = {0, 0, 0};
constexpr Colour logoRed = {255, 0, 0};
constexpr Colour logoBlue = {0, 102, 255};

struct SpriteArtwork {
    SpriteSlot slot;
    Art art;
    std::vector<Colour> colours; // one for each layer of art, the first lowest
    std::string wording;         // what it reads, for the progress report
    std::string fonts;           // the faces it is lettered in, for the progress report
};

// The ten title sprites, in the order of the title table.
std::vector<SpriteArtwork> titleArtwork(const FontBook& fonts);
// The heading, then the fourteen captions in the order they are shown.
std::vector<SpriteArtwork> greetingsArtwork(const FontBook& fonts);

// Lettering fitted to an aspect by its tracking alone, within [minTracking, maxTracking] em.
Art letteredLine(const std::string& text, const LetterStyle& style, double aspect,
                 double minTracking, double maxTracking);

} // namespace atlasgen
