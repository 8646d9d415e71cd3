// Where the title's star has its hard edges: the pixels whose colour depends on exactly which
// side of an edge they fall, and so need the star's literal per-pixel arithmetic.
#include "scenes/StarEdges.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr double kPoints = 12.0;
constexpr double kShapeLow = 0.6, kShapeHigh = 1.8; // f always lies between these
constexpr int kCoarse = 4;                          // blocks a side of a coarse block

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

} // namespace

void starPhase(float time, float phase[4]) {
    const double t = time, phi = phiAt(t);
    phase[0] = static_cast<float>(std::cos(phi));
    phase[1] = static_cast<float>(std::sin(phi));
    phase[2] = static_cast<float>(std::cos(4.0 * t));
    phase[3] = static_cast<float>(std::sin(4.0 * t));
}

StarBlocks::StarBlocks(const PixelRect& viewport, int block)
    : viewport(viewport), block(block), columnCount((viewport.width + block - 1) / block),
      rowCount((viewport.height + block - 1) / block),
      coarseColumns((columnCount + kCoarse - 1) / kCoarse),
      coarseRows((rowCount + kCoarse - 1) / kCoarse),
      classes(static_cast<size_t>(columnCount) * rowCount, StarBlock::Edge) {
    const auto extentOver = [&](int column, int row, int side) {
        const int x0 = column * block, y0 = row * block;
        return extentOf(x0, y0, std::min(x0 + side, viewport.width),
                        std::min(y0 + side, viewport.height));
    };
    for (int row = 0; row < rowCount; ++row)
        for (int column = 0; column < columnCount; ++column)
            fine.push_back(extentOver(column, row, block));
    for (int row = 0; row < coarseRows; ++row)
        for (int column = 0; column < coarseColumns; ++column)
            coarse.push_back(extentOver(column * kCoarse, row * kCoarse, block * kCoarse));
}

StarBlocks::Extent StarBlocks::extentOf(int px0, int py0, int px1, int py1) const {
    // Viewport pixel edges to star coordinates: x right, y up from the viewport's bottom.
    const double x0 = (double(px0) / viewport.width - 0.5) * 2.0;
    const double x1 = (double(px1) / viewport.width - 0.5) * 2.0;
    const double y0 = (0.5 - double(py1) / viewport.height) * 1.125;
    const double y1 = (0.5 - double(py0) / viewport.height) * 1.125;
    Extent e{};
    const double nearX = std::clamp(0.0, x0, x1), nearY = std::clamp(0.0, y0, y1);
    e.rMin = std::hypot(nearX, nearY);
    e.rMax =
        std::hypot(std::max(std::fabs(x0), std::fabs(x1)), std::max(std::fabs(y0), std::fabs(y1)));
    e.centre = e.rMin <= 0.0;
    if (e.centre)
        return e;
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
    e.thetaLow = mid - half;
    e.thetaHigh = mid + half;
    return e;
}

StarBlock StarBlocks::classOf(const Extent& e, double t, double phi, double guard) const {
    double fLow = kShapeLow, fHigh = kShapeHigh;
    if (!e.centre)
        shapeRange(e.thetaLow, e.thetaHigh, t, phi, fLow, fHigh);
    const double low = e.rMin * fLow, high = e.rMax * fHigh; // d's range over the block
    if (low > kStarOutlineOuter + guard)
        return StarBlock::Clear;
    const auto reaches = [&](double edge) { return low <= edge + guard && high >= edge - guard; };
    return reaches(kStarOutlineInner) || reaches(kStarOutlineOuter) ? StarBlock::Edge
                                                                    : StarBlock::Shape;
}

void StarBlocks::classify(float time, double guard) {
    const double t = time, phi = phiAt(t);
    for (int cr = 0; cr < coarseRows; ++cr)
        for (int cc = 0; cc < coarseColumns; ++cc) {
            const StarBlock whole =
                classOf(coarse[static_cast<size_t>(cr) * coarseColumns + cc], t, phi, guard);
            const int rowEnd = std::min((cr + 1) * kCoarse, rowCount);
            const int columnEnd = std::min((cc + 1) * kCoarse, columnCount);
            for (int row = cr * kCoarse; row < rowEnd; ++row)
                for (int column = cc * kCoarse; column < columnEnd; ++column) {
                    const size_t i = static_cast<size_t>(row) * columnCount + column;
                    // A bound over the coarse block holds for each of its blocks.
                    classes[i] = whole == StarBlock::Edge ? classOf(fine[i], t, phi, guard) : whole;
                }
        }
}

PixelRect StarBlocks::blockRect(int column, int row) const {
    const int x = column * block, y = row * block;
    return PixelRect{viewport.x + x, viewport.y + y, std::min(block, viewport.width - x),
                     std::min(block, viewport.height - y)};
}

std::vector<PixelRect> StarBlocks::edgeRuns(int maxGap, int groupRows) const {
    std::vector<PixelRect> runs;
    std::vector<size_t> below, ending; // the runs whose top is this group's bottom, the next's
    std::vector<char> edge(static_cast<size_t>(columnCount));
    for (int row0 = 0; row0 < rowCount; row0 += groupRows) {
        const int rowEnd = std::min(row0 + groupRows, rowCount);
        for (int column = 0; column < columnCount; ++column) {
            edge[column] = 0;
            for (int row = row0; row < rowEnd; ++row)
                edge[column] |= at(column, row) == StarBlock::Edge ? 1 : 0;
        }
        ending.clear();
        int first = -1, last = -1; // the run being gathered, in columns
        const auto close = [&] {
            const PixelRect a = blockRect(first, row0), b = blockRect(last, rowEnd - 1);
            const PixelRect run{a.x, a.y, b.x + b.width - a.x, b.y + b.height - a.y};
            // A run over the same columns as one that ends just below extends it.
            for (size_t i : below)
                if (runs[i].x == run.x && runs[i].width == run.width) {
                    runs[i].height += run.height;
                    ending.push_back(i);
                    return;
                }
            ending.push_back(runs.size());
            runs.push_back(run);
        };
        for (int column = 0; column < columnCount; ++column) {
            if (!edge[column])
                continue;
            if (first >= 0 && column - last - 1 > maxGap) {
                close();
                first = -1;
            }
            if (first < 0)
                first = column;
            last = column;
        }
        if (first >= 0)
            close();
        below.swap(ending);
    }
    return runs;
}

std::vector<PixelRect> StarBlocks::starBands(int bandRows) const {
    std::vector<PixelRect> bands;
    for (int row0 = 0; row0 < rowCount; row0 += bandRows) {
        const int rowEnd = std::min(row0 + bandRows, rowCount);
        int first = columnCount, last = -1;
        for (int row = row0; row < rowEnd; ++row)
            for (int column = 0; column < columnCount; ++column)
                if (at(column, row) != StarBlock::Clear) {
                    first = std::min(first, column);
                    last = std::max(last, column);
                }
        if (last < 0)
            continue;
        const PixelRect a = blockRect(first, row0), b = blockRect(last, rowEnd - 1);
        bands.push_back(PixelRect{a.x, a.y, b.x + b.width - a.x, b.y + b.height - a.y});
    }
    return bands;
}
