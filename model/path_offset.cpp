// Offsetting closed contours along their normals, and stroking a closed path
// into a ring (the pen-size preview).
#include "model/path.h"

#include <algorithm>
#include <cmath>

namespace penwick {
namespace {

struct D2 {
    double x;
    double y;
};

D2 normalized(D2 v) {
    const double len = std::sqrt(v.x * v.x + v.y * v.y);
    return len > 0 ? D2{v.x / len, v.y / len} : D2{0, 0};
}

// The unit normal on the left of the edge direction e.
D2 normalOf(D2 e) {
    return normalized(D2{e.y, -e.x});
}

double dot(D2 a, D2 b) {
    return a.x * b.x + a.y * b.y;
}

}  // namespace

void offsetContour(PathContour& contour, double dx, double dy, bool roundJoins) {
    const DynArray<PathPoint>& pts = contour.points;
    const int32_t n = pts.count();
    if (dx * dx + dy * dy == 0 || n < 2) return;
    DynArray<PathPoint> out;
    auto add = [&out](double x, double y, uint8_t onCurve) {
        out.append(PathPoint{float(x), float(y), onCurve});
    };
    for (int32_t i = 0; i < n; ++i) {
        const PathPoint& cur = pts[i];
        const PathPoint& prev = pts[wrapIndex(i - 1, n)];
        const PathPoint& next = pts[wrapIndex(i + 1, n)];
        const D2 eIn{double(cur.x) - prev.x, double(cur.y) - prev.y};
        const D2 eOut{double(next.x) - cur.x, double(next.y) - cur.y};
        const D2 nIn = normalOf(eIn), nOut = normalOf(eOut);
        const D2 mv{nIn.x + nOut.x, nIn.y + nOut.y};
        const double along = dot(nOut, mv);
        if (cur.onCurve) {
            const bool convex = nIn.x * nOut.y - nIn.y * nOut.x >= 0;
            if (along == 0) {
                // The contour turns straight back (or all three points
                // coincide): there is no mitre, so the point moves along the
                // incoming normal instead of to infinity.
                add(cur.x + dx * nIn.x, cur.y + dy * nIn.y, 1);
                continue;
            }
            const double g = 1 / along;  // mitre length over the offset
            if (roundJoins && dx > 0 && dy > 0 && convex) {
                add(cur.x + dx * nIn.x, cur.y + dy * nIn.y, 1);
                add(cur.x + dx * g * mv.x, cur.y + dy * g * mv.y, 0);
                add(cur.x + dx * nOut.x, cur.y + dy * nOut.y, 1);
            } else {
                add(cur.x + dx * g * mv.x, cur.y + dy * g * mv.y, 1);
            }
        } else {
            const bool bothEdges = (eIn.x != 0 || eIn.y != 0) && (eOut.x != 0 || eOut.y != 0);
            if (!bothEdges || along == 0) continue;
            const double gOff = std::max(0.5, along);
            add(cur.x + dx * mv.x / gOff, cur.y + dy * mv.y / gOff, cur.onCurve);
        }
    }
    contour.points = std::move(out);
}

void Path::offsetContours(double dx, double dy, bool roundJoins) {
    for (PathContour& c : contours)
        offsetContour(c, dx, dy, roundJoins);
}

void Path::strokeOutline(double w, double h, bool roundJoins) {
    reverse();
    // Only the contours present now; the copies appended below are not visited.
    const int32_t original = contours.count();
    for (int32_t i = 0; i < original; ++i) {
        PathContour copy = contours[i];
        std::reverse(copy.points.begin(), copy.points.end());
        offsetContour(contours[i], w / 2, h / 2, roundJoins);
        offsetContour(copy, w / 2, h / 2, roundJoins);
        contours.append(std::move(copy));
    }
}

}  // namespace penwick
