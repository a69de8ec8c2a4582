// Strokes: the sampled point, the stroke (one pen-down to pen-up run of
// points) and the stroke group (strokes outlined and filled together), with
// the operations that build a shape's groups while the pen moves.
#pragma once

#include <cstdint>
#include <optional>

#include "model/dyn_array.h"
#include "model/geometry.h"

namespace penwick {

// One sample in sketch space. The fields keep this order: the file record is
// built from them (with two reserved bytes after the flags).
struct StrokePoint {
    float x = 0;
    float y = 0;
    float radius = 0;      // half the drawn width, in sketch units
    uint8_t onCurve = 1;   // 1 for every pen sample; 0 makes a quadratic control point
    uint8_t selected = 0;  // selection mark at point granularity

    Vec3 position() const { return Vec3{x, y, radius}; }

    friend bool operator==(const StrokePoint&, const StrokePoint&) = default;
};

static_assert(sizeof(StrokePoint) == 16);

struct Stroke {
    DynArray<StrokePoint> points;
    uint8_t closed = 0;  // a loop: neighbours wrap around when outlining
    uint8_t selected = 0;
};

struct StrokeGroup {
    DynArray<Stroke> strokes;
    uint8_t selected = 0;
};

using StrokeGroups = DynArray<StrokeGroup>;

// The shape-building operations on the groups of one shape.

// Appends (x, y, radius) to the last stroke of the last group, creating the
// group and the stroke when missing; returns the new point's index.
int32_t addPoint(StrokeGroups& groups, double x, double y, double radius);
// Removes the last point of the last stroke of the last group, if any.
void removeLastPoint(StrokeGroups& groups);
// Appends an empty stroke unless the last stroke is still empty.
void startStroke(StrokeGroups& groups);
// Appends an empty group unless the last group has no strokes yet.
void startGroup(StrokeGroups& groups);
// Removes strokes without points, then groups without strokes, keeping the
// order of the rest; true when at least one group remains.
bool prune(StrokeGroups& groups);
// Maps (x, y, radius) of every point; the flags stay.
void transformPoints(StrokeGroups& groups, const Transform3D& t);
// The bounds of every point's disc, each point first mapped by t when given;
// (0, 0, 0, 0) when there is no point.
RectF bounds(const StrokeGroups& groups, const Transform3D* t = nullptr);

// How a pen sample becomes a radius, in window units, before it is mapped
// into sketch space.

// The tablet's raw pressure scaled to 0..1 (raw / 1024), or 0.5 for every
// sample when pressure sensing is off.
double tabletPressure(double rawPressure, bool usePressure);
// (pressure + 0.05) × pen size; no point at all for a pressure of 0.
std::optional<double> tabletSampleRadius(double pressure, double penSize);
double mouseSampleRadius(double penSize);

}  // namespace penwick
