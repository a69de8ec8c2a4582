#pragma once
// The vector drawing's figures as plain data: a Path's quadratic contours
// turned into cubic Bézier segments at a scale, which the canvas hands to a
// device context (filled platform paths) for the metafile copy, printing and
// the platform rendering mode. Nothing here knows about device contexts.
//
// As in every vector output (the SVG export too), every point of a contour
// is a quadratic control point and the curve runs through the midpoints of
// neighbouring points, whatever the points' on-curve flags say; that is the
// curve the rasterizer fills wherever no on-curve points occur, which holds
// for every stroke outline and centre line. Contours of fewer than 3 points
// make no figure.

#include <vector>

#include "model/path.h"

namespace penwick {

struct CubicPoint {
    double x = 0;
    double y = 0;

    friend bool operator==(const CubicPoint&, const CubicPoint&) = default;
};

// One cubic segment from the current point (the previous segment's end, or
// the figure's start).
struct CubicSegment {
    CubicPoint control1;
    CubicPoint control2;
    CubicPoint end;
};

// One closed figure: a move to `start`, the segments, then closing it.
struct CubicFigure {
    CubicPoint start;
    std::vector<CubicSegment> segments;
};

// The figures of `path` at `scale` (F): for a contour P0 ... Pn-1 the start
// is F x midpoint(Pn-1, P0), and point Pl gives the segment with start S (the
// previous end), control Q = F x Pl and end E = F x midpoint(Pl, Pl+1), whose
// control points are S + 2/3 (Q - S) and E + 2/3 (Q - E): the quadratic from
// S through Q to E written as a cubic, exactly. The values are not rounded;
// a device context takes each point truncated toward zero, the start too,
// while the next segment starts from the unrounded end.
std::vector<CubicFigure> cubicFigures(const Path& path, double scale);

}  // namespace penwick
