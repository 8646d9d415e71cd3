// The sprite rectangles of the title and greetings atlases.
#include "SpriteTables.h"

namespace atlasgen {
namespace {

// Title sprites are stretched into screen rectangles given in fractions of a 16:9 viewport.
constexpr double shown(double w, double h) {
    return (w * 16.0) / (h * 9.0);
}

// Greetings sprites are shown at their own aspect.
constexpr SpriteSlot caption(const char* name, int x0, int y0, int x1, int y1) {
    return {name, {x0, y0, x1 - x0, y1 - y0}, double(x1 - x0) / double(y1 - y0)};
}

} // namespace

const std::array<SpriteSlot, 10>& titleSprites() {
    static const std::array<SpriteSlot, 10> table = {{
        {"called", {2, 2, 375, 104}, shown(0.2, 0.08)},
        {"heregoes", {379, 2, 696, 113}, shown(0.4, 0.1)},
        {"kelpworks", {2, 117, 1920, 928}, shown(0.7, 0.6)},
        {"wisp", {2, 1047, 604, 467}, shown(0.28, 0.35)},
        {"wisplogo", {608, 1047, 1214, 583}, shown(0.55, 0.5)},
        {"presents", {2, 1632, 580, 97}, shown(0.4, 0.1)},
        {"duskmere", {584, 1632, 1219, 137}, shown(0.7, 0.1)},
        {"suchwisp", {2, 1771, 295, 126}, shown(0.12, 0.09)},
        {"veryquill", {299, 1771, 304, 129}, shown(0.14, 0.1)},
        {"wow", {605, 1771, 125, 65}, shown(0.06, 0.05)},
    }};
    return table;
}

const SpriteSlot& greetingsHeading() {
    static const SpriteSlot heading = caption("heading", 912, 374, 1487, 485);
    return heading;
}

const std::array<SpriteSlot, 14>& greetingCaptions() {
    static const std::array<SpriteSlot, 14> table = {{
        caption("caption 0", 2, 109, 553, 222),
        caption("caption 1", 1489, 374, 1960, 476),
        caption("caption 2", 2, 2, 726, 106),
        caption("caption 3", 833, 109, 1249, 213),
        caption("caption 4", 566, 224, 963, 372),
        caption("caption 5", 728, 2, 1598, 107),
        caption("caption 6", 1471, 224, 1988, 329),
        caption("caption 7", 1600, 2, 1853, 102),
        caption("caption 8", 2, 224, 564, 330),
        caption("caption 9", 965, 224, 1469, 330),
        caption("caption 10", 555, 109, 831, 204),
        caption("caption 11", 2, 374, 541, 487),
        caption("caption 12", 1251, 109, 1852, 214),
        caption("caption 13", 543, 374, 910, 469),
    }};
    return table;
}

} // namespace atlasgen
