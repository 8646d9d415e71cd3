// Exact fitting of a drawing's ink to its sprite rectangle.
#include "SpriteFitter.h"

#include <algorithm>
#include <cstring>
#include <stdexcept>

namespace atlasgen {
namespace {

// Measurements are taken at this many samples per final pixel, so the ink's extents are known
// to a quarter of a pixel before the final rendering.
constexpr int oversample = 4;
constexpr int measureMargin = 4; // pixels of the measuring surface around the expected ink

Mask maskFromSurface(cairo_surface_t* surface) {
    cairo_surface_flush(surface);
    const int w = cairo_image_surface_get_width(surface);
    const int h = cairo_image_surface_get_height(surface);
    const int stride = cairo_image_surface_get_stride(surface);
    const unsigned char* data = cairo_image_surface_get_data(surface);
    Mask mask(w, h);
    for (int y = 0; y < h; ++y) {
        std::memcpy(&mask.at(0, y), data + static_cast<size_t>(y) * stride, static_cast<size_t>(w));
    }
    return mask;
}

// Sets the map that takes the design box onto the device rectangle (x0, y0) to (x1, y1).
void mapBox(cairo_t* cr, const Box& design, double x0, double y0, double x1, double y1) {
    cairo_translate(cr, x0, y0);
    cairo_scale(cr, (x1 - x0) / design.width(), (y1 - y0) / design.height());
    cairo_translate(cr, -design.x0, -design.y0);
}

Box recordedExtents(const Art& art) {
    cairo_surface_t* recording = cairo_recording_surface_create(CAIRO_CONTENT_ALPHA, nullptr);
    cairo_t* cr = cairo_create(recording);
    // Layers are recorded one over another without groups, which the recording's ink
    // extents do not see into; cut-outs only shrink the ink, so this bound still holds it all.
    for (int layer = 0; layer < art.layerCount(); ++layer) {
        art.paintLayer(cr, layer);
    }
    cairo_destroy(cr);
    double x, y, w, h;
    cairo_recording_surface_ink_extents(recording, &x, &y, &w, &h);
    cairo_surface_destroy(recording);
    if (w <= 0 || h <= 0) {
        throw std::runtime_error("the drawing has no ink");
    }
    return {x, y, x + w, y + h};
}

// Renders the drawing oversampled with guess mapped onto the rectangle, and returns the design
// box of the ink actually found.
Box measuredExtents(const Art& art, const Box& guess, int w, int h) {
    const int sw = w * oversample + 2 * measureMargin;
    const int sh = h * oversample + 2 * measureMargin;
    cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_A8, sw, sh);
    cairo_t* cr = cairo_create(surface);
    mapBox(cr, guess, measureMargin, measureMargin, sw - measureMargin, sh - measureMargin);
    art.paintAll(cr);
    cairo_destroy(cr);
    const PixelRect ink = maskFromSurface(surface).inkBox();
    cairo_surface_destroy(surface);
    if (ink.empty()) {
        throw std::runtime_error("the drawing has no ink at its size");
    }
    const double unitsX = guess.width() / (sw - 2 * measureMargin);
    const double unitsY = guess.height() / (sh - 2 * measureMargin);
    return {guess.x0 + (ink.x - measureMargin) * unitsX,
            guess.y0 + (ink.y - measureMargin) * unitsY,
            guess.x0 + (ink.x + ink.w - measureMargin) * unitsX,
            guess.y0 + (ink.y + ink.h - measureMargin) * unitsY};
}

} // namespace

FittedSprite fitArt(const Art& art, int w, int h) {
    Box design = recordedExtents(art);
    design = measuredExtents(art, design, w, h);
    design = measuredExtents(art, design, w, h);

    // Overhang in pixels on the left, top, right and bottom; grown where an edge stays empty.
    double overhang[4] = {0.4, 0.4, 0.4, 0.4};
    for (int attempt = 0; attempt < 12; ++attempt) {
        FittedSprite fitted;
        fitted.scaleX = (w + overhang[0] + overhang[2]) / design.width();
        fitted.scaleY = (h + overhang[1] + overhang[3]) / design.height();
        PixelRect united;
        bool any = false;
        for (int layer = 0; layer < art.layerCount(); ++layer) {
            cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_A8, w, h);
            cairo_t* cr = cairo_create(surface);
            mapBox(cr, design, -overhang[0], -overhang[1], w + overhang[2], h + overhang[3]);
            art.paintLayer(cr, layer);
            cairo_destroy(cr);
            fitted.layers.push_back(maskFromSurface(surface));
            cairo_surface_destroy(surface);
            const PixelRect ink = fitted.layers.back().inkBox();
            if (ink.empty()) {
                continue;
            }
            if (!any) {
                united = ink;
                any = true;
                continue;
            }
            const int x1 = std::max(united.x + united.w, ink.x + ink.w);
            const int y1 = std::max(united.y + united.h, ink.y + ink.h);
            united.x = std::min(united.x, ink.x);
            united.y = std::min(united.y, ink.y);
            united.w = x1 - united.x;
            united.h = y1 - united.y;
        }
        if (!any) {
            throw std::runtime_error("the drawing left no ink in its rectangle");
        }
        const bool touches[4] = {united.x == 0, united.y == 0, united.x + united.w == w,
                                 united.y + united.h == h};
        if (touches[0] && touches[1] && touches[2] && touches[3]) {
            return fitted;
        }
        for (int side = 0; side < 4; ++side) {
            if (!touches[side]) {
                overhang[side] += 0.3;
            }
        }
    }
    throw std::runtime_error("the drawing's ink does not reach every edge of its rectangle");
}

} // namespace atlasgen
