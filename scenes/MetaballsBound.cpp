// Where on the screen the metaballs picture can differ from plain white at a given scene time.
#include "scenes/MetaballsBound.h"

#include <algorithm>
#include <cmath>

namespace {
constexpr int kBalls = 5;
constexpr double kAspect = 0.5625;     // viewport height per unit of width
constexpr double kMotionEnd = 77.4;    // motion time from which the picture is white, seconds
constexpr double kSingleSlack = 0.005; // more than single precision can move a size or a centre
constexpr double kBlendReach = 0.5502; // the shader's bound reaches (1 + this) ball sizes
constexpr double kShaderReach = 0.02;  // and 0.01 + its margin beyond
constexpr double kExtraReach = 0.01;   // and more still, to stay clear of it
constexpr double kNearestDepth = 0.05; // a bound nearer the eye than this covers everything

double smoothstep01(double x) {
    x = std::clamp(x, 0.0, 1.0);
    return x * x * (3.0 - 2.0 * x);
}

// The range of a / w over a sphere of radius `radius` about (a, w), seen from the origin along
// +w: the slopes of the two lines through the origin that touch its circle in the (a, w) plane.
// Needs w > radius.
void projectedRange(double a, double w, double radius, double& outLo, double& outHi) {
    const double r2 = radius * radius;
    const double root = radius * std::sqrt(a * a + w * w - r2);
    const double denominator = w * w - r2;
    outLo = (a * w - root) / denominator;
    outHi = (a * w + root) / denominator;
}
} // namespace

std::vector<UvRect> metaballsBounds(double time) {
    // The shader's time script, in double precision.
    double size = 0.2;
    if (time < 2.0)
        size -= 0.2 - 0.1 * time;
    if (time < 15.5) {
        size += 0.01 * std::sin(15.0 * time);
        if (time > 12.0) {
            const double a = (3.5 - (time - 12.0)) / 3.5;
            size = a * size + 0.2 * (1.0 - a);
        }
    }
    const double m = time > 15.5 ? time - 15.5 : 0.0;
    double movement = 1.0;
    if (m > 70.0) {
        movement = smoothstep01(std::max(1.0 - 0.25 * (m - 70.0), 0.0));
        if (m > 75.4)
            size *= std::max(1.0 - 0.5 * (m - 75.4), 0.0);
    }
    if (m > kMotionEnd + kSingleSlack)
        return {};

    const double reach = (1.0 + kBlendReach) * (std::fabs(size) + kSingleSlack) + kShaderReach +
                         kExtraReach + kSingleSlack;
    // The shader's camera: p = (uv.x (0.8 / ar) - 0.4 / ar, uv.y 0.8 - 0.4).
    const double xScale = 0.8 / kAspect, xOffset = 0.4 / kAspect;
    std::vector<UvRect> bounds;
    for (int i = 0; i < kBalls; ++i) {
        const double k = i + 1;
        const double x = 0.5 * movement * std::sin(m * 0.12 * (1.01 * k));
        const double y = 0.2 * movement * std::sin(m * 0.18 * (1.01 * k));
        const double z = 1.0 + 0.3 * movement * std::cos(m * 0.15 * (1.02 * k));
        // Rays leave the eye at (0, 0, -1); a point (x, y, z) meets the image plane z = 0 at
        // (x, y) / (z + 1). The sphere's image spans the slopes of the planes through the eye
        // that touch it.
        const double w = z + 1.0;
        if (w - reach < kNearestDepth)
            return {UvRect{-1e9, -1e9, 1e9, 1e9, false}};
        double xLo, xHi, yLo, yHi;
        projectedRange(x, w, reach, xLo, xHi);
        projectedRange(y, w, reach, yLo, yHi);
        bounds.push_back(UvRect{(xLo + xOffset) / xScale, (yLo + 0.4) / 0.8,
                                (xHi + xOffset) / xScale, (yHi + 0.4) / 0.8, false});
    }
    return bounds;
}
