// The title scene's picture (demo time 0 to 18 s): a white ground, the pulsing star background
// and ten atlas sprites on their own schedules, composed per pixel and blended over white.
#pragma once

#include "AtlasTexture.h"
#include "Frame.h"
#include "Letterbox.h"
#include "ShaderMath.h"

namespace picture {

// The star background at uv and scene time in seconds, before it is composed: RGBA with its
// fade applied to alpha. Transparent (0, 0, 0, 0) outside the star.
Vec4 titleBackground(Vec2 uv, float time);

// A sprite element's alpha factor from its window (start, finish) and fade length, all seconds.
float elementFade(float time, float start, float finish, float speed);

// The colour the title program computes for one fragment, before the frame buffer saturates it.
Vec4 titleFragment(Vec2 uv, float time, const AtlasTexture& atlas);

// What a fragment colour shows once saturated and blended with source alpha over white.
Vec3 overWhite(Vec4 fragment);

// Draws the title picture at scene time `time` (seconds) into the drawing area of `frame`;
// rows outside the area are left as they are.
void renderTitle(Frame& frame, const Letterbox& box, double time, const AtlasTexture& atlas);

} // namespace picture
