#include "model/outline.h"

#include <cmath>

namespace penwick {
namespace {

// The control points of a two-point capsule reach this share of the radius
// beyond each end point.
constexpr double kCapsuleReach = 0.9;

Vec2 add(Vec2 a, Vec2 b) {
    return Vec2{float(double(a.x) + b.x), float(double(a.y) + b.y)};
}
Vec2 sub(Vec2 a, Vec2 b) {
    return Vec2{float(double(a.x) - b.x), float(double(a.y) - b.y)};
}
Vec2 xy(const StrokePoint& p) {
    return Vec2{p.x, p.y};
}
PathPoint control(Vec2 p) {
    return PathPoint{p.x, p.y, 0};
}

void addMidpoint(Path& path, Vec2 a, Vec2 b) {
    path.addOnCurve((double(a.x) + b.x) / 2, (double(a.y) + b.y) / 2);
}

// The left and right edge points of a stroke, L[i] = P[i] + offset(i) and
// R[i] = P[i] - offset(i), rounded to float once so that every user of an
// edge point sees the same value.
struct Edges {
    Vec2 left;
    Vec2 right;
};

Edges edgesAt(const Stroke& stroke, int32_t i) {
    const Vec2 o = pointOffset(stroke, i);
    const Vec2 p = xy(stroke.points[i]);
    return Edges{add(p, o), sub(p, o)};
}

// A dot: an 8-segment ellipse on the square around (x, y).
Path dot(double x, double y, double r) {
    Path path;
    path.setEllipse(RectF(float(x - r), float(y - r), float(x + r), float(y + r)), 8);
    return path;
}

// True when the stroke has several points and they all share one x and y:
// the pen pressed harder or lighter in place.
bool allAtOnePlace(const Stroke& stroke) {
    const DynArray<StrokePoint>& p = stroke.points;
    if (p.count() < 2) return false;
    for (const StrokePoint& q : p) {
        if (q.x != p[0].x || q.y != p[0].y) return false;
    }
    return true;
}

Path capsule(const Stroke& stroke) {
    const Vec2 p0 = xy(stroke.points[0]), p1 = xy(stroke.points[1]);
    const Vec2 o = pointOffset(stroke, 0);
    // The offset turned by a quarter: back along the stroke, radius long.
    const double ux = -double(o.y) * kCapsuleReach, uy = double(o.x) * kCapsuleReach;
    Path path;
    auto point = [&path](Vec2 p, double sx, double sy) { path.addControl(p.x + sx, p.y + sy); };
    point(p0, o.x + ux, o.y + uy);
    point(p0, o.x - ux, o.y - uy);
    point(p1, o.x + ux, o.y + uy);
    point(p1, o.x - ux, o.y - uy);
    point(p1, -o.x - ux, -o.y - uy);
    point(p1, -o.x + ux, -o.y + uy);
    point(p0, -o.x - ux, -o.y - uy);
    point(p0, -o.x + ux, -o.y + uy);
    return path;
}

}  // namespace

Vec2 pointOffset(const Stroke& stroke, int32_t i) {
    const DynArray<StrokePoint>& p = stroke.points;
    const int32_t n = p.count();
    if (i < 0 || i >= n || n < 2) return Vec2{};
    const int32_t a = stroke.closed ? wrapIndex(i - 1, n) : maxOfInt(i - 1, 0);
    const int32_t b = stroke.closed ? wrapIndex(i + 1, n) : minOfInt(i + 1, n - 1);
    const double dx = double(p[b].x) - p[a].x, dy = double(p[b].y) - p[a].y;
    const double len = std::sqrt(dx * dx + dy * dy);
    if (!(len > 0)) return Vec2{};
    const double r = maxOf(p[i].radius, 0) / len;
    // The normal (-dy, dx) points to the left of the direction.
    return Vec2{float(-dy * r), float(dx * r)};
}

Path outline(const Stroke& stroke) {
    const DynArray<StrokePoint>& p = stroke.points;
    const int32_t n = p.count();
    if (n == 0) return Path{};
    if (n == 1) return dot(p[0].x, p[0].y, p[0].radius);
    if (allAtOnePlace(stroke)) {
        // Duplicate removal would leave nothing of such a stroke (the last
        // point is compared with itself); draw it as the dot of its largest
        // radius instead.
        float r = p[0].radius;
        for (const StrokePoint& q : p)
            r = maxOf(r, q.radius);
        return dot(p[0].x, p[0].y, r);
    }
    if (n == 2) return capsule(stroke);

    // One pass fills both edges. Open: P0, L0 .. Ln-1, Pn-1, Rn-1 .. R0 in
    // one contour; closed: L0 .. Ln-1 and Rn-1 .. R0 in two.
    Path path;
    const int32_t tips = stroke.closed ? 0 : 1;
    path.contours.resize(stroke.closed ? 2 : 1);
    DynArray<PathPoint>& first = path.contours[0].points;
    first.resize(stroke.closed ? n : 2 * (n + tips));
    PathPoint* left = first.items() + tips;
    PathPoint* right = left + n + 1;
    if (stroke.closed) {
        DynArray<PathPoint>& second = path.contours[1].points;
        second.resize(n);
        right = second.items();
    } else {
        first[0] = control(xy(p[0]));
        first[n + 1] = control(xy(p[n - 1]));
    }
    for (int32_t i = 0; i < n; ++i) {
        const Edges e = edgesAt(stroke, i);
        left[i] = control(e.left);
        right[n - 1 - i] = control(e.right);
    }
    path.removeDuplicatePoints();
    return path;
}

Path outlinePiece(const Stroke& stroke, int32_t i) {
    const int32_t n = stroke.points.count();
    if (n < 2) return Path{};
    i = wrapIndex(i, n);
    const Edges here = edgesAt(stroke, i);
    Path path;
    if (i == 0) {
        const Edges after = edgesAt(stroke, 1);
        path.addControl(here.left);
        addMidpoint(path, here.left, after.left);
        addMidpoint(path, here.right, after.right);
        path.addControl(here.right);
    } else if (i == n - 1) {
        const Edges before = edgesAt(stroke, i - 1);
        addMidpoint(path, before.left, here.left);
        path.addControl(here.left);
        path.addControl(here.right);
        addMidpoint(path, before.right, here.right);
    } else {
        const Edges before = edgesAt(stroke, i - 1), after = edgesAt(stroke, i + 1);
        addMidpoint(path, before.left, here.left);
        path.addControl(here.left);
        addMidpoint(path, here.left, after.left);
        addMidpoint(path, here.right, after.right);
        path.addControl(here.right);
        addMidpoint(path, before.right, here.right);
    }
    return path;
}

Path outline(const StrokeGroup& group) {
    Path path;
    for (const Stroke& s : group.strokes)
        path.appendPath(outline(s));
    return path;
}

Path centreLine(const StrokeGroup& group) {
    Path path;
    for (const Stroke& s : group.strokes) {
        path.startContour();
        for (const StrokePoint& p : s.points)
            path.addPoint(p.x, p.y, p.onCurve != 0);
    }
    return path;
}

Path lastStrokeOutlinePiece(const StrokeGroups& groups, int32_t i) {
    if (groups.isEmpty() || groups.last().strokes.isEmpty()) return Path{};
    return outlinePiece(groups.last().strokes.last(), i);
}

}  // namespace penwick
