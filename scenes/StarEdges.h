// Where the title's star has its hard edges: the pixels whose colour depends on exactly which
// side of an edge they fall, and so need the star's literal per-pixel arithmetic.
#pragma once

#include "scenes/ViewportRect.h"

#include <vector>

// The star's measure at viewport point uv is d = |pos| f(theta), pos = (uv - 0.5) (2, 1.125),
// theta = atan2(pos.x, pos.y) and f(theta) = 1.2 + 0.6 sin(12 theta + 4 t) sin(theta + phi(t)),
// phi(t) = 3.1 sin(2.3 t) sin(t). Its colour jumps where d crosses 0.75 and 0.8.
constexpr double kStarOutlineInner = 0.75;
constexpr double kStarOutlineOuter = 0.8;

// (cos phi, sin phi, cos 4t, sin 4t) at scene time `time`, seconds: what the star's angle-sum
// form needs besides the pixel.
void starPhase(float time, float phase[4]);

// Horizontal runs of square blocks of `block` pixels, cut to the viewport, that together hold
// every pixel whose d lies within `guard` of 0.75 to 0.8 at scene time `time`.
std::vector<PixelRect> starEdgeRuns(float time, const PixelRect& viewport, int block, double guard);
