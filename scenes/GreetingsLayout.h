// Where the greetings overlay puts its heading and captions, and which caption shows when.
#pragma once

// A screen rectangle in the projection's units (window pixels on a 16:9 window) with the atlas
// rectangle drawn into it, in texture coordinates.
struct SpriteRect {
    float left, top, right, bottom;
    float uLeft, vTop, uRight, vBottom;
};

// An atlas rectangle: left u, top v, right u, bottom v.
struct AtlasRect {
    float uLeft, vTop, uRight, vBottom;
};

constexpr int kGreetingCount = 14;
constexpr double kCaptionSeconds = 3.0;
extern const AtlasRect greetingHeading;
extern const AtlasRect greetingCaptions[kGreetingCount];

// The caption shown `time` seconds after the overlay began: trunc(time / 3). From 14 on, nothing
// is shown.
int captionIndexAt(double time);

// The heading, top left at (0.02 width, 0.02 height), scaled by width / 1920.
SpriteRect headingRect(float width, float height);
// Caption `index`, bottom right at (0.98 width, 0.98 height), scaled by width / 1920.
SpriteRect captionRect(int index, float width, float height);
