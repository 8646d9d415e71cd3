// Single-precision vector arithmetic with the meaning of the GLSL built-ins the pictures use.
#pragma once

#include <algorithm>
#include <cmath>

namespace picture {

struct Vec2 {
    float x = 0.0f;
    float y = 0.0f;
};

struct Vec3 {
    float x = 0.0f;
    float y = 0.0f;
    float z = 0.0f;
};

// Colours are Vec4 with r, g, b, a in x, y, z, w; values may leave 0..1 before saturation.
struct Vec4 {
    float x = 0.0f;
    float y = 0.0f;
    float z = 0.0f;
    float w = 0.0f;
};

inline Vec3 operator+(Vec3 a, Vec3 b) {
    return {a.x + b.x, a.y + b.y, a.z + b.z};
}
inline Vec3 operator-(Vec3 a, Vec3 b) {
    return {a.x - b.x, a.y - b.y, a.z - b.z};
}
inline Vec3 operator*(Vec3 a, float s) {
    return {a.x * s, a.y * s, a.z * s};
}
inline Vec3 operator*(float s, Vec3 a) {
    return a * s;
}

inline Vec4 operator+(Vec4 a, Vec4 b) {
    return {a.x + b.x, a.y + b.y, a.z + b.z, a.w + b.w};
}
inline Vec4 operator*(Vec4 a, float s) {
    return {a.x * s, a.y * s, a.z * s, a.w * s};
}
inline Vec4 operator*(float s, Vec4 a) {
    return a * s;
}

inline float dot(Vec3 a, Vec3 b) {
    return a.x * b.x + a.y * b.y + a.z * b.z;
}
inline float length(Vec2 a) {
    return std::sqrt(a.x * a.x + a.y * a.y);
}
inline float length(Vec3 a) {
    return std::sqrt(dot(a, a));
}
inline Vec3 normalize(Vec3 a) {
    return a * (1.0f / length(a));
}

// reflect(I, N) = I - 2 (N.I) N, with N of unit length.
inline Vec3 reflect(Vec3 i, Vec3 n) {
    return i - n * (2.0f * dot(n, i));
}

inline float clampf(float v, float lo, float hi) {
    return std::min(std::max(v, lo), hi);
}
inline float saturate(float v) {
    return clampf(v, 0.0f, 1.0f);
}

// smoothstep(0, 1, x): x^2 (3 - 2x) after clamping x to 0..1.
inline float smoothstep01(float x) {
    float t = saturate(x);
    return t * t * (3.0f - 2.0f * t);
}

} // namespace picture
