// Sampled curves, brush-like tapered strokes and smooth closed outlines.
#include "Shapes.h"

#include <cmath>

namespace atlasgen {
namespace {

constexpr double pi = 3.14159265358979323846;

} // namespace

std::vector<Point> sampleBezier(Point a, Point b, Point c, Point d, int steps) {
    std::vector<Point> points;
    for (int i = 0; i <= steps; ++i) {
        const double t = double(i) / steps, s = 1 - t;
        const double ka = s * s * s, kb = 3 * s * s * t, kc = 3 * s * t * t, kd = t * t * t;
        points.push_back(
            {ka * a.x + kb * b.x + kc * c.x + kd * d.x, ka * a.y + kb * b.y + kc * c.y + kd * d.y});
    }
    return points;
}

std::vector<Point> samplePolyline(const std::vector<Point>& joints, int steps) {
    std::vector<Point> points;
    for (size_t j = 0; j + 1 < joints.size(); ++j) {
        for (int i = 0; i < steps; ++i) {
            const double t = double(i) / steps;
            points.push_back({joints[j].x + t * (joints[j + 1].x - joints[j].x),
                              joints[j].y + t * (joints[j + 1].y - joints[j].y)});
        }
    }
    points.push_back(joints.back());
    return points;
}

void fillTaperedStroke(cairo_t* cr, const std::vector<Point>& centre,
                       const std::function<double(double)>& width) {
    const size_t n = centre.size();
    if (n < 2) {
        return;
    }
    std::vector<double> along(n, 0.0);
    for (size_t i = 1; i < n; ++i) {
        along[i] =
            along[i - 1] + std::hypot(centre[i].x - centre[i - 1].x, centre[i].y - centre[i - 1].y);
    }
    std::vector<Point> left, right;
    for (size_t i = 0; i < n; ++i) {
        const Point& before = centre[i == 0 ? 0 : i - 1];
        const Point& after = centre[i + 1 == n ? n - 1 : i + 1];
        double dx = after.x - before.x, dy = after.y - before.y;
        const double len = std::hypot(dx, dy);
        dx /= len;
        dy /= len;
        const double half = 0.5 * width(along[i] / along[n - 1]);
        left.push_back({centre[i].x - dy * half, centre[i].y + dx * half});
        right.push_back({centre[i].x + dy * half, centre[i].y - dx * half});
    }
    cairo_new_path(cr);
    cairo_move_to(cr, left[0].x, left[0].y);
    for (size_t i = 1; i < n; ++i) {
        cairo_line_to(cr, left[i].x, left[i].y);
    }
    for (size_t i = n; i-- > 0;) {
        cairo_line_to(cr, right[i].x, right[i].y);
    }
    cairo_close_path(cr);
    cairo_fill(cr);
    // Round ends, the way a brush starts and lifts.
    for (size_t i : {size_t(0), n - 1}) {
        const double half = 0.5 * width(along[i] / along[n - 1]);
        if (half > 0) {
            cairo_arc(cr, centre[i].x, centre[i].y, half, 0, 2 * pi);
            cairo_fill(cr);
        }
    }
}

void addSmoothLoop(cairo_t* cr, const std::vector<Point>& p) {
    const size_t n = p.size();
    cairo_move_to(cr, p[0].x, p[0].y);
    for (size_t i = 0; i < n; ++i) {
        const Point& p0 = p[(i + n - 1) % n];
        const Point& p1 = p[i];
        const Point& p2 = p[(i + 1) % n];
        const Point& p3 = p[(i + 2) % n];
        cairo_curve_to(cr, p1.x + (p2.x - p0.x) / 6, p1.y + (p2.y - p0.y) / 6,
                       p2.x - (p3.x - p1.x) / 6, p2.y - (p3.y - p1.y) / 6, p2.x, p2.y);
    }
    cairo_close_path(cr);
}

} // namespace atlasgen
