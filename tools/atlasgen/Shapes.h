// Path helpers for drawn shapes: points, Bezier sampling and tapered strokes.
#pragma once

#include <cairo.h>
#include <functional>
#include <vector>

namespace atlasgen {

struct Point {
    double x = 0, y = 0;
};

// Points of the cubic Bezier a, b, c, d at `steps` + 1 even parameter steps.
std::vector<Point> sampleBezier(Point a, Point b, Point c, Point d, int steps);

// Points along the polyline through `joints`, each segment cut into `steps` pieces.
std::vector<Point> samplePolyline(const std::vector<Point>& joints, int steps);

// Adds a closed outline around the centreline, `width(t)` wide at the fraction t of its length,
// with round ends; like a brush stroke whose pressure varies. Fills it with the current source.
void fillTaperedStroke(cairo_t* cr, const std::vector<Point>& centre,
                       const std::function<double(double)>& width);

// Adds a closed curve through the points, smoothed as a Catmull-Rom spline.
void addSmoothLoop(cairo_t* cr, const std::vector<Point>& points);

} // namespace atlasgen
