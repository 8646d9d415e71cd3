// The greetings overlay over the metaballs picture: the heading top left and, every 3 seconds,
// the next of 14 captions bottom right, laid out from the window width and blended by alpha.
#pragma once

#include "AtlasTexture.h"
#include "Frame.h"
#include "Letterbox.h"

#include <vector>

namespace picture {

// A sprite's screen rectangle in projection units (0..width across, 0..height down; one unit
// is one pixel on a 16:9 window) and its rectangle in the atlas as texture coordinates.
struct OverlaySprite {
    float left = 0.0f;
    float top = 0.0f;
    float right = 0.0f;
    float bottom = 0.0f;
    float uLeft = 0.0f;
    float vTop = 0.0f;
    float uRight = 0.0f;
    float vBottom = 0.0f;
};

// The caption shown `overlayTime` seconds after the overlay began: trunc(time / 3).
int captionIndex(double overlayTime);

// The sprites drawn at overlayTime (> 0) on a window of the given size, heading first; empty
// once all 14 captions have had their turn.
std::vector<OverlaySprite> greetingsLayout(double overlayTime, float width, float height);

// Rasterises one sprite into the drawing area: each pixel whose centre lies in the rectangle
// gets the atlas texel at its interpolated coordinates blended over it by source alpha.
void drawOverlaySprite(Frame& frame, const Letterbox& box, const OverlaySprite& sprite,
                       const AtlasTexture& atlas);

} // namespace picture
