// The rectangles outside which the metaballs picture is plain white, against the worst case of
// the balls' blend: five balls together, each sphere's reach taken from the model's distance field.
#include "scenes/MetaballsBound.h"
#include "MetaballsPicture.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <vector>

namespace {

// How far below the nearest ball's distance the blend can reach, in ball sizes. The field blends
// the five distances one after another with a smooth minimum, which never decreases as either of
// its inputs grows and lies furthest below the lesser input (by a quarter of its radius) where
// the two are equal; so five balls at one place reach furthest. At their common centre each
// ball's distance is -size, and the blend lies `reach` sizes below that.
double worstBlendReach() {
    picture::MetaballsState together;
    together.ballSize = 1.0f;
    for (picture::Vec3& centre : together.centres)
        centre = {0.0f, 0.0f, 1.0f};
    return -picture::metaballsDistance(together, {0.0f, 0.0f, 1.0f}) - 1.0;
}

// What a bound must hold beyond the worst case, in scene units: the rim, where the march starts
// to darken a ray (a field value of 0.01), the shader's own margin for its rounding in single
// precision (0.01), and as much again for this double-precision bound against the shader.
constexpr double kRim = 0.01, kRounding = 0.01;

// Where the shader's camera shows a scene point: rays leave the eye at (0, 0, -1) through the
// image plane z = 0, which spans uv 0..1 as x in +-0.4 / 0.5625 and y in +-0.4, y down.
void project(double x, double y, double z, double& u, double& v) {
    u = (x / (z + 1.0) + 0.4 / 0.5625) / (0.8 / 0.5625);
    v = (y / (z + 1.0) + 0.4) / 0.8;
}

} // namespace

// At every 0.02 s of the scene, each ball's rectangle holds the image of the sphere a blend of
// all five balls at its centre could reach, with the rim and rounding margins beyond it.
TEST(MetaballsBound, HoldsFiveBallsTogetherWithItsMargins) {
    const double reach = worstBlendReach();
    ASSERT_GT(reach, 0.5); // 0.25 + 0.1406 + 0.0928 + 0.0667 ball sizes
    constexpr double kPi = 3.14159265358979323846;
    constexpr int kSteps = 48; // points around the sphere's image
    double leastSpare = 1e9;
    for (int step = 0; step <= 4800; ++step) {
        const double time = step * 0.02;
        const picture::MetaballsState state = picture::metaballsState(static_cast<float>(time));
        const std::vector<UvRect> bounds = metaballsBounds(time);
        if (bounds.empty()) {
            ASSERT_LE(state.ballSize, 0.0f) << "no bound at " << time << " s";
            continue;
        }
        ASSERT_EQ(bounds.size(), state.centres.size()) << time << " s";
        for (size_t i = 0; i < bounds.size(); ++i) {
            const UvRect& b = bounds[i];
            const picture::Vec3 c = state.centres[i];
            const double radius = (1.0 + reach) * state.ballSize + kRim + 2 * kRounding;
            // The sphere's outline as seen from the eye lies among its points at these angles.
            for (int a = 0; a < kSteps; ++a)
                for (int e = 1; e < kSteps / 2; ++e) {
                    const double azimuth = 2 * kPi * a / kSteps, polar = kPi * e / (kSteps / 2);
                    double u = 0, v = 0;
                    project(c.x + radius * std::sin(polar) * std::cos(azimuth),
                            c.y + radius * std::sin(polar) * std::sin(azimuth),
                            c.z + radius * std::cos(polar), u, v);
                    const double spare =
                        std::min({u - b.left, b.right - u, v - b.top, b.bottom - v});
                    leastSpare = std::min(leastSpare, spare);
                    ASSERT_GE(spare, 0.0)
                        << "ball " << i << " at " << time << " s, size " << state.ballSize << ": ("
                        << u << ", " << v << ") lies outside its bound";
                }
        }
    }
    std::printf("worst blend reach %.5f ball sizes; least room left in a bound %.5f uv\n", reach,
                leastSpare);
}
