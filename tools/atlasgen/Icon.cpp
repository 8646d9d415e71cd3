// The application icon: the title's twelve-pointed star, held still, with the fox standing on it.
#include "Icon.h"

#include "FoxSilhouette.h"

#include <cairo.h>

#include <cmath>
#include <stdexcept>
#include <vector>

namespace atlasgen {
namespace {

constexpr double pi = 3.14159265358979323846;

// The design is 1000 x 1000 units, the star centred. The star is the title shader's: the outline
// where its distance field d lies in (0.75, 0.8], the warm fill below, with d = r * (1.2 + 0.6 *
// sin(12 theta + phase) * depth) for r in the shader's units. Here the star is held at a shallow
// depth, so the fox has ground to stand on, with a point straight up.
constexpr double centre = 500;
constexpr double depth = 0.4;
constexpr double phase = -pi / 2;
constexpr double outlineLevel = 0.8;
constexpr double fillLevel = 0.75;
constexpr double unitsPerShaderUnit = 490 / (outlineLevel / (1.2 - 0.6 * depth)); // tip at 490
constexpr int pointsPerArm = 64;
constexpr int arms = 12;

// The fox's ink, in icon units: its width, and where its paws stand.
constexpr double foxWidth = 640;
constexpr double foxGround = 760;

struct Point2 {
    double x, y;
};

// The point at angle theta (clockwise from straight up) on the star's level-d contour.
Point2 contour(double level, double theta) {
    const double r = level / (1.2 + 0.6 * std::sin(arms * theta + phase) * depth);
    return {centre + unitsPerShaderUnit * r * std::sin(theta),
            centre - unitsPerShaderUnit * r * std::cos(theta)};
}

void addContour(cairo_t* cr, double level) {
    const int steps = arms * pointsPerArm;
    cairo_new_path(cr);
    for (int i = 0; i < steps; ++i) {
        const Point2 p = contour(level, 2 * pi * i / steps);
        cairo_line_to(cr, p.x, p.y);
    }
    cairo_close_path(cr);
}

// The fill's colour at level d as the title shows it over its white ground: (1, 0.7, d^3) at
// alpha d^2.
void fillColour(double level, double rgb[3]) {
    const double alpha = level * level;
    const double shader[3] = {1.0, 0.7, level * level * level};
    for (int c = 0; c < 3; ++c) {
        rgb[c] = 1.0 - alpha + shader[c] * alpha;
    }
}

// A mesh that shades the fill by level, from white at the centre to peach at the outline,
// reaching a little under the outline so the fill's antialiased edge has colour everywhere.
cairo_pattern_t* fillShading() {
    const std::vector<double> levels = {0, 0.2, 0.4, 0.55, 0.65, 0.72, 0.78};
    const int steps = arms * pointsPerArm;
    cairo_pattern_t* mesh = cairo_pattern_create_mesh();
    for (size_t ring = 0; ring + 1 < levels.size(); ++ring) {
        double inner[3], outer[3];
        fillColour(levels[ring], inner);
        fillColour(levels[ring + 1], outer);
        for (int i = 0; i < steps; ++i) {
            const double a0 = 2 * pi * i / steps, a1 = 2 * pi * (i + 1) / steps;
            const Point2 corners[4] = {contour(levels[ring], a0), contour(levels[ring + 1], a0),
                                       contour(levels[ring + 1], a1), contour(levels[ring], a1)};
            cairo_mesh_pattern_begin_patch(mesh);
            cairo_mesh_pattern_move_to(mesh, corners[0].x, corners[0].y);
            for (int k = 1; k < 4; ++k) {
                cairo_mesh_pattern_line_to(mesh, corners[k].x, corners[k].y);
            }
            const double* colours[4] = {inner, outer, outer, inner};
            for (int k = 0; k < 4; ++k) {
                cairo_mesh_pattern_set_corner_color_rgb(mesh, k, colours[k][0], colours[k][1],
                                                        colours[k][2]);
            }
            cairo_mesh_pattern_end_patch(mesh);
        }
    }
    return mesh;
}

// The fox's ink extents in its own design units, from a recording of its layers.
void foxExtents(const Art& fox, double& x, double& y, double& w, double& h) {
    cairo_surface_t* recording = cairo_recording_surface_create(CAIRO_CONTENT_ALPHA, nullptr);
    cairo_t* cr = cairo_create(recording);
    // Layers one over another, without the groups that the ink extents do not see into.
    for (int layer = 0; layer < fox.layerCount(); ++layer) {
        fox.paintLayer(cr, layer);
    }
    cairo_destroy(cr);
    cairo_recording_surface_ink_extents(recording, &x, &y, &w, &h);
    cairo_surface_destroy(recording);
    if (w <= 0 || h <= 0) {
        throw std::runtime_error("the fox has no ink");
    }
}

// Cairo's premultiplied native-endian ARGB as straight RGBA, rounded to nearest.
RgbaImage straightRgba(cairo_surface_t* surface) {
    cairo_surface_flush(surface);
    const int w = cairo_image_surface_get_width(surface);
    const int h = cairo_image_surface_get_height(surface);
    const int stride = cairo_image_surface_get_stride(surface);
    const unsigned char* data = cairo_image_surface_get_data(surface);
    RgbaImage image(w, h);
    for (int y = 0; y < h; ++y) {
        const auto* row =
            reinterpret_cast<const std::uint32_t*>(data + static_cast<size_t>(y) * stride);
        for (int x = 0; x < w; ++x) {
            const std::uint32_t p = row[x];
            const int a = static_cast<int>(p >> 24);
            if (a == 0) {
                continue;
            }
            const auto unpremultiply = [a](std::uint32_t c) {
                return static_cast<std::uint8_t>((static_cast<int>(c & 0xff) * 255 + a / 2) / a);
            };
            image.set(x, y,
                      {unpremultiply(p >> 16), unpremultiply(p >> 8), unpremultiply(p),
                       static_cast<std::uint8_t>(a)});
        }
    }
    return image;
}

} // namespace

RgbaImage paintIcon(int size) {
    if (size <= 0) {
        throw std::runtime_error("an icon needs a size above 0");
    }
    cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, size, size);
    cairo_t* cr = cairo_create(surface);
    cairo_scale(cr, size / 1000.0, size / 1000.0);

    cairo_set_source_rgb(cr, 0.30, 0.75, 1.0);
    addContour(cr, outlineLevel);
    cairo_fill(cr);

    cairo_pattern_t* shading = fillShading();
    cairo_set_source(cr, shading);
    addContour(cr, fillLevel);
    cairo_fill(cr);
    cairo_pattern_destroy(shading);

    const Art fox = foxSilhouette();
    double x, y, w, h;
    foxExtents(fox, x, y, w, h);
    const double scale = foxWidth / w;
    cairo_save(cr);
    cairo_translate(cr, centre - foxWidth / 2, foxGround - h * scale);
    cairo_scale(cr, scale, scale);
    cairo_translate(cr, -x, -y);
    cairo_set_source_rgb(cr, 0, 0, 0);
    fox.paintAll(cr);
    cairo_restore(cr);

    cairo_destroy(cr);
    RgbaImage image = straightRgba(surface);
    cairo_surface_destroy(surface);
    return image;
}

} // namespace atlasgen
