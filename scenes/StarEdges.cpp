// Where the title's star has its hard edges: the pixels whose colour depends on exactly which
// side of an edge they fall, and so need the star's literal per-pixel arithmetic.
#include "scenes/StarEdges.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr double kPoints = 12.0;
constexpr double kShapeLow = 0.6, kShapeHigh = 1.8; // f always lies between these

// The range of sin over [a, b], a <= b.
void sinRange(double a, double b, double& low, double& high) {
    low = std::min(std::sin(a), std::sin(b));
    high = std::max(std::sin(a), std::sin(b));
    // A peak at pi/2 + 2 k pi, a trough at -pi/2 + 2 k pi, inside the interval.
    if (std::floor((b - kPi / 2) / (2 * kPi)) > std::floor((a - kPi / 2) / (2 * kPi)))
        high = 1.0;
    if (std::floor((b + kPi / 2) / (2 * kPi)) > std::floor((a + kPi / 2) / (2 * kPi)))
        low = -1.0;
}

double phiAt(double t) {
    return 3.1 * std::sin(2.3 * t) * std::sin(t);
}

// The range of f over the angles [a, b], by interval arithmetic on its two sines.
void shapeRange(double a, double b, double t, double phi, double& low, double& high) {
    double pLow, pHigh, dLow, dHigh;
    sinRange(kPoints * a + 4.0 * t, kPoints * b + 4.0 * t, pLow, pHigh);
    sinRange(a + phi, b + phi, dLow, dHigh);
    const double products[] = {pLow * dLow, pLow * dHigh, pHigh * dLow, pHigh * dHigh};
    low = 1.2 + 0.6 * *std::min_element(products, products + 4);
    high = 1.2 + 0.6 * *std::max_element(products, products + 4);
}

// Viewport pixel edge (x right, y up from the viewport's bottom) to star coordinates.
double posX(double x, int width) {
    return (x / width - 0.5) * 2.0;
}
double posY(double y, int height) {
    return (0.5 - y / height) * 1.125;
}

// Whether d can reach [inner - guard, outer + guard] inside the block [x0, x1] x [y0, y1] of
// star coordinates.
bool mayCrossEdge(double x0, double x1, double y0, double y1, double t, double phi, double guard) {
    const double nearX = std::clamp(0.0, x0, x1), nearY = std::clamp(0.0, y0, y1);
    const double rMin = std::hypot(nearX, nearY);
    const double rMax =
        std::hypot(std::max(std::fabs(x0), std::fabs(x1)), std::max(std::fabs(y0), std::fabs(y1)));
    double fLow = kShapeLow, fHigh = kShapeHigh;
    if (rMin > 0.0) {
        // The block lies off the centre, within less than half a turn: its angles span
        // [mid - half, mid + half] measured from its centre's angle.
        const double mid = std::atan2(0.5 * (x0 + x1), 0.5 * (y0 + y1));
        double half = 0.0;
        for (double x : {x0, x1})
            for (double y : {y0, y1}) {
                double delta = std::atan2(x, y) - mid;
                delta -= 2.0 * kPi * std::round(delta / (2.0 * kPi));
                half = std::max(half, std::fabs(delta));
            }
        shapeRange(mid - half, mid + half, t, phi, fLow, fHigh);
    }
    return rMax * fHigh >= kStarOutlineInner - guard && rMin * fLow <= kStarOutlineOuter + guard;
}

} // namespace

void starPhase(float time, float phase[4]) {
    const double t = time, phi = phiAt(t);
    phase[0] = static_cast<float>(std::cos(phi));
    phase[1] = static_cast<float>(std::sin(phi));
    phase[2] = static_cast<float>(std::cos(4.0 * t));
    phase[3] = static_cast<float>(std::sin(4.0 * t));
}

std::vector<PixelRect> starEdgeRuns(float time, const PixelRect& viewport, int block,
                                    double guard) {
    const double t = time, phi = phiAt(t);
    std::vector<PixelRect> runs;
    for (int by = 0; by < viewport.height; by += block) {
        const int h = std::min(block, viewport.height - by);
        const double y0 = posY(by + h, viewport.height), y1 = posY(by, viewport.height);
        int runStart = -1;
        for (int bx = 0; bx <= viewport.width; bx += block) {
            const int w = std::min(block, viewport.width - bx);
            const bool edge =
                w > 0 && mayCrossEdge(posX(bx, viewport.width), posX(bx + w, viewport.width), y0,
                                      y1, t, phi, guard);
            if (edge && runStart < 0)
                runStart = bx;
            if (!edge && runStart >= 0) {
                runs.push_back(PixelRect{viewport.x + runStart, viewport.y + by, bx - runStart, h});
                runStart = -1;
            }
        }
        if (runStart >= 0)
            runs.push_back(
                PixelRect{viewport.x + runStart, viewport.y + by, viewport.width - runStart, h});
    }
    return runs;
}
