// Greetings overlay: caption timing, sprite layout and the pass-through sprite blend.
#include "GreetingsOverlay.h"

#include <cmath>

namespace picture {

namespace {

constexpr int kCaptionCount = 14;
constexpr double kCaptionSeconds = 3.0;
constexpr double kReferenceWidth = 1920.0;
constexpr float kAtlasWidth = 2048.0f;
constexpr float kAtlasHeight = 512.0f;

struct AtlasBox {
    float uLeft;
    float vTop;
    float uRight;
    float vBottom;
};

// Corners in greetings-atlas pixels, converted to texture coordinates.
constexpr AtlasBox pixelBox(int x0, int y0, int x1, int y1) {
    return {x0 / kAtlasWidth, y0 / kAtlasHeight, x1 / kAtlasWidth, y1 / kAtlasHeight};
}

constexpr AtlasBox kHeading = pixelBox(912, 374, 1487, 485);
constexpr int kHeadingWidth = 575;  // atlas pixels
constexpr int kHeadingHeight = 111; // atlas pixels

constexpr AtlasBox kCaptions[kCaptionCount] = {
    pixelBox(2, 109, 553, 222),     pixelBox(1489, 374, 1960, 476), pixelBox(2, 2, 726, 106),
    pixelBox(833, 109, 1249, 213),  pixelBox(566, 224, 963, 372),   pixelBox(728, 2, 1598, 107),
    pixelBox(1471, 224, 1988, 329), pixelBox(1600, 2, 1853, 102),   pixelBox(2, 224, 564, 330),
    pixelBox(965, 224, 1469, 330),  pixelBox(555, 109, 831, 204),   pixelBox(2, 374, 541, 487),
    pixelBox(1251, 109, 1852, 214), pixelBox(543, 374, 910, 469),
};

} // namespace

int captionIndex(double overlayTime) {
    return static_cast<int>(overlayTime / kCaptionSeconds);
}

std::vector<OverlaySprite> greetingsLayout(double overlayTime, float width, float height) {
    const int index = captionIndex(overlayTime);
    if (index >= kCaptionCount) {
        return {};
    }
    const float scale = static_cast<float>(width / kReferenceWidth);

    OverlaySprite heading;
    heading.left = static_cast<float>(0.02 * width);
    heading.top = static_cast<float>(0.02 * height);
    heading.right = heading.left + std::trunc(kHeadingWidth * scale);
    heading.bottom = heading.top + std::trunc(kHeadingHeight * scale);
    heading.uLeft = kHeading.uLeft;
    heading.vTop = kHeading.vTop;
    heading.uRight = kHeading.uRight;
    heading.vBottom = kHeading.vBottom;

    const AtlasBox& e = kCaptions[index];
    const float w = std::trunc((e.uRight - e.uLeft) * kAtlasWidth * scale);
    const float h = std::trunc((e.vBottom - e.vTop) * kAtlasHeight * scale);
    OverlaySprite caption;
    caption.left = static_cast<float>(0.98 * width - w);
    caption.top = static_cast<float>(0.98 * height - h);
    caption.right = caption.left + w;
    caption.bottom = caption.top + h;
    caption.uLeft = e.uLeft;
    caption.vTop = e.vTop;
    caption.uRight = e.uRight;
    caption.vBottom = e.vBottom;

    return {heading, caption};
}

void drawOverlaySprite(Frame& frame, const Letterbox& box, const OverlaySprite& sprite,
                       const AtlasTexture& atlas) {
    for (int y = 0; y < frame.height(); ++y) {
        if (!box.containsRow(y)) {
            continue;
        }
        for (int x = 0; x < frame.width(); ++x) {
            const Vec2 p = projectionUnitsAt(box, x, y);
            if (p.x < sprite.left || p.x >= sprite.right || p.y < sprite.top ||
                p.y >= sprite.bottom) {
                continue;
            }
            const float fx = (p.x - sprite.left) / (sprite.right - sprite.left);
            const float fy = (p.y - sprite.top) / (sprite.bottom - sprite.top);
            const Vec4 s = atlas.sample({sprite.uLeft + fx * (sprite.uRight - sprite.uLeft),
                                         sprite.vTop + fy * (sprite.vBottom - sprite.vTop)});
            const float a = saturate(s.w);
            Rgb8& d = frame.at(x, y);
            d = {toUnorm8(saturate(s.x) * a + d.r / 255.0f * (1.0f - a)),
                 toUnorm8(saturate(s.y) * a + d.g / 255.0f * (1.0f - a)),
                 toUnorm8(saturate(s.z) * a + d.b / 255.0f * (1.0f - a))};
        }
    }
}

} // namespace picture
