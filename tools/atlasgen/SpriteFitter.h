// Renders a drawing into a sprite rectangle so that its ink's bounding box is exactly that
// rectangle.
#pragma once

#include "Art.h"
#include "Mask.h"

#include <vector>

namespace atlasgen {

struct FittedSprite {
    std::vector<Mask> layers; // one coverage mask per layer of the drawing, each w x h
    double scaleX = 0;        // pixels per design unit across
    double scaleY = 0;        // pixels per design unit down
};

// The drawing's measured ink is mapped onto the w x h rectangle, overhanging each edge by a
// fraction of a pixel that the rectangle's edge then clips, so the outermost pixel rows and
// columns always hold ink. Throws std::runtime_error when the drawing is empty or cannot be fitted.
FittedSprite fitArt(const Art& art, int w, int h);

} // namespace atlasgen
