// Winding numbers of quadratic contours: the control polygon's crossings of
// the ray from the point towards smaller y, corrected where the curve of an
// off-curve point bends away from its control polygon.
#include "model/path.h"

#include <algorithm>

namespace penwick {
namespace {

struct P2 {
    double x;
    double y;
};

P2 mid(P2 a, P2 b) {
    return P2{(a.x + b.x) / 2, (a.y + b.y) / 2};
}

// True when the quadratic S-C-E passes the point on the far side; with
// S = (a, b), C = (c, d), E = (e, f).
bool curveTest(P2 s, P2 c, P2 e, double x, double y) {
    const double p = s.x - x, q = s.y - y;
    const double r = s.y - 2 * c.y + e.y, u = s.x - 2 * c.x + e.x;
    const double v = p * r - q * u;
    const double m = 2 * (c.y - s.y), t = 2 * (c.x - s.x);
    return (2 * v) * (2 * v) - 4 * (m * p - t * q) * (r * t - u * m) < 0;
}

bool strictlyInsideBox(P2 s, P2 c, P2 e, double x, double y) {
    const double left = std::min({s.x, c.x, e.x}), right = std::max({s.x, c.x, e.x});
    const double top = std::min({s.y, c.y, e.y}), bottom = std::max({s.y, c.y, e.y});
    return left < x && x < right && top < y && y < bottom;
}

// Side of (x, y) against the directed edge a -> b.
double side(P2 a, P2 b, double x, double y) {
    return (y - a.y) * (b.x - a.x) - (x - a.x) * (b.y - a.y);
}

}  // namespace

int32_t contourWindingAt(const PathContour& contour, double x, double y) {
    const DynArray<PathPoint>& pts = contour.points;
    const int32_t n = pts.count();
    if (n < 3) return 0;
    int32_t winding = 0;
    const PathPoint* prevPoint = &pts[n - 1];
    for (int32_t s = 0; s < n; ++s) {
        const PathPoint& curPoint = pts[s];
        const P2 prev{prevPoint->x, prevPoint->y}, cur{curPoint.x, curPoint.y};
        if (prev.x <= x && x < cur.x &&
            (y - prev.y) * (cur.x - prev.x) > (cur.y - prev.y) * (x - prev.x)) {
            ++winding;
        } else if (cur.x <= x && x < prev.x &&
                   (y - prev.y) * (cur.x - prev.x) < (cur.y - prev.y) * (x - prev.x)) {
            --winding;
        }
        if (!curPoint.onCurve) {
            const PathPoint& nextPoint = pts[wrapIndex(s + 1, n)];
            const P2 next{nextPoint.x, nextPoint.y};
            const P2 start = prevPoint->onCurve ? prev : mid(prev, cur);
            const P2 end = nextPoint.onCurve ? next : mid(cur, next);
            if (strictlyInsideBox(start, cur, end, x, y) && !curveTest(start, cur, end, x, y)) {
                const double o = side(start, cur, x, y);
                const double r = side(cur, end, x, y);
                const double q = side(end, start, x, y);
                if (o > 0 && r > 0 && q > 0) {
                    --winding;
                } else if (o < 0 && r < 0 && q < 0) {
                    ++winding;
                }
            }
        }
        prevPoint = &curPoint;
    }
    return winding;
}

int32_t Path::windingAt(double x, double y) const {
    int32_t winding = 0;
    for (const PathContour& c : contours)
        winding += contourWindingAt(c, x, y);
    return winding;
}

}  // namespace penwick
