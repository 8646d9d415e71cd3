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

PixelRect intersection(const PixelRect& a, const PixelRect& b) {
    const int left = std::max(a.x, b.x), right = std::min(a.x + a.width, b.x + b.width);
    const int lower = std::max(a.y, b.y), upper = std::min(a.y + a.height, b.y + b.height);
    return PixelRect{left, lower, std::max(right - left, 0), std::max(upper - lower, 0)};
}

std::vector<PixelRect> subtract(const PixelRect& rect, const std::vector<PixelRect>& holes) {
    std::vector<PixelRect> pieces, cut;
    if (!rect.empty())
        pieces.push_back(rect);
    for (const PixelRect& hole : holes) {
        cut.clear();
        for (const PixelRect& p : pieces) {
            const PixelRect h = intersection(p, hole);
            if (h.empty()) {
                cut.push_back(p);
                continue;
            }
            // Below and above the hole across the piece's width, then left and right of it.
            const PixelRect parts[] = {
                {p.x, p.y, p.width, h.y - p.y},
                {p.x, h.y + h.height, p.width, p.y + p.height - (h.y + h.height)},
                {p.x, h.y, h.x - p.x, h.height},
                {h.x + h.width, h.y, p.x + p.width - (h.x + h.width), h.height},
            };
            for (const PixelRect& part : parts)
                if (!part.empty())
                    cut.push_back(part);
        }
        pieces.swap(cut);
    }
    return pieces;
}

std::vector<PixelRect> disjointCover(const std::vector<PixelRect>& rects) {
    std::vector<int> xs, ys;
    for (const PixelRect& r : rects) {
        if (r.empty())
            continue;
        xs.insert(xs.end(), {r.x, r.x + r.width});
        ys.insert(ys.end(), {r.y, r.y + r.height});
    }
    std::sort(xs.begin(), xs.end());
    xs.erase(std::unique(xs.begin(), xs.end()), xs.end());
    std::sort(ys.begin(), ys.end());
    ys.erase(std::unique(ys.begin(), ys.end()), ys.end());

    const auto covered = [&](int x, int y) { // the grid cell whose lower left corner is (x, y)
        for (const PixelRect& r : rects)
            if (!r.empty() && r.x <= x && x < r.x + r.width && r.y <= y && y < r.y + r.height)
                return true;
        return false;
    };
    std::vector<PixelRect> cover;
    for (size_t j = 0; j + 1 < ys.size(); ++j) {
        const int y = ys[j], height = ys[j + 1] - ys[j];
        for (size_t i = 0; i + 1 < xs.size(); ++i) {
            if (!covered(xs[i], y))
                continue;
            size_t end = i + 1;
            while (end + 1 < xs.size() && covered(xs[end], y))
                ++end;
            const PixelRect run{xs[i], y, xs[end] - xs[i], height};
            // A run directly above one of the same columns extends it.
            auto below = std::find_if(cover.begin(), cover.end(), [&](const PixelRect& c) {
                return c.x == run.x && c.width == run.width && c.y + c.height == run.y;
            });
            if (below != cover.end())
                below->height += run.height;
            else
                cover.push_back(run);
            i = end - 1;
        }
    }
    return cover;
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
