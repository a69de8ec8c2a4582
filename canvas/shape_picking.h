#pragma once
// Which shape lies under a window point: the topmost committed shape whose
// filled area or ink the point is in. The shape being drawn never counts.

#include <cstdint>

#include "model/sketch.h"

namespace penwick {

// The index of the shape, or -1 for none. The sketch's view must be fitted.
int32_t shapeAt(const Sketch& sketch, double x, double y);

}  // namespace penwick
