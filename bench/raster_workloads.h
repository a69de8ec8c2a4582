#pragma once

// The rasterizer benchmark's workloads, from a seeded generator, all meant
// for a 1920 x 1080 buffer:
//   (a) a whole sketch: 2,000 stroke outlines (20-300 points, radii 1-30 px);
//   (b) the pen's newest piece: 10,000 outlinePiece fills of a growing stroke;
//   (c) large areas: 50 lasso-sized closed centre lines of 200 points.

#include <vector>

#include "model/outline.h"
#include "tests/render/random_paths.h"

namespace penwick::bench {

constexpr int kWidth = 1920;
constexpr int kHeight = 1080;

inline const std::vector<Path>& wholeSketch() {
    static const std::vector<Path> paths = [] {
        testing::TestRandom rnd(2026);
        std::vector<Path> result;
        for (int i = 0; i < 2000; ++i) {
            const Stroke stroke = testing::randomStroke(
                rnd, rnd.uniform(0, kWidth), rnd.uniform(0, kHeight), rnd.between(20, 300), 1, 30);
            result.push_back(outline(stroke));
        }
        return result;
    }();
    return paths;
}

inline const std::vector<Path>& growingStrokePieces() {
    static const std::vector<Path> paths = [] {
        testing::TestRandom rnd(7);
        Stroke stroke;
        double x = kWidth / 2.0, y = kHeight / 2.0, heading = 0, turn = 0, radius = 8;
        std::vector<Path> result;
        for (int i = 0; i < 10001; ++i) {
            StrokePoint p;
            p.x = float(x);
            p.y = float(y);
            p.radius = float(radius);
            stroke.points.append(p);
            // The newest piece the pen draws once a point has its successor.
            if (stroke.points.count() >= 2)
                result.push_back(outlinePiece(stroke, stroke.points.count() - 2));
            turn = 0.8 * turn + rnd.uniform(-0.1, 0.1);
            heading += turn;
            x += std::cos(heading) * rnd.uniform(1.5, 5);
            y += std::sin(heading) * rnd.uniform(1.5, 5);
            // Stay on the paper: turn back at the edges.
            if (x < 40 || x > kWidth - 40 || y < 40 || y > kHeight - 40) {
                heading = std::atan2(kHeight / 2.0 - y, kWidth / 2.0 - x);
                turn = 0;
            }
            radius = std::clamp(radius + rnd.uniform(-0.4, 0.4), 1.0, 30.0);
        }
        return result;
    }();
    return paths;
}

inline const std::vector<Path>& lassoAreas() {
    static const std::vector<Path> paths = [] {
        testing::TestRandom rnd(50);
        std::vector<Path> result;
        for (int i = 0; i < 50; ++i)
            result.push_back(testing::randomClosedCurve(rnd, rnd.uniform(300, kWidth - 300),
                                                        rnd.uniform(250, kHeight - 250),
                                                        rnd.uniform(100, 240), 200, true));
        return result;
    }();
    return paths;
}

// Calls move(x, y) once, then line(x, y) or quad(cx, cy, x, y) for each
// segment of the contour as the rasterizer reads it (implied on-curve
// midpoints between control points), and close() at the end.
template <class Move, class Line, class Quad, class Close>
void forEachSegment(const PathContour& contour, Move move, Line line, Quad quad, Close close) {
    const auto& p = contour.points;
    const int n = p.count();
    if (n < 2) return;
    auto mid = [](const PathPoint& a, const PathPoint& b) {
        return PathPoint{float((double(a.x) + b.x) / 2), float((double(a.y) + b.y) / 2), 1};
    };
    bool started = false;
    for (int i = 0; i < n; ++i) {
        const PathPoint& prev = p[i == 0 ? n - 1 : i - 1];
        const PathPoint& cur = p[i];
        if (!cur.onCurve) {
            const PathPoint& next = p[i + 1 == n ? 0 : i + 1];
            const PathPoint start = prev.onCurve ? prev : mid(prev, cur);
            const PathPoint end = next.onCurve ? next : mid(cur, next);
            if (!started) move(start.x, start.y);
            started = true;
            quad(cur.x, cur.y, end.x, end.y);
        } else if (prev.onCurve) {
            if (!started) move(prev.x, prev.y);
            started = true;
            line(cur.x, cur.y);
        }
    }
    if (started) close();
}

}  // namespace penwick::bench
