// Scissor rectangles for parts of the 16:9 viewport, and the viewport itself as GL reports it.
#include "scenes/ViewportRect.h"

#include <GL/glew.h>

#include <algorithm>
#include <cmath>

PixelRect pixelsCovering(const UvRect& rect, const PixelRect& viewport, int pad) {
    if (rect.empty)
        return PixelRect{viewport.x, viewport.y, 0, 0};
    // Clamping in double first keeps huge or infinite bounds out of the int conversion.
    const auto clampX = [&](double x) {
        return static_cast<int>(
            std::clamp(x, double(viewport.x), double(viewport.x + viewport.width)));
    };
    const auto clampY = [&](double y) {
        return static_cast<int>(
            std::clamp(y, double(viewport.y), double(viewport.y + viewport.height)));
    };
    const double top = viewport.y + viewport.height; // uv.y = 0
    const int left = clampX(std::floor(viewport.x + rect.left * viewport.width) - pad);
    const int right = clampX(std::ceil(viewport.x + rect.right * viewport.width) + pad);
    const int upper = clampY(std::ceil(top - rect.top * viewport.height) + pad);
    const int lower = clampY(std::floor(top - rect.bottom * viewport.height) - pad);
    return PixelRect{left, lower, std::max(right - left, 0), std::max(upper - lower, 0)};
}

PixelRect bandAbove(const PixelRect& viewport, int windowHeight) {
    const int bottom = viewport.y + viewport.height;
    return PixelRect{viewport.x, bottom, viewport.width, std::max(windowHeight - bottom, 0)};
}

PixelRect bandBelow(const PixelRect& viewport) {
    return PixelRect{viewport.x, 0, viewport.width, std::max(viewport.y, 0)};
}

PixelRect currentViewport() {
    GLint box[4] = {0, 0, 0, 0};
    glGetIntegerv(GL_VIEWPORT, box);
    return PixelRect{box[0], box[1], box[2], box[3]};
}

void scissorTo(const PixelRect& rect) {
    glScissor(rect.x, rect.y, rect.width, rect.height);
}
