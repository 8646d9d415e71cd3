// Paints a whole atlas: every sprite's drawing fitted into its slot, on a transparent ground.
#pragma once

#include "Artwork.h"
#include "RgbaImage.h"

#include <cstdio>
#include <vector>

namespace atlasgen {

// When report is not null, a line for each sprite tells its wording, its faces and how much its
// letters are stretched as shown on screen (0% is undistorted).
RgbaImage paintAtlas(int width, int height, const std::vector<SpriteArtwork>& sprites,
                     std::FILE* report);

} // namespace atlasgen
