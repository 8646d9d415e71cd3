// Scissor rectangles for parts of the 16:9 viewport, and the viewport itself as GL reports it.
#pragma once

#include "scenes/MetaballsBound.h"

#include <vector>

// A rectangle in GL window coordinates: pixels, origin at the window's bottom left.
struct PixelRect {
    int x, y, width, height;
    bool empty() const { return width <= 0 || height <= 0; }
};

// The pixels that cover `rect` (uv units of `viewport`, y down) grown by `pad` pixels on every
// side and cut to the viewport. Empty when the rectangle is empty or misses the viewport.
PixelRect pixelsCovering(const UvRect& rect, const PixelRect& viewport, int pad);

// The pixels in both rectangles.
PixelRect intersection(const PixelRect& a, const PixelRect& b);

// Rectangles that do not overlap and together cover exactly the pixels of `rect` outside every
// one of `holes`.
std::vector<PixelRect> subtract(const PixelRect& rect, const std::vector<PixelRect>& holes);

// Rectangles that do not overlap and together cover exactly the union of `rects`: every pixel
// of the union lies in one of them. Empty rectangles are ignored.
std::vector<PixelRect> disjointCover(const std::vector<PixelRect>& rects);

// The bands of a window `windowHeight` pixels high above and below `viewport`; either may be
// empty (a window wider than 16:9 has none).
PixelRect bandAbove(const PixelRect& viewport, int windowHeight);
PixelRect bandBelow(const PixelRect& viewport);

// The current GL viewport (the window's letterboxed 16:9 area).
PixelRect currentViewport();

// Sets the scissor box to `rect`.
void scissorTo(const PixelRect& rect);
