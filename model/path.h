// Fillable geometry: paths of closed quadratic contours.
//
// A contour is a closed loop of points read cyclically. An on-curve point
// lies on the outline; an off-curve point is the control point of a
// quadratic Bézier segment, and between two consecutive off-curve points lies
// an implied on-curve point at their midpoint. A contour of off-curve points
// only is therefore a smooth closed quadratic B-spline through the midpoints
// of its points; every stroke outline has that form.
#pragma once

#include <cstdint>

#include "model/dyn_array.h"
#include "model/geometry.h"

namespace penwick {

struct PathPoint {
    float x = 0;
    float y = 0;
    uint8_t onCurve = 1;

    friend bool operator==(const PathPoint&, const PathPoint&) = default;
};

struct PathContour {
    static constexpr uint32_t kClosed = 1;

    DynArray<PathPoint> points;
    uint32_t flags = kClosed;  // bit 0: closed; every new contour is closed

    bool closed() const { return (flags & kClosed) != 0; }
    // The first point and includePoint over the rest; (0, 0, 0, 0) when empty.
    RectF bounds() const;
};

class Path {
  public:
    DynArray<PathContour> contours;

    // Reuses an empty last contour, otherwise appends an empty one.
    void startContour();
    // Appends to the last contour, appending a contour first when there is none.
    void addPoint(double x, double y, bool onCurve);
    void addOnCurve(double x, double y) { addPoint(x, y, true); }
    void addControl(double x, double y) { addPoint(x, y, false); }
    void addOnCurve(Vec2 p) { addPoint(p.x, p.y, true); }
    void addControl(Vec2 p) { addPoint(p.x, p.y, false); }
    void appendContour(const PathContour& c);
    void appendPath(const Path& p);

    bool isEmpty() const { return contours.isEmpty(); }
    int32_t pointCount() const;

    // Unite of the contours' bounds; control points count as they are.
    RectF bounds() const;
    void translate(double dx, double dy);
    void reverse();
};

}  // namespace penwick
