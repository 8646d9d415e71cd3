// Where on the screen the metaballs picture can differ from plain white at a given scene time.
#pragma once

#include <vector>

// A rectangle in uv units of the viewport: (0, 0) top left, (1, 1) bottom right.
struct UvRect {
    double left, top, right, bottom;
    bool empty; // true when every pixel of the picture is white
};

// Conservative rectangles, one a ball, outside all of which the metaballs shader leaves every
// pixel white at scene time `time` (seconds); none when the whole picture is white. The shader
// evaluates its time script in single precision; this one runs in double precision and pads ball
// size, positions and the bound so that the difference never matters. The rectangles may reach
// outside 0..1.
std::vector<UvRect> metaballsBounds(double time);
