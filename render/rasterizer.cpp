#include "render/rasterizer.h"

#include <algorithm>
#include <cmath>

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
    const int bandRows = CoverageStore::bandRowsFor(columns);
    const int firstRow = std::max(clampRow(bounds.top, rows) - 1, 0);
    const int endRow = std::min(clampRow(bounds.bottom, rows) + 2, rows);
    const int alphaScale = alphaScaleOf(opacity_);
    for (int top = firstRow; top < endRow; top += bandRows) {
        store.prepare(columns, rows, top, std::min(bandRows, rows - top));
        walkPath(path, store);
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
