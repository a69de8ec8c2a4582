#include "model/path.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace penwick {

RectF PathContour::bounds() const {
    if (points.isEmpty()) return RectF::emptyRect();
    RectF r(points[0].x, points[0].y, points[0].x, points[0].y);
    for (const PathPoint& p : points)
        r.includePoint(Vec2{p.x, p.y});
    return r;
}

void Path::startContour() {
    if (!contours.isEmpty() && contours.last().points.isEmpty()) return;
    contours.append(PathContour{});
}

void Path::addPoint(double x, double y, bool onCurve) {
    if (contours.isEmpty()) contours.append(PathContour{});
    contours.last().points.append(PathPoint{float(x), float(y), uint8_t(onCurve ? 1 : 0)});
}

void Path::appendContour(const PathContour& c) {
    contours.append(c);
}

void Path::appendPath(const Path& p) {
    for (const PathContour& c : p.contours)
        contours.append(c);
}

int32_t Path::pointCount() const {
    int32_t n = 0;
    for (const PathContour& c : contours)
        n += c.points.count();
    return n;
}

RectF Path::bounds() const {
    RectF r = RectF::emptyRect();
    for (const PathContour& c : contours)
        r = RectF::unite(r, c.bounds());
    return r;
}

void Path::translate(double dx, double dy) {
    for (PathContour& c : contours) {
        for (PathPoint& p : c.points) {
            p.x = float(p.x + dx);
            p.y = float(p.y + dy);
        }
    }
}

void Path::reverse() {
    for (PathContour& c : contours)
        std::reverse(c.points.begin(), c.points.end());
}

void Path::removeDuplicatePoints() {
    // One linear pass that gives the same result as walking j = 0, 1, ...
    // and removing point j whenever it equals its cyclic predecessor (whose
    // flag then becomes on-curve).
    auto same = [](const PathPoint& a, const PathPoint& b) { return a.x == b.x && a.y == b.y; };
    for (PathContour& c : contours) {
        DynArray<PathPoint>& p = c.points;
        const int32_t n = p.count();
        // At the front the predecessor is the last point; a lone point is
        // compared with itself.
        int32_t start = 0;
        while (start < n && same(p[start], p[n - 1])) {
            p[n - 1].onCurve = 1;
            ++start;
        }
        if (start == n) {
            p.resize(0);
            continue;
        }
        // From then on the predecessor is the last point kept.
        int32_t kept = start + 1;
        for (int32_t j = start + 1; j < n; ++j) {
            if (same(p[j], p[kept - 1])) {
                p[kept - 1].onCurve = 1;
            } else {
                p[kept++] = p[j];
            }
        }
        p.removeAt(kept, n - kept);
        p.removeAt(0, start);
    }
}

void Path::setEllipse(const RectF& rect, int32_t n) {
    n = maxOfInt(n, 3);
    const double c = std::cos(std::numbers::pi / n);
    const double k = 2 / (c * c + 1);  // lifts the control polygon so the spline meets the rect
    const Vec2 centre = rect.centre();
    const double rx = k * rect.width() / 2, ry = k * rect.height() / 2;
    contours.resize(0);
    for (int32_t i = 0; i < n; ++i) {
        // The angle step uses this decimal value of 2π, not the exact one.
        const double a = i * 6.28318530718 / n;
        addControl(centre.x + std::cos(a) * rx, centre.y + std::sin(a) * ry);
    }
}

}  // namespace penwick
