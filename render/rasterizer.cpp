#include "render/rasterizer.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <utility>
#include <vector>

#include "render/biased_floor.h"
#include "render/contour_walk.h"
#include "render/coverage_store.h"

namespace penwick {

namespace {

bool allFinite(const Path& path) {
    for (int32_t c = 0; c < path.contours.count(); ++c) {
        const auto& points = path.contours[c].points;
        for (int32_t i = 0; i < points.count(); ++i) {
            if (!std::isfinite(points[i].x) || !std::isfinite(points[i].y)) return false;
        }
    }
    return true;
}

// Whether the path's edges may leave cover in the rows top ... end - 1.
// Cover reaches at most one row above the points' first row and two below
// their last (see the band in fill). Every point counts, also those of a
// contour without width, which the path's bounds leave out.
bool mayReachRows(const Path& path, int top, int end) {
    float minY = INFINITY, maxY = -INFINITY;
    for (const PathContour& contour : path.contours) {
        for (const PathPoint& point : contour.points) {
            minY = std::min(minY, point.y);
            maxY = std::max(maxY, point.y);
        }
    }
    return top < double(maxY) + 2 && double(minY) - 2 < end;
}

// The row of the y coordinate y, held inside -1 ... rows; the fill widens the
// rows of its edges' extremes by one row of margin each side (a coordinate up
// to 0.001 above a row boundary still counts for the row below).
int clampRow(double y, int rows) {
    return int(std::clamp(std::floor(y), -1.0, double(rows)));
}

// Collects the flattened edges of a path and the columns their cells can
// reach. A row's piece of an edge can reach beyond the edge's own x range:
// a y less than 0.001 short of a row boundary counts for the next row, and
// the partial row then runs on past the end point along the edge's slope.
// Those overshooting positions are the ones addEdge computes, so they are
// taken in here.
struct EdgeCollector {
    int columns_, rows_;
    std::vector<CoverageStore::Edge>& edges;
    double minX = INFINITY, maxX = -INFINITY;
    double minY = INFINITY, maxY = -INFINITY;

    // Beyond this the per-row positions lose whole pixels to rounding, and
    // the cells may land anywhere in the row.
    static constexpr double kLarge = 1 << 24;

    int columns() const { return columns_; }
    int rows() const { return rows_; }
    // The walk hands over float coordinates (or 0), so floats hold them exactly.
    void addEdge(double x0, double y0, double x1, double y1) {
        edges.push_back({float(x0), float(y0), float(x1), float(y1)});
        widen(x0);
        widen(x1);
        minY = std::min({minY, y0, y1});
        maxY = std::max({maxY, y0, y1});
        if (y1 < y0) {
            std::swap(x0, x1);
            std::swap(y0, y1);
        }
        if (y0 == y1 || std::fabs(y0) > kLarge || std::fabs(y1) > kLarge) return;
        const int r0 = biasedFloor(y0), r1 = biasedFloor(y1);
        // Both positions lie between the ends (give or take rounding, which
        // the band's margins absorb) unless the last row starts below y1.
        if (r0 == r1 || r1 <= y1) return;
        const double s = (x1 - x0) / (y1 - y0);
        widen(x0 + ((r0 + 1) - y0) * s);
        widen(x0 + (r1 - y0) * s);
    }
    void widen(double x) {
        minX = std::min(minX, x);
        maxX = std::max(maxX, x);
    }
};

}  // namespace

int alphaScaleOf(double opacity) {
    if (!(opacity > 0)) return 0;
    return int(std::min(opacity, 1.0) * 256.0);
}

void Rasterizer::fill(const Path& path) {
    if (target_ == nullptr || target_->isEmpty()) return;
    PixelBuffer& target = *target_;
    const int columns = target.width();
    const int rows = target.height();
    const RectF bounds = path.bounds();
    if (columns <= bounds.left || rows <= bounds.top || bounds.right <= 0 || bounds.bottom <= 0)
        return;
    if (!allFinite(path)) return;
    const bool clipped = clipTop_ < clipEnd_;
    if (clipped && !mayReachRows(path, clipTop_, clipEnd_)) return;

    CoverageStore& store = CoverageStore::forThisThread();
    std::vector<CoverageStore::Edge>& edges = store.edges();
    edges.clear();
    EdgeCollector collector{columns, rows, edges};
    walkPath(path, collector);

    // The band: the rows of the edges (a coordinate up to 0.001 above a row
    // boundary counts for the row below, hence the margins) and the columns
    // they reach, or the whole width for coordinates too large to trust.
    // Edges, not the path's bounds: a contour without width has no bounds,
    // yet its edges can leave cover where one of them is cut at the top.
    int firstRow = std::max(clampRow(collector.minY, rows) - 1, 0);
    int endRow = std::min(clampRow(collector.maxY, rows) + 2, rows);
    if (clipped) {
        // Each row's cells come from the edges alone, whatever band holds
        // the row, so a clipped fill draws its rows exactly as a whole one.
        firstRow = std::max(firstRow, clipTop_);
        endRow = std::min(endRow, clipEnd_);
    }
    int left = 0, right = columns;
    if (collector.minX >= -EdgeCollector::kLarge && collector.maxX <= EdgeCollector::kLarge) {
        left = int(std::clamp(std::floor(collector.minX) - 2, 0.0, double(columns - 1)));
        right = int(std::clamp(std::floor(collector.maxX) + 3, double(left + 1), double(columns)));
    }
    const int bandRows = CoverageStore::bandRowsFor(right - left);
    const int alphaScale = alphaScaleOf(opacity_);
    // One band of all the edges' rows needs no test of each edge; a clipped
    // fill skips the edges outside its rows, which are most of a tall path's.
    const bool oneBand = !clipped && endRow - firstRow <= bandRows;
    for (int top = firstRow; top < endRow; top += bandRows) {
        const int end = std::min(top + bandRows, endRow);
        store.prepare(target, top, end - top, left, right);
        if (oneBand) {
            for (const CoverageStore::Edge& e : edges)
                store.addEdge(e.x0, e.y0, e.x1, e.y1);
        } else {
            for (const CoverageStore::Edge& e : edges) {
                // An edge adds cells only to the rows from its top to its
                // bottom (with the row boundary bias, at most one row more
                // each way).
                const double upper = std::min(e.y0, e.y1), lower = std::max(e.y0, e.y1);
                if (lower < top - 1.0 || upper >= end + 1.0) continue;
                store.addEdge(e.x0, e.y0, e.x1, e.y1);
            }
        }
        store.sweep(target, colour_, alphaScale);
    }
}

void fillPath(PixelBuffer& target, const Path& path, uint32_t colour, double opacity) {
    Rasterizer rasterizer;
    rasterizer.setTarget(&target);
    rasterizer.setColour(colour);
    rasterizer.setOpacity(opacity);
    rasterizer.fill(path);
}

}  // namespace penwick
