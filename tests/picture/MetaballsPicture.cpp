// The metaballs picture: the time script, distance field, march, normal and two-light shading.
#include "MetaballsPicture.h"

#include <cmath>

namespace picture {

namespace {

constexpr int kMarchSteps = 40;
constexpr float kHitDistance = 0.001f;
constexpr float kRimDistance = 0.01f;
constexpr float kAspect = 0.5625f;
const Vec3 kLight{-2.0f, -4.0f, -1.0f};
const Vec3 kBlueLight{2.0f, 4.0f, 0.0f};
const Vec3 kTowardsEye{0.0f, 0.0f, 1.0f}; // minus the eye position (0, 0, -1)

float sphereDistance(Vec3 q, Vec3 centre, float size) {
    return length(q - centre) - size;
}

// Polynomial smooth minimum with blending radius k.
float smoothMin(float a, float b, float k) {
    const float h = saturate(0.5f + 0.5f * (b - a) / k);
    return b * (1.0f - h) + a * h - k * h * (1.0f - h);
}

Vec3 metaballsNormal(const MetaballsState& state, Vec3 q) {
    Vec3 n{};
    for (const Vec3& centre : state.centres) {
        const float d = sphereDistance(q, centre, state.ballSize);
        if (d >= state.ballSize) {
            continue;
        }
        const Vec3 ni = normalize(q - centre);
        if (length(n) == 0.0f) {
            n = ni;
        }
        const float w = (state.ballSize - d) / state.ballSize;
        n = normalize(ni * w + n * smoothstep01(smoothstep01(1.0f - w)));
    }
    return normalize(n);
}

// A mirror highlight: the light direction reflected about the normal, against +z, to the 4th.
float highlight(Vec3 lightPos, Vec3 q, Vec3 n) {
    const Vec3 l = normalize(lightPos - q);
    const Vec3 r = normalize(reflect(l, n));
    const float f = std::fmax(dot(r, kTowardsEye), 0.0f);
    return f * f * f * f;
}

Vec4 shadeSurface(const MetaballsState& state, Vec3 q) {
    const Vec3 n = metaballsNormal(state, q);
    const float lambert = std::fmax(dot(n, normalize(kLight - q)), 0.0f) * state.diffuseAmount;
    const float white = highlight(kLight, q, n) * state.specularAmount;
    const float blue = highlight(kBlueLight, q, n) * state.specularAmount;
    Vec4 c{0.1f, 0.0f, 0.0f, 1.0f};
    c = c + Vec4{0.5f, 0.0f, 0.0f, 1.0f} * lambert;
    c = c + Vec4{1.0f, 1.0f, 1.0f, 1.0f} * white;
    c = c + Vec4{0.0f, 0.0f, 0.7f, 1.0f} * blue;
    return c;
}

Vec4 march(const MetaballsState& state, Vec3 origin, Vec3 direction, Vec4 colour) {
    float travelled = 0.0f;
    for (int step = 0; step < kMarchSteps; ++step) {
        const Vec3 q = origin + direction * travelled;
        const float d = metaballsDistance(state, q);
        if (d < kRimDistance) {
            const Vec4 c = shadeSurface(state, q);
            if (d <= kHitDistance) {
                return c;
            }
            const float darken = 0.04f * c.w;
            colour = colour + Vec4{-darken, -darken, -darken, -darken};
        }
        travelled += d;
    }
    return colour;
}

} // namespace

MetaballsState metaballsState(float tau) {
    MetaballsState s;
    if (tau < 2.0f) {
        s.ballSize -= 0.2f - 0.1f * tau;
    }
    if (tau < 15.5f) {
        s.ballSize += 0.01f * std::sin(15.0f * tau);
        if (tau > 12.0f) {
            const float a = (3.5f - (tau - 12.0f)) / 3.5f;
            s.ballSize = a * s.ballSize + 0.2f * (1.0f - a);
        }
    }
    if (tau > 6.5f) {
        s.diffuseAmount = std::fmin(tau - 6.5f, 1.0f);
    }
    if (tau > 13.0f) {
        s.specularAmount = std::fmin(tau - 13.0f, 1.0f);
    }
    const float m = tau > 15.5f ? tau - 15.5f : 0.0f;
    s.motionTime = m;
    float movement = 1.0f;
    if (m > 70.0f) {
        movement = smoothstep01(std::fmax(1.0f - 0.25f * (m - 70.0f), 0.0f));
        if (m > 75.4f) {
            s.ballSize *= std::fmax(1.0f - 0.5f * (m - 75.4f), 0.0f);
        }
    }
    for (int i = 0; i < 5; ++i) {
        const float k = static_cast<float>(i + 1);
        s.centres[i] = {0.5f * movement * std::sin(m * 0.12f * (1.01f * k)),
                        0.2f * movement * std::sin(m * 0.18f * (1.01f * k)),
                        1.0f + 0.3f * movement * std::cos(m * 0.15f * (1.02f * k))};
    }
    return s;
}

float metaballsDistance(const MetaballsState& state, Vec3 q) {
    float d = 10000.0f;
    for (const Vec3& centre : state.centres) {
        d = smoothMin(d, sphereDistance(q, centre, state.ballSize), state.ballSize);
    }
    return d;
}

Vec4 metaballsFragment(Vec2 uv, const MetaballsState& state) {
    const Vec4 white{1.0f, 1.0f, 1.0f, 1.0f};
    if (!(state.motionTime < 77.4f)) {
        return white;
    }
    const float px = uv.x * (0.8f / kAspect) - 0.4f / kAspect;
    const float py = uv.y * 0.8f - 0.4f;
    const Vec3 origin{px, py, 0.0f};
    return march(state, origin, normalize(Vec3{px, py, 1.0f}), white);
}

Vec3 overBlack(Vec4 fragment) {
    const float a = saturate(fragment.w);
    return {saturate(fragment.x) * a, saturate(fragment.y) * a, saturate(fragment.z) * a};
}

void renderMetaballs(Frame& frame, const Letterbox& box, double tau) {
    const MetaballsState state = metaballsState(static_cast<float>(tau));
    for (int y = 0; y < frame.height(); ++y) {
        for (int x = 0; x < frame.width(); ++x) {
            Rgb8 pixel;
            if (box.containsRow(y)) {
                const Vec3 shown = overBlack(metaballsFragment(fragmentUv(box, x, y), state));
                pixel = {toUnorm8(shown.x), toUnorm8(shown.y), toUnorm8(shown.z)};
            }
            frame.at(x, y) = pixel;
        }
    }
}

} // namespace picture
