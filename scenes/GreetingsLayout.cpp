// Where the greetings overlay puts its heading and captions, and which caption shows when.
#include "scenes/GreetingsLayout.h"

#include <cmath>

namespace {
constexpr double kReferenceWidth = 1920.0; // the window width at which sprites are atlas-sized
constexpr float kAtlasWidth = 2048.0f, kAtlasHeight = 512.0f;
constexpr float kHeadingWidth = 575.0f, kHeadingHeight = 111.0f; // atlas pixels
constexpr double kMargin = 0.02;                                 // of the window's size

float scaleFor(float width) {
    return static_cast<float>(width / kReferenceWidth);
}
} // namespace

const AtlasRect greetingHeading = {0.4453125f, 0.73046875f, 0.72607421875f, 0.947265625f};

const AtlasRect greetingCaptions[kGreetingCount] = {
    {0.0009765625f, 0.212890625f, 0.27001953125f, 0.43359375f},
    {0.72705078125f, 0.73046875f, 0.95703125f, 0.9296875f},
    {0.0009765625f, 0.00390625f, 0.3544921875f, 0.20703125f},
    {0.40673828125f, 0.212890625f, 0.60986328125f, 0.416015625f},
    {0.2763671875f, 0.4375f, 0.47021484375f, 0.7265625f},
    {0.35546875f, 0.00390625f, 0.7802734375f, 0.208984375f},
    {0.71826171875f, 0.4375f, 0.970703125f, 0.642578125f},
    {0.78125f, 0.00390625f, 0.90478515625f, 0.19921875f},
    {0.0009765625f, 0.4375f, 0.275390625f, 0.64453125f},
    {0.47119140625f, 0.4375f, 0.71728515625f, 0.64453125f},
    {0.27099609375f, 0.212890625f, 0.40576171875f, 0.3984375f},
    {0.0009765625f, 0.73046875f, 0.26416015625f, 0.951171875f},
    {0.61083984375f, 0.212890625f, 0.904296875f, 0.41796875f},
    {0.26513671875f, 0.73046875f, 0.4443359375f, 0.916015625f},
};

int captionIndexAt(double time) {
    return static_cast<int>(time / kCaptionSeconds);
}

SpriteRect headingRect(float width, float height) {
    const float s = scaleFor(width);
    const float left = static_cast<float>(kMargin * width);
    const float top = static_cast<float>(kMargin * height);
    const float w = std::trunc(kHeadingWidth * s), h = std::trunc(kHeadingHeight * s);
    const AtlasRect& a = greetingHeading;
    return SpriteRect{left, top, left + w, top + h, a.uLeft, a.vTop, a.uRight, a.vBottom};
}

SpriteRect captionRect(int index, float width, float height) {
    const float s = scaleFor(width);
    const AtlasRect& e = greetingCaptions[index];
    const float w = std::trunc((e.uRight - e.uLeft) * kAtlasWidth * s);
    const float h = std::trunc((e.vBottom - e.vTop) * kAtlasHeight * s);
    const float left = static_cast<float>((1.0 - kMargin) * width - w);
    const float top = static_cast<float>((1.0 - kMargin) * height - h);
    return SpriteRect{left, top, left + w, top + h, e.uLeft, e.vTop, e.uRight, e.vBottom};
}
