// The kelp roundel and the cog of the presenting group's logo.
#include "Emblems.h"

#include "Shapes.h"

#include <cmath>

namespace atlasgen {
namespace {

constexpr double pi = 3.14159265358979323846;

// A kelp blade: an almond shape from its base at `from`, `length` long, leaning by `angle`
// radians from straight up, `width` across at its widest.
void fillBlade(cairo_t* cr, Point from, double angle, double length, double width) {
    const double dx = std::sin(angle), dy = -std::cos(angle);
    const double nx = -dy, ny = dx;
    const Point tip = {from.x + dx * length, from.y + dy * length};
    const Point mid = {from.x + dx * length * 0.45, from.y + dy * length * 0.45};
    cairo_move_to(cr, from.x, from.y);
    cairo_curve_to(cr, mid.x + nx * width, mid.y + ny * width, tip.x + nx * width * 0.2,
                   tip.y + ny * width * 0.2, tip.x, tip.y);
    cairo_curve_to(cr, tip.x - nx * width * 0.35, tip.y - ny * width * 0.35,
                   mid.x - nx * width * 0.5, mid.y - ny * width * 0.5, from.x, from.y);
    cairo_close_path(cr);
    cairo_fill(cr);
}

} // namespace

Art kelpEmblem() {
    Art art;
    art.add(0, [](cairo_t* cr) {
        // The ring.
        cairo_set_line_width(cr, 14);
        cairo_arc(cr, 0, 0, 93, 0, 2 * pi);
        cairo_stroke(cr);

        // Everything inside stays clear of the ring.
        cairo_arc(cr, 0, 0, 76, 0, 2 * pi);
        cairo_clip(cr);

        // Two rolling waves across the foot.
        for (double y : {48.0, 66.0}) {
            cairo_set_line_width(cr, 8);
            cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
            cairo_move_to(cr, -90, y);
            for (int i = 0; i < 6; ++i) {
                const double x = -90 + i * 32;
                cairo_curve_to(cr, x + 8, y - 12, x + 24, y - 12, x + 32, y);
            }
            cairo_stroke(cr);
        }

        // The stem sways up from the waves, and blades grow from it on alternate sides.
        const std::vector<Point> stem = sampleBezier({0, 44}, {-30, 10}, {30, -30}, {-4, -64}, 40);
        fillTaperedStroke(cr, stem, [](double t) { return 11 - 5 * t; });
        const struct {
            double t, angle, length, width;
        } blades[] = {{0.12, -1.05, 46, 15},
                      {0.3, 0.95, 44, 14},
                      {0.5, -0.9, 38, 12},
                      {0.68, 0.85, 30, 10},
                      {0.84, -0.75, 22, 8}};
        for (const auto& b : blades) {
            const Point at = stem[static_cast<size_t>(b.t * 40)];
            fillBlade(cr, at, b.angle, b.length, b.width);
        }
        // The float at the tip.
        cairo_arc(cr, -4, -66, 9, 0, 2 * pi);
        cairo_fill(cr);
    });
    return art;
}

Art cogEmblem() {
    Art art;
    art.add(0, [](cairo_t* cr) {
        constexpr int teeth = 10;
        constexpr double outer = 100, root = 80;
        cairo_set_fill_rule(cr, CAIRO_FILL_RULE_EVEN_ODD);
        cairo_new_path(cr);
        for (int i = 0; i < teeth; ++i) {
            const double a = 2 * pi * i / teeth;
            const double step = 2 * pi / teeth;
            // Each tooth: a flank up, a flat top, a flank down, then the root arc to the next.
            const double corners[4] = {a - step * 0.24, a - step * 0.15, a + step * 0.15,
                                       a + step * 0.24};
            const double radii[4] = {root, outer, outer, root};
            for (int k = 0; k < 4; ++k) {
                const double x = radii[k] * std::sin(corners[k]);
                const double y = -radii[k] * std::cos(corners[k]);
                if (i == 0 && k == 0) {
                    cairo_move_to(cr, x, y);
                } else {
                    cairo_line_to(cr, x, y);
                }
            }
            cairo_arc(cr, 0, 0, root, corners[3] - pi / 2, a + step - step * 0.24 - pi / 2);
        }
        cairo_close_path(cr);
        // The hollow hub, and a solid axle inside it.
        cairo_new_sub_path(cr);
        cairo_arc(cr, 0, 0, 50, 0, 2 * pi);
        cairo_close_path(cr);
        cairo_fill(cr);
        cairo_arc(cr, 0, 0, 20, 0, 2 * pi);
        cairo_fill(cr);
    });
    return art;
}

} // namespace atlasgen
