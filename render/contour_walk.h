#pragma once

// The contour walk: a contour is read cyclically; an off-curve point is the
// control point of a quadratic curve that starts and ends at its on-curve
// neighbours, or at the implied midpoints between two off-curve points.
// Curves are flattened by recursive halving into straight edges.
//
// The walk is written against an edge sink (the CoverageStore when filling;
// tests record the edges to hand the same polygon to other rasterizers):
//   int columns() const; int rows() const;
//   void addEdge(double x0, double y0, double x1, double y1);
// The points must be finite (the rasterizer rejects paths that are not).

#include "model/path.h"

namespace penwick {

namespace walk_detail {

struct Point {
    float x, y;
};

inline Point at(const PathPoint& p) {
    return {p.x, p.y};
}

// Midpoints are computed in double precision and stored as floats, like the
// points themselves.
inline Point midpoint(Point a, Point b) {
    return {float((double(a.x) + double(b.x)) / 2), float((double(a.y) + double(b.y)) / 2)};
}

inline Point midpoint(const PathPoint& a, const PathPoint& b) {
    return midpoint(at(a), at(b));
}

template <class Sink>
void addLine(Sink& sink, Point a, Point b) {
    sink.addEdge(a.x, a.y, b.x, b.y);
}

// Halving stops once the curve is within a quarter pixel of its chord. For
// finite float coordinates that takes at most about 66 halvings (the chord
// distance quarters each time); the cap only guards against rounding that
// could keep a curve of huge coordinates from ever getting flatter.
constexpr int kMaximumHalvings = 100;

// Whether every point lies strictly inside the buffer. Halving only averages
// points (each result rounds to a value between the points averaged), so the
// halves of such a curve stay inside and need none of the tests against the
// buffer's sides.
inline bool strictlyInside(Point p0, Point p1, Point p2, double columns, double rows) {
    auto in = [&](Point p) { return p.x > 0 && p.x < columns && p.y > 0 && p.y < rows; };
    return in(p0) && in(p1) && in(p2);
}

// Depth first, the first half before the second, as a recursion would go;
// the second halves wait on a stack.
template <class Sink>
void addCurve(Sink& sink, Point p0, Point p1, Point p2) {
    const double columns = sink.columns();
    const double rows = sink.rows();
    struct Half {
        Point p0, p1, p2;
        int depth;
        bool inside;
    };
    Half waiting[kMaximumHalvings + 1];
    int waitingCount = 0;
    int depth = 0;
    bool inside = false;
    for (;;) {
        bool drawn = true;
        if (!inside) {
            if (p0.y <= 0 && p1.y <= 0 && p2.y <= 0) {
                drawn = false;
            } else if (p0.x >= columns && p1.x >= columns && p2.x >= columns) {
                drawn = false;
            } else if (p0.y >= rows && p1.y >= rows && p2.y >= rows) {
                drawn = false;
            } else if (p0.x <= 0 && p1.x <= 0 && p2.x <= 0) {
                // Left of the buffer a curve only adds coverage to column 0.
                sink.addEdge(0, p0.y, 0, p2.y);
                drawn = false;
            } else {
                inside = strictlyInside(p0, p1, p2, columns, rows);
            }
        }
        if (drawn) {
            const double dx = double(p1.x) - (double(p0.x) + double(p2.x)) / 2;
            const double dy = double(p1.y) - (double(p0.y) + double(p2.y)) / 2;
            if (0.25 * 0.25 < dx * dx + dy * dy && depth < kMaximumHalvings) {
                const Point m = {float((double(p0.x) + 2.0 * double(p1.x) + double(p2.x)) / 4),
                                 float((double(p0.y) + 2.0 * double(p1.y) + double(p2.y)) / 4)};
                waiting[waitingCount++] = {m, midpoint(p1, p2), p2, depth + 1, inside};
                p1 = midpoint(p0, p1);
                p2 = m;
                ++depth;
                continue;
            }
            addLine(sink, p0, p2);
        }
        if (waitingCount == 0) return;
        const Half& next = waiting[--waitingCount];
        p0 = next.p0;
        p1 = next.p1;
        p2 = next.p2;
        depth = next.depth;
        inside = next.inside;
    }
}

}  // namespace walk_detail

template <class Sink>
void walkContour(const PathPoint* p, int n, Sink& sink) {
    using namespace walk_detail;
    for (int i = 0; i < n; ++i) {
        const PathPoint& previous = p[i == 0 ? n - 1 : i - 1];
        const PathPoint& current = p[i];
        if (!current.onCurve) {
            const PathPoint& next = p[i + 1 == n ? 0 : i + 1];
            const Point start = previous.onCurve ? at(previous) : midpoint(previous, current);
            const Point end = next.onCurve ? at(next) : midpoint(current, next);
            addCurve(sink, start, at(current), end);
        } else if (previous.onCurve) {
            addLine(sink, at(previous), at(current));
        }
        // Left-run shortcut: a run of three or more points at x <= 0 adds
        // coverage only to column 0, so one straight edge replaces it. When
        // the run ends on a control point it stops one point early and the
        // walk resumes at that control point, so that its curve is still
        // drawn and the contour stays closed.
        if (!(previous.x < 0) || !(current.x <= 0)) continue;
        int j = i;
        while (j + 1 < n && p[j + 1].x <= 0)
            ++j;
        if (j - i < 2) continue;
        const Point from = current.onCurve    ? at(current)
                           : p[i + 1].onCurve ? at(p[i + 1])
                                              : midpoint(current, p[i + 1]);
        Point to = at(p[j]);
        if (!p[j].onCurve) {
            to = p[j - 1].onCurve ? at(p[j - 1]) : midpoint(p[j], p[j - 1]);
            --j;
        }
        addLine(sink, from, to);
        i = j;
    }
}

template <class Sink>
void walkPath(const Path& path, Sink& sink) {
    for (int32_t c = 0; c < path.contours.count(); ++c) {
        const auto& points = path.contours[c].points;
        if (points.count() > 0) walkContour(&points[0], points.count(), sink);
    }
}

}  // namespace penwick
