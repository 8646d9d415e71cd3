// Letterbox arithmetic of the drawing area and the per-pixel coordinates it implies.
#include "Letterbox.h"

namespace picture {

Letterbox letterbox(int windowWidth, int windowHeight) {
    Letterbox box;
    box.windowWidth = windowWidth;
    box.windowHeight = windowHeight;
    box.areaHeight = static_cast<int>(static_cast<double>(windowWidth) * 0.5625);
    box.bottom = (windowHeight - box.areaHeight) / 2;
    box.top = windowHeight - (box.bottom + box.areaHeight);
    return box;
}

Vec2 fragmentUv(const Letterbox& box, int x, int y) {
    const double centreX = x + 0.5;
    const double centreY = y + 0.5 - box.top;
    return {static_cast<float>(centreX / box.windowWidth),
            static_cast<float>(centreY / box.areaHeight)};
}

Vec2 projectionUnitsAt(const Letterbox& box, int x, int y) {
    const double centreY = y + 0.5 - box.top;
    return {static_cast<float>(x + 0.5),
            static_cast<float>(centreY * box.windowHeight / box.areaHeight)};
}

} // namespace picture
