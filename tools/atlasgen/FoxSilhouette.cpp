// The fox silhouette: body, neck, head, ears, four legs and tail, each filled as its own shape.
#include "FoxSilhouette.h"

#include "Shapes.h"

#include <cmath>

namespace atlasgen {
namespace {

constexpr double pi = 3.14159265358979323846;
constexpr double ground = 900;

// A leg from the hip or shoulder down through its joints, tapering to a paw on the ground that
// points forwards.
void fillLeg(cairo_t* cr, const std::vector<Point>& joints, double top, double bottom) {
    fillTaperedStroke(cr, samplePolyline(joints, 12),
                      [top, bottom](double t) { return top + (bottom - top) * std::sqrt(t); });
    const Point foot = joints.back();
    cairo_save(cr);
    cairo_translate(cr, foot.x + bottom * 0.45, ground - bottom * 0.42);
    cairo_scale(cr, bottom * 1.05, bottom * 0.42);
    cairo_arc(cr, 0, 0, 1, 0, 2 * pi);
    cairo_restore(cr);
    cairo_fill(cr);
}

void fillLoop(cairo_t* cr, const std::vector<Point>& points) {
    cairo_new_path(cr);
    addSmoothLoop(cr, points);
    cairo_fill(cr);
}

} // namespace

Art foxSilhouette() {
    Art art;
    art.add(0, [](cairo_t* cr) {
        // Body: a level back, a deep chest and a tucked-up belly.
        fillLoop(cr, {{360, 470},
                      {470, 425},
                      {650, 415},
                      {820, 420},
                      {920, 450},
                      {965, 520},
                      {935, 600},
                      {840, 628},
                      {700, 602},
                      {560, 612},
                      {430, 602},
                      {350, 540}});
        // Neck, rising forwards from the shoulders to the raised head.
        fillTaperedStroke(cr, sampleBezier({870, 520}, {920, 430}, {960, 330}, {1010, 250}, 30),
                          [](double t) { return 185 - 65 * t; });
        // Head: the skull and a long, pointed snout.
        cairo_save(cr);
        cairo_translate(cr, 0, -100);
        fillLoop(cr, {{955, 305},
                      {1005, 258},
                      {1080, 260},
                      {1145, 298},
                      {1232, 342},
                      {1236, 360},
                      {1170, 382},
                      {1082, 396},
                      {1005, 390},
                      {958, 352}});
        // Ears: tall and pointed, the far one a little behind the near one.
        cairo_move_to(cr, 985, 300);
        cairo_curve_to(cr, 982, 230, 990, 175, 1002, 128);
        cairo_curve_to(cr, 1040, 170, 1062, 220, 1068, 272);
        cairo_close_path(cr);
        cairo_fill(cr);
        cairo_move_to(cr, 1040, 280);
        cairo_curve_to(cr, 1045, 215, 1060, 165, 1078, 124);
        cairo_curve_to(cr, 1112, 170, 1125, 225, 1120, 298);
        cairo_close_path(cr);
        cairo_fill(cr);
        cairo_restore(cr);

        // Legs: the far pair is set a stride apart from the near pair.
        fillLeg(cr, {{900, 560}, {928, 740}, {935, 870}}, 110, 42);
        fillLeg(cr, {{845, 560}, {822, 740}, {792, 870}}, 105, 40);
        fillLeg(cr, {{430, 530}, {488, 690}, {412, 790}, {428, 870}}, 170, 42);
        fillLeg(cr, {{505, 550}, {565, 690}, {498, 790}, {528, 870}}, 140, 40);

        // Tail: full and rounded, hanging low behind and swept up at the tip.
        fillTaperedStroke(
            cr, sampleBezier({420, 500}, {240, 520}, {150, 760}, {10, 690}, 60),
            [](double t) { return 70 * (1 - t) + 200 * std::pow(std::sin(pi * t), 0.7); });
    });
    return art;
}

} // namespace atlasgen
