#pragma once

#include "model/path.h"
#include "render/coverage_store.h"

namespace penwick {

// Walks one contour as a closed loop, flattening its quadratic curves by
// recursive halving, and adds the resulting straight edges to the store.
// The points must be finite (the rasterizer rejects paths that are not).
void walkContour(const PathPoint* points, int count, CoverageStore& store);

}  // namespace penwick
