#pragma once

// Seeded random geometry shared by the rasterizer tests and benchmarks:
// pen strokes (filled through their outlines), lasso-sized closed curves and
// free mixes of on-curve and control points.

#include <algorithm>
#include <cmath>
#include <cstdint>

#include "model/outline.h"
#include "model/path.h"
#include "model/stroke.h"

namespace penwick::testing {

// SplitMix64: tiny, fast and the same sequence on every platform.
class TestRandom {
  public:
    explicit TestRandom(uint64_t seed) : state_(seed) {}
    uint64_t next() {
        uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }
    // Uniform in [lo, hi).
    double uniform(double lo, double hi) { return lo + (hi - lo) * double(next() >> 11) * 0x1p-53; }
    int between(int lo, int hi) { return lo + int(next() % uint64_t(hi - lo + 1)); }
    bool chance(double p) { return uniform(0, 1) < p; }

  private:
    uint64_t state_;
};

// A pen stroke: a smooth random walk of `points` samples starting at
// (x, y), with radii between minRadius and maxRadius.
inline Stroke randomStroke(TestRandom& rnd, double x, double y, int points, double minRadius,
                           double maxRadius) {
    Stroke stroke;
    double heading = rnd.uniform(0, 6.283185307179586);
    double turn = 0;
    double radius = rnd.uniform(minRadius, maxRadius);
    for (int i = 0; i < points; ++i) {
        StrokePoint p;
        p.x = float(x);
        p.y = float(y);
        p.radius = float(radius);
        stroke.points.append(p);
        turn = 0.8 * turn + rnd.uniform(-0.12, 0.12);
        heading += turn;
        const double step = rnd.uniform(1.5, 6.0);
        x += std::cos(heading) * step;
        y += std::sin(heading) * step;
        radius = std::clamp(radius + rnd.uniform(-0.6, 0.6), minRadius, maxRadius);
    }
    return stroke;
}

// A lasso-like closed curve around (cx, cy): a wobbly ring of mean radius
// `size`, of control points (a smooth spline) or of on-curve points (a
// centre-line polygon).
inline Path randomClosedCurve(TestRandom& rnd, double cx, double cy, double size, int points,
                              bool onCurve = false) {
    Path path;
    path.startContour();
    const double a1 = rnd.uniform(0.05, 0.3), a2 = rnd.uniform(0.02, 0.15);
    const double f1 = rnd.between(2, 5), f2 = rnd.between(5, 11);
    const double phase = rnd.uniform(0, 6.3);
    for (int i = 0; i < points; ++i) {
        const double t = 6.283185307179586 * i / points;
        const double r = size * (1 + a1 * std::sin(f1 * t + phase) + a2 * std::cos(f2 * t)) +
                         rnd.uniform(-1.5, 1.5);
        path.addPoint(cx + r * std::cos(t), cy + r * std::sin(t), onCurve);
    }
    return path;
}

// Contours of random on-curve and control points scattered over a box,
// crossing each other and the box's edges.
inline Path randomMixedPath(TestRandom& rnd, double left, double top, double right, double bottom) {
    Path path;
    const int contours = rnd.between(1, 3);
    for (int c = 0; c < contours; ++c) {
        path.startContour();
        const int n = rnd.between(1, 12);
        for (int i = 0; i < n; ++i) {
            path.addPoint(rnd.uniform(left, right), rnd.uniform(top, bottom), rnd.chance(0.5));
        }
    }
    return path;
}

}  // namespace penwick::testing
