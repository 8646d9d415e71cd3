// A vector drawing in its own design units, made of colour layers that are painted as coverage.
#pragma once

#include <cairo.h>
#include <functional>
#include <vector>

namespace atlasgen {

// A box in design units: x0, y0 top left, x1, y1 bottom right.
struct Box {
    double x0 = 0, y0 = 0, x1 = 0, y1 = 0;
    double width() const { return x1 - x0; }
    double height() const { return y1 - y0; }
    Box united(const Box& o) const;
};

class Art {
public:
    // Paints full coverage with the opaque source it is given, in design units. A painter may
    // use CAIRO_OPERATOR_DEST_OUT to cut into what its own layer painted before it.
    using Painter = std::function<void(cairo_t*)>;

    void add(int layer, Painter painter);
    // Adds every layer of other, drawn through the affine map (x, y) -> (dx + s * x, dy + s * y).
    void place(const Art& other, double dx, double dy, double scale);

    int layerCount() const { return static_cast<int>(layers.size()); }
    void paintLayer(cairo_t* cr, int layer) const;
    void paintAll(cairo_t* cr) const;

private:
    std::vector<std::vector<Painter>> layers;
};

} // namespace atlasgen
