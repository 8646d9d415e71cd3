// Layered vector drawings and their composition.
#include "Art.h"

#include <algorithm>

namespace atlasgen {

Box Box::united(const Box& o) const {
    return {std::min(x0, o.x0), std::min(y0, o.y0), std::max(x1, o.x1), std::max(y1, o.y1)};
}

void Art::add(int layer, Painter painter) {
    if (layer >= layerCount()) {
        layers.resize(static_cast<size_t>(layer) + 1);
    }
    layers[static_cast<size_t>(layer)].push_back(std::move(painter));
}

void Art::place(const Art& other, double dx, double dy, double scale) {
    for (int layer = 0; layer < other.layerCount(); ++layer) {
        for (const Painter& p : other.layers[static_cast<size_t>(layer)]) {
            add(layer, [p, dx, dy, scale](cairo_t* cr) {
                cairo_save(cr);
                cairo_translate(cr, dx, dy);
                cairo_scale(cr, scale, scale);
                p(cr);
                cairo_restore(cr);
            });
        }
    }
}

void Art::paintLayer(cairo_t* cr, int layer) const {
    if (layer < 0 || layer >= layerCount()) {
        return;
    }
    for (const Painter& p : layers[static_cast<size_t>(layer)]) {
        cairo_save(cr);
        cairo_set_source_rgba(cr, 0, 0, 0, 1);
        p(cr);
        cairo_restore(cr);
    }
}

void Art::paintAll(cairo_t* cr) const {
    for (int layer = 0; layer < layerCount(); ++layer) {
        // Each layer is painted into its own group so that its cut-outs only cut itself.
        cairo_push_group_with_content(cr, CAIRO_CONTENT_ALPHA);
        paintLayer(cr, layer);
        cairo_pop_group_to_source(cr);
        cairo_paint(cr);
    }
}

} // namespace atlasgen
