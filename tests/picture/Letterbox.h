// Where the full-width 16:9 drawing area lies in a window, and the uv each window pixel gets.
#pragma once

#include "ShaderMath.h"

namespace picture {

// The drawing area in window pixels. `top` counts rows down from the window's top edge and may
// be negative (a window wider than 16:9 cuts the area's top and bottom off).
struct Letterbox {
    int windowWidth = 0;
    int windowHeight = 0;
    int areaHeight = 0; // trunc(width * 0.5625)
    int bottom = 0;     // GL's y of the area's lower edge, (height - areaHeight) / 2 truncated
    int top = 0;        // first window row (from the top) of the area

    // Whether window row y (from the top) lies in the drawing area.
    bool containsRow(int y) const { return y >= top && y < top + areaHeight; }
};

Letterbox letterbox(int windowWidth, int windowHeight);

// uv at the centre of window pixel (x, y), y counted from the top: (0, 0) at the area's top-left
// corner, (1, 1) at its bottom-right.
Vec2 fragmentUv(const Letterbox& box, int x, int y);

// The projection maps (0..width, 0..height) onto the area. These convert a window pixel centre
// to those units: x is unchanged, y is scaled by height / areaHeight.
Vec2 projectionUnitsAt(const Letterbox& box, int x, int y);

} // namespace picture
