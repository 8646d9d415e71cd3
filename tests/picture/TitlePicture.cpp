// The title picture: star background, sprite timeline and their composition over white.
#include "TitlePicture.h"

#include <cmath>

namespace picture {

namespace {

enum class Rule { Cover, Additive };

// One sprite of the timeline. Atlas rectangle (u, v, width, height) as fractions of the atlas;
// screen rectangle (x, y, w, h) in uv units; times in seconds.
struct TitleElement {
    Vec4 atlasRect;
    float start;
    float finish;
    float speed;
    float x;
    float y;
    float w;
    float h;
    Rule rule;
    bool slides; // the left edge moves left by time / 22
};

constexpr float atlasUnit(int pixels) {
    return static_cast<float>(pixels) / 2048.0f;
}

constexpr Vec4 atlasRect(int x, int y, int w, int h) {
    return {atlasUnit(x), atlasUnit(y), atlasUnit(w), atlasUnit(h)};
}

// In composition order.
const TitleElement kElements[] = {
    // the group logo
    {atlasRect(2, 117, 1920, 928), 1.5f, 3.9f, 0.8f, 0.3f, 0.2f, 0.7f, 0.6f, Rule::Cover, true},
    // PRESENTS
    {atlasRect(2, 1632, 580, 97), 4.0f, 5.6f, 0.2f, 0.3f, 0.45f, 0.4f, 0.1f, Rule::Cover, false},
    // the production caption
    {atlasRect(584, 1632, 1219, 137), 5.8f, 8.0f, 0.2f, 0.15f, 0.45f, 0.7f, 0.1f, Rule::Cover,
     false},
    // CALLED
    {atlasRect(2, 2, 375, 104), 6.8f, 8.0f, 0.3f, 0.65f, 0.6f, 0.2f, 0.08f, Rule::Cover, false},
    // the title logo
    {atlasRect(608, 1047, 1214, 583), 8.2f, 14.8f, 0.3f, 0.025f, 0.2f, 0.55f, 0.5f, Rule::Additive,
     false},
    // the animal silhouette
    {atlasRect(2, 1047, 604, 467), 8.2f, 14.8f, 0.2f, 0.62f, 0.35f, 0.28f, 0.35f, Rule::Cover,
     false},
    // wow
    {atlasRect(605, 1771, 125, 65), 11.5f, 12.3f, 0.3f, 0.6f, 0.3f, 0.06f, 0.05f, Rule::Cover,
     false},
    // such wisp
    {atlasRect(2, 1771, 295, 126), 12.5f, 12.9f, 0.2f, 0.8f, 0.33f, 0.12f, 0.09f, Rule::Cover,
     false},
    // very quill
    {atlasRect(299, 1771, 304, 129), 13.0f, 14.3f, 0.3f, 0.8f, 0.67f, 0.14f, 0.1f, Rule::Cover,
     false},
    // HERE GOES...
    {atlasRect(379, 2, 696, 113), 15.5f, 17.5f, 0.3f, 0.3f, 0.45f, 0.4f, 0.1f, Rule::Cover, false},
};

constexpr float kBackgroundShow = 4.0f;
constexpr float kBackgroundHide = 17.0f;
constexpr float kBackgroundFade = 0.5f;

// The element's premultiplied texel at uv with its fade on alpha, or transparent outside its
// screen rectangle (edges included in the rectangle).
Vec4 renderElement(const TitleElement& e, Vec2 uv, float time, const AtlasTexture& atlas) {
    const float x = e.slides ? e.x - time / 22.0f : e.x;
    if (uv.x < x || uv.y < e.y || uv.x > x + e.w || uv.y > e.y + e.h) {
        return {};
    }
    const Vec2 p{(uv.x - x) / e.w, (uv.y - e.y) / e.h};
    Vec4 s =
        atlas.sample({e.atlasRect.x + p.x * e.atlasRect.z, e.atlasRect.y + p.y * e.atlasRect.w});
    s.w *= elementFade(time, e.start, e.finish, e.speed);
    return s;
}

} // namespace

Vec4 titleBackground(Vec2 uv, float time) {
    const Vec2 pos{(uv.x - 0.5f) * 2.0f, (uv.y - 0.5f) * 1.125f};
    const float theta = std::atan2(pos.x, pos.y);
    const float depth = std::sin(theta + 3.1f * std::sin(2.3f * time) * std::sin(time));
    const float d = length(pos) * (1.2f + std::sin(12.0f * theta + 4.0f * time) * 0.6f * depth);
    Vec4 c;
    if (d > 0.8f) {
        c = {0.0f, 0.0f, 0.0f, 0.0f};
    } else if (d > 0.75f) {
        c = {0.30f, 0.75f, 1.0f, 1.0f};
    } else {
        c = {1.0f, 0.7f, d * d * d, d * d};
    }
    if (time < kBackgroundShow + kBackgroundFade) {
        c.w *= 1.0f + (time - (kBackgroundShow + kBackgroundFade)) / kBackgroundFade;
    } else if (time > kBackgroundHide - kBackgroundFade) {
        c.w *= 1.0f - (time - (kBackgroundHide - kBackgroundFade)) / kBackgroundFade;
    }
    return c;
}

float elementFade(float time, float start, float finish, float speed) {
    const float startVal = start + speed;
    const float finishVal = finish - speed;
    if (time < startVal) {
        return saturate(1.0f + (time - startVal) / speed);
    }
    if (time > finishVal) {
        return saturate(1.0f - (time - finishVal) / speed);
    }
    return 1.0f;
}

Vec4 titleFragment(Vec2 uv, float time, const AtlasTexture& atlas) {
    Vec4 color{1.0f, 1.0f, 1.0f, 1.0f};
    if (kBackgroundShow < time && time < kBackgroundHide) {
        color = titleBackground(uv, time);
    }
    for (const TitleElement& e : kElements) {
        if (!(e.start < time && time < e.finish)) {
            continue;
        }
        const Vec4 s = renderElement(e, uv, time, atlas);
        if (e.rule == Rule::Cover) {
            color.x = color.x * (1.0f - s.w) + s.x;
            color.y = color.y * (1.0f - s.w) + s.y;
            color.z = color.z * (1.0f - s.w) + s.z;
        } else {
            color.x += s.x * s.w;
            color.y += s.y * s.w;
            color.z += s.z * s.w;
        }
        color.w += s.w;
    }
    return color;
}

Vec3 overWhite(Vec4 fragment) {
    const float a = saturate(fragment.w);
    return {saturate(fragment.x) * a + (1.0f - a), saturate(fragment.y) * a + (1.0f - a),
            saturate(fragment.z) * a + (1.0f - a)};
}

void renderTitle(Frame& frame, const Letterbox& box, double time, const AtlasTexture& atlas) {
    const float t = static_cast<float>(time);
    for (int y = 0; y < frame.height(); ++y) {
        if (!box.containsRow(y)) {
            continue;
        }
        for (int x = 0; x < frame.width(); ++x) {
            const Vec3 shown = overWhite(titleFragment(fragmentUv(box, x, y), t, atlas));
            frame.at(x, y) = {toUnorm8(shown.x), toUnorm8(shown.y), toUnorm8(shown.z)};
        }
    }
}

} // namespace picture
