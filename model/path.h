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

    // The sum of the contours' winding numbers at (x, y), curves included; a
    // point is inside when it is not 0.
    int32_t windingAt(double x, double y) const;
    // Collapses each run of points with equal x and y into one sharp on-curve
    // corner, comparing cyclically (a lone point is compared with itself).
    void removeDuplicatePoints();
    // Replaces the contents by one closed spline of n (at least 3) control
    // points inscribed in rect.
    void setEllipse(const RectF& rect, int32_t n);
    // Replaces each contour by two offset contours of opposite direction that
    // fill as a ring w wide horizontally and h vertically.
    void strokeOutline(double w, double h, bool roundJoins);
    // Moves every contour outwards by (dx, dy) along its normals.
    void offsetContours(double dx, double dy, bool roundJoins);
};

// The winding number of one contour at (x, y); 0 for fewer than 3 points.
int32_t contourWindingAt(const PathContour& c, double x, double y);
// Offsets one contour by (dx, dy); contours of fewer than 2 points and a zero
// offset are left alone. An open contour is offset as if it were closed.
void offsetContour(PathContour& c, double dx, double dy, bool roundJoins);

}  // namespace penwick
