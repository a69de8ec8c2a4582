#include "render/rasterizer.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

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

// The first and past-the-last row a path's bounds can put coverage in
// (a coordinate up to 0.001 above a row boundary still counts for the row
// below, so one row of margin each side).
int clampRow(double y, int rows) {
    return int(std::clamp(std::floor(y), -1.0, double(rows)));
}

// Collects the flattened edges of a path that is filled in several bands.
struct EdgeCollector {
    int columns_, rows_;
    std::vector<CoverageStore::Edge>& edges;
    int columns() const { return columns_; }
    int rows() const { return rows_; }
    // The walk hands over float coordinates (or 0), so floats hold them exactly.
    void addEdge(double x0, double y0, double x1, double y1) {
        edges.push_back({float(x0), float(y0), float(x1), float(y1)});
    }
};

// The columns a path's cells can reach: its bounds, with two columns of margin
// for rounding in the per-row positions, clipped to the target.
int firstColumn(double left) {
    return int(std::clamp(std::floor(left) - 2, 0.0, 0.0 + INT32_MAX));
}

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

    CoverageStore& store = CoverageStore::forThisThread();
    const int firstRow = std::max(clampRow(bounds.top, rows) - 1, 0);
    const int endRow = std::min(clampRow(bounds.bottom, rows) + 2, rows);
    const int left = std::min(firstColumn(bounds.left), columns - 1);
    const int right =
        int(std::clamp(std::floor(double(bounds.right)) + 3, double(left + 1), double(columns)));
    const int bandRows = CoverageStore::bandRowsFor(right - left);
    const int alphaScale = alphaScaleOf(opacity_);
    if (endRow - firstRow <= bandRows) {
        store.prepare(columns, rows, firstRow, endRow - firstRow, left, right);
        walkPath(path, store);
        store.sweep(target, colour_, alphaScale);
        return;
    }
    // Flatten once, then cut the edges band by band.
    std::vector<CoverageStore::Edge>& edges = store.edges();
    edges.clear();
    EdgeCollector collector{columns, rows, edges};
    walkPath(path, collector);
    for (int top = firstRow; top < endRow; top += bandRows) {
        const int end = std::min(top + bandRows, endRow);
        store.prepare(columns, rows, top, end - top, left, right);
        for (const CoverageStore::Edge& e : edges) {
            // An edge adds cells only to the rows from its top to its bottom
            // (with the row boundary bias, at most one row more each way).
            const double upper = std::min(e.y0, e.y1), lower = std::max(e.y0, e.y1);
            if (lower < top - 1.0 || upper >= end + 1.0) continue;
            store.addEdge(e.x0, e.y0, e.x1, e.y1);
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
