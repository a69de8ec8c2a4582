#include <algorithm>
#include <cmath>
#include <random>
#include <vector>

#include <gtest/gtest.h>

#include "model/outline.h"
#include "model/path.h"

using namespace penwick;

namespace {

struct Pt {
    double x, y;
};

// Flattens one contour by the curve convention (two consecutive off-curve
// points imply an on-curve midpoint) into a fine polygon.
std::vector<Pt> flatten(const PathContour& c) {
    const int n = c.points.count();
    std::vector<Pt> out;
    auto at = [&](int i) { return Pt{c.points[wrapIndex(i, n)].x, c.points[wrapIndex(i, n)].y}; };
    auto on = [&](int i) { return c.points[wrapIndex(i, n)].onCurve != 0; };
    auto mid = [](Pt a, Pt b) { return Pt{(a.x + b.x) / 2, (a.y + b.y) / 2}; };
    for (int i = 0; i < n; ++i) {
        if (on(i)) {
            out.push_back(at(i));
            continue;
        }
        const Pt s = on(i - 1) ? at(i - 1) : mid(at(i - 1), at(i));
        const Pt e = on(i + 1) ? at(i + 1) : mid(at(i), at(i + 1));
        const Pt k = at(i);
        for (int j = 0; j < 64; ++j) {
            const double t = j / 64.0;
            out.push_back(Pt{(1 - t) * (1 - t) * s.x + 2 * t * (1 - t) * k.x + t * t * e.x,
                             (1 - t) * (1 - t) * s.y + 2 * t * (1 - t) * k.y + t * t * e.y});
        }
        if (on(i + 1)) continue;
        out.push_back(e);
    }
    return out;
}

// Non-zero winding of the flattened path, and the distance to its edges.
int referenceWinding(const std::vector<std::vector<Pt>>& polys, double x, double y,
                     double& nearest) {
    int w = 0;
    nearest = 1e300;
    for (const auto& poly : polys) {
        for (size_t i = 0; i < poly.size(); ++i) {
            const Pt a = poly[i], b = poly[(i + 1) % poly.size()];
            const double dx = b.x - a.x, dy = b.y - a.y;
            const double len2 = dx * dx + dy * dy;
            double t = len2 > 0 ? ((x - a.x) * dx + (y - a.y) * dy) / len2 : 0;
            t = std::clamp(t, 0.0, 1.0);
            nearest = std::min(nearest, std::hypot(a.x + t * dx - x, a.y + t * dy - y));
            if (a.y <= y && b.y > y && (b.x - a.x) * (y - a.y) - (x - a.x) * (b.y - a.y) > 0) ++w;
            if (a.y > y && b.y <= y && (b.x - a.x) * (y - a.y) - (x - a.x) * (b.y - a.y) < 0) --w;
        }
    }
    return w;
}

void expectAgreesWithFlattened(const Path& path, uint32_t seed) {
    std::vector<std::vector<Pt>> polys;
    for (const PathContour& c : path.contours)
        polys.push_back(flatten(c));
    RectF box = path.bounds();
    box.inflate(2);
    std::mt19937 rnd(seed);
    std::uniform_real_distribution<double> ux(box.left, box.right), uy(box.top, box.bottom);
    int checked = 0;
    for (int i = 0; i < 4000; ++i) {
        const double x = ux(rnd), y = uy(rnd);
        double nearest;
        const int expected = referenceWinding(polys, x, y, nearest);
        if (nearest < 0.02) continue;  // too close to the curve for the fine polygon to decide
        ++checked;
        ASSERT_EQ(path.windingAt(x, y) != 0, expected != 0) << "at " << x << ", " << y;
    }
    EXPECT_GT(checked, 3000);
}

Path square(bool clockwise) {
    Path p;
    const float xs[4] = {0, 10, 10, 0}, ys[4] = {0, 0, 10, 10};
    for (int i = 0; i < 4; ++i) {
        const int j = clockwise ? i : 3 - i;
        p.addOnCurve(xs[j], ys[j]);
    }
    return p;
}

}  // namespace

TEST(Winding, StraightContours) {
    for (bool cw : {true, false}) {
        const Path sq = square(cw);
        EXPECT_EQ(std::abs(sq.windingAt(5, 5)), 1);
        EXPECT_EQ(sq.windingAt(15, 5), 0);
        EXPECT_EQ(sq.windingAt(5, -1), 0);
        EXPECT_EQ(sq.windingAt(-0.5, 5), 0);
    }
    EXPECT_EQ(square(true).windingAt(5, 5), -square(false).windingAt(5, 5));
    Path two;  // a contour of 2 points never counts
    two.addOnCurve(0, 0);
    two.addOnCurve(10, 10);
    EXPECT_EQ(two.windingAt(5, 4), 0);
    Path doubled = square(true);  // two overlapping contours add up
    doubled.appendPath(square(true));
    EXPECT_EQ(std::abs(doubled.windingAt(5, 5)), 2);
    Path ring = square(true);  // opposite directions cancel
    ring.appendPath(square(false));
    EXPECT_EQ(ring.windingAt(5, 5), 0);
}

TEST(Winding, CurvesCountTheCurveNotTheControlPolygon) {
    Path circle;
    circle.setEllipse(RectF(-10, -10, 10, 10), 8);
    // The control point on the x axis is at 10.79; the curve passes at 10.
    EXPECT_NE(circle.windingAt(0, 0), 0);
    EXPECT_NE(circle.windingAt(9.9, 0), 0);
    EXPECT_EQ(circle.windingAt(10.3, 0.01), 0);
    EXPECT_EQ(circle.windingAt(-10.3, 0.01), 0);
    EXPECT_EQ(circle.windingAt(0.01, 10.3), 0);
    EXPECT_EQ(circle.windingAt(11, 0), 0);
    Path reversed = circle;
    reversed.reverse();
    EXPECT_EQ(reversed.windingAt(0, 0), -circle.windingAt(0, 0));
    EXPECT_EQ(reversed.windingAt(10.3, 0.01), 0);
}

TEST(Winding, AgreesWithAFinelyFlattenedOutline) {
    Path circle;
    circle.setEllipse(RectF(-10, -4, 10, 4), 7);
    expectAgreesWithFlattened(circle, 0x1234);

    Stroke wave;  // an open stroke outline, curves with on-curve corners
    const float ys[] = {0, 3, 1, 1, 4, 2};
    for (int i = 0; i < 6; ++i)
        wave.points.append(StrokePoint{float(i * 6), ys[i], 1.5f});
    const Path outlined = outline(wave);
    ASSERT_EQ(outlined.contours.count(), 1);
    expectAgreesWithFlattened(outlined, 0x5678);

    Path mixed;  // on-curve and off-curve points mixed by hand
    mixed.addOnCurve(0, 0);
    mixed.addControl(10, -5);
    mixed.addOnCurve(20, 0);
    mixed.addControl(25, 10);
    mixed.addControl(15, 20);
    mixed.addOnCurve(0, 15);
    expectAgreesWithFlattened(mixed, 0x9abc);
}
