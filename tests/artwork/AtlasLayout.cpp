// The sprite rectangles as the demo's title shader and greetings overlay sample them: the same
// texture coordinates the scenes use, turned into pixels here, apart from atlasgen's own table.
#include "AtlasLayout.h"

#include <cmath>

namespace {

int pixels(double fraction, int size) {
    return static_cast<int>(std::lround(fraction * size));
}

SpriteBox fromUv(const char* name, double u, double v, double w, double h) {
    return {name, pixels(u, 2048), pixels(v, 2048), pixels(w, 2048), pixels(h, 2048)};
}

SpriteBox fromCorners(const char* name, double u0, double v0, double u1, double v1) {
    const int x0 = pixels(u0, 2048), y0 = pixels(v0, 512);
    return {name, x0, y0, pixels(u1, 2048) - x0, pixels(v1, 512) - y0};
}

} // namespace

const std::vector<SpriteBox>& titleBoxes() {
    static const std::vector<SpriteBox> boxes = {
        fromUv("uv_called", 0.0009765625, 0.0009765625, 0.18310546875, 0.05078125),
        fromUv("uv_heregoes", 0.18505859375, 0.0009765625, 0.33984375, 0.05517578125),
        fromUv("uv_kelpworks", 0.0009765625, 0.05712890625, 0.9375, 0.453125),
        fromUv("uv_wisp", 0.0009765625, 0.51123046875, 0.294921875, 0.22802734375),
        fromUv("uv_wisplogo", 0.296875, 0.51123046875, 0.5927734375, 0.28466796875),
        fromUv("uv_presents", 0.0009765625, 0.796875, 0.283203125, 0.04736328125),
        fromUv("uv_duskmere", 0.28515625, 0.796875, 0.59521484375, 0.06689453125),
        fromUv("uv_suchwisp", 0.0009765625, 0.86474609375, 0.14404296875, 0.0615234375),
        fromUv("uv_veryquill", 0.14599609375, 0.86474609375, 0.1484375, 0.06298828125),
        fromUv("uv_wow", 0.29541015625, 0.86474609375, 0.06103515625, 0.03173828125),
    };
    return boxes;
}

const std::vector<SpriteBox>& greetingsBoxes() {
    static const std::vector<SpriteBox> boxes = {
        fromCorners("heading", 0.4453125, 0.73046875, 0.72607421875, 0.947265625),
        fromCorners("caption 0", 0.0009765625, 0.212890625, 0.27001953125, 0.43359375),
        fromCorners("caption 1", 0.72705078125, 0.73046875, 0.95703125, 0.9296875),
        fromCorners("caption 2", 0.0009765625, 0.00390625, 0.3544921875, 0.20703125),
        fromCorners("caption 3", 0.40673828125, 0.212890625, 0.60986328125, 0.416015625),
        fromCorners("caption 4", 0.2763671875, 0.4375, 0.47021484375, 0.7265625),
        fromCorners("caption 5", 0.35546875, 0.00390625, 0.7802734375, 0.208984375),
        fromCorners("caption 6", 0.71826171875, 0.4375, 0.970703125, 0.642578125),
        fromCorners("caption 7", 0.78125, 0.00390625, 0.90478515625, 0.19921875),
        fromCorners("caption 8", 0.0009765625, 0.4375, 0.275390625, 0.64453125),
        fromCorners("caption 9", 0.47119140625, 0.4375, 0.71728515625, 0.64453125),
        fromCorners("caption 10", 0.27099609375, 0.212890625, 0.40576171875, 0.3984375),
        fromCorners("caption 11", 0.0009765625, 0.73046875, 0.26416015625, 0.951171875),
        fromCorners("caption 12", 0.61083984375, 0.212890625, 0.904296875, 0.41796875),
        fromCorners("caption 13", 0.26513671875, 0.73046875, 0.4443359375, 0.916015625),
    };
    return boxes;
}
