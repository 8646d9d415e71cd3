// Where on the screen the metaballs picture can differ from plain white at a given scene time.
#pragma once

// A rectangle in uv units of the viewport: (0, 0) top left, (1, 1) bottom right.
struct UvRect {
    double left, top, right, bottom;
    bool empty; // true when every pixel of the picture is white
};

// A conservative rectangle outside which the metaballs shader leaves every pixel white at scene
// time `time` (seconds). The shader evaluates its time script in single precision; this one runs
// in double precision and pads ball size, positions and the bound so that the difference never
// matters. The rectangle may reach outside 0..1.
UvRect metaballsBound(double time);
