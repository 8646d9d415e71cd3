// The metaballs scene's picture (demo time 18 to 114 s): five smoothly blended spheres,
// ray-marched from a camera at the origin, shaded by two lights over white, blended over black.
#pragma once

#include "Frame.h"
#include "Letterbox.h"
#include "ShaderMath.h"

#include <array>

namespace picture {

// What the time script makes of a scene time: sizes and positions in scene units, amounts 0..1.
struct MetaballsState {
    float ballSize = 0.2f;
    float diffuseAmount = 0.0f;
    float specularAmount = 0.0f;
    float motionTime = 0.0f; // seconds of movement, 0 until scene time 15.5
    std::array<Vec3, 5> centres{};
};

// The script at scene time tau (seconds since the scene started).
MetaballsState metaballsState(float tau);

// The signed distance from q to the blended surface.
float metaballsDistance(const MetaballsState& state, Vec3 q);

// The colour the metaballs program computes for the fragment at uv, before saturation.
Vec4 metaballsFragment(Vec2 uv, const MetaballsState& state);

// What a fragment colour shows once saturated and blended with source alpha over black.
Vec3 overBlack(Vec4 fragment);

// Fills the window black and draws the picture at scene time tau into the drawing area.
void renderMetaballs(Frame& frame, const Letterbox& box, double tau);

} // namespace picture
