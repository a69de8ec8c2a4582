// Stroke outlines: the fillable geometry of strokes, groups and shapes.
//
// A stroke is drawn as the filled outline of its points widened by their
// radii. Every outline is a closed spline of control points: the start tip,
// the left edge forward, the end tip and the right edge backward, so the
// tips are rounded by the spline through the tip points.
#pragma once

#include <cstdint>

#include "model/geometry.h"
#include "model/path.h"
#include "model/stroke.h"

namespace penwick {

// The offset from point i to the left edge of the outline: the normal of the
// direction between i's neighbours, as long as i's radius (a negative radius
// counts as 0). (0, 0) outside the stroke and for strokes of fewer than 2
// points.
Vec2 pointOffset(const Stroke& stroke, int32_t i);

// The whole outline of a stroke. A closed stroke gives two contours of
// opposite direction that fill as a ring.
Path outline(const Stroke& stroke);

// The closed piece of the outline around point i (i taken cyclically, so -2
// is the second-to-last point), for drawing a stroke while it grows. Pieces
// of consecutive points meet exactly on the full outline's spline. Empty for
// fewer than 2 points.
Path outlinePiece(const Stroke& stroke, int32_t i);

// One contour per stroke outline, so a group is filled as one figure.
Path outline(const StrokeGroup& group);

// One contour per stroke holding its points as they are; radii are dropped.
// Used for fills and as lasso polygons.
Path centreLine(const StrokeGroup& group);

// outlinePiece(i) of the last stroke of the last group; empty when there is
// none.
Path lastStrokeOutlinePiece(const StrokeGroups& groups, int32_t i);

}  // namespace penwick
