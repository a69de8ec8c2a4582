#include "model/path.h"

#include <cmath>
#include <numbers>
#include <random>
#include <vector>

#include <gtest/gtest.h>

using namespace penwick;

TEST(Path, BuildingReusesAnEmptyLastContour) {
    Path p;
    p.startContour();
    p.startContour();
    EXPECT_EQ(p.contours.count(), 1);
    p.addPoint(1, 2, false);
    EXPECT_EQ(p.contours[0].points[0], (PathPoint{1, 2, 0}));
    EXPECT_TRUE(p.contours[0].closed());
    p.startContour();
    p.addPoint(3, 4, true);
    EXPECT_EQ(p.contours.count(), 2);
    EXPECT_EQ(p.contours[1].points[0].onCurve, 1);

    Path q;
    q.addPoint(5, 5, true);  // a path without contours gets one
    EXPECT_EQ(q.contours.count(), 1);
    q.appendPath(p);
    q.appendContour(p.contours[0]);
    ASSERT_EQ(q.contours.count(), 4);
    EXPECT_EQ(q.contours[3].points[0], (PathPoint{1, 2, 0}));
    EXPECT_EQ(q.pointCount(), 4);
    EXPECT_EQ(PathPoint{}.onCurve, 1);
}

TEST(Path, BoundsTranslateReverse) {
    Path p;
    EXPECT_EQ(p.bounds(), RectF::emptyRect());
    p.addPoint(1, 1, false);
    p.addPoint(4, -2, false);
    p.addPoint(2, 3, true);
    p.startContour();
    p.startContour();  // the empty contour widens nothing
    EXPECT_EQ(p.bounds(), RectF(1, -2, 4, 3));
    p.startContour();
    p.addPoint(10, 10, false);
    // A one-point contour has empty bounds and so does not count either.
    EXPECT_EQ(p.bounds(), RectF(1, -2, 4, 3));
    p.addPoint(11, 12, false);
    EXPECT_EQ(p.bounds(), RectF(1, -2, 11, 12));

    p.translate(1, -1);
    EXPECT_EQ(p.contours[0].points[0], (PathPoint{2, 0, 0}));
    p.reverse();
    EXPECT_EQ(p.contours[0].points[0], (PathPoint{3, 2, 1}));
    EXPECT_EQ(p.contours[0].points[2], (PathPoint{2, 0, 0}));
    EXPECT_EQ(p.contours[1].points[0], (PathPoint{12, 11, 0}));
}

TEST(Path, DuplicateRemovalCollapsesRunsIntoSharpCorners) {
    {  // a run in the middle: one on-curve point is left
        Path p;
        for (float x : {0.f, 1.f, 1.f, 1.f, 2.f})
            p.addPoint(x, 0, false);
        p.removeDuplicatePoints();
        ASSERT_EQ(p.contours[0].points.count(), 3);
        EXPECT_EQ(p.contours[0].points[1], (PathPoint{1, 0, 1}));
        EXPECT_EQ(p.contours[0].points[0].onCurve, 0);
        EXPECT_EQ(p.contours[0].points[2].onCurve, 0);
    }
    {  // the first point is compared with the last
        Path p;
        for (float x : {5.f, 1.f, 2.f, 5.f})
            p.addPoint(x, 0, false);
        p.removeDuplicatePoints();
        ASSERT_EQ(p.contours[0].points.count(), 3);
        EXPECT_EQ(p.contours[0].points[0], (PathPoint{1, 0, 0}));
        EXPECT_EQ(p.contours[0].points[2], (PathPoint{5, 0, 1}));
    }
    {  // equal y alone is not a duplicate; a lone point is compared with itself
        Path p;
        p.addPoint(1, 0, false);
        p.addPoint(2, 0, false);
        p.startContour();
        p.addPoint(3, 3, false);
        p.startContour();
        for (int i = 0; i < 4; ++i)
            p.addPoint(7, 7, false);
        p.removeDuplicatePoints();
        EXPECT_EQ(p.contours[0].points.count(), 2);
        EXPECT_EQ(p.contours[1].points.count(), 0);
        EXPECT_EQ(p.contours[2].points.count(), 0);
    }
}

TEST(Path, EllipseControlPolygon) {
    Path p;
    p.addPoint(100, 100, true);  // replaced
    p.setEllipse(RectF(0, 0, 20, 10), 8);
    ASSERT_EQ(p.contours.count(), 1);
    ASSERT_EQ(p.contours[0].points.count(), 8);
    const double k = 2 / (std::pow(std::cos(std::numbers::pi / 8), 2) + 1);
    EXPECT_NEAR(k, 1.079, 5e-4);
    const PathPoint& first = p.contours[0].points[0];
    EXPECT_FLOAT_EQ(first.x, float(10 + k * 10));
    EXPECT_FLOAT_EQ(first.y, 5);
    EXPECT_EQ(first.onCurve, 0);
    const PathPoint& quarter = p.contours[0].points[2];
    EXPECT_NEAR(quarter.x, 10, 1e-5);
    EXPECT_FLOAT_EQ(quarter.y, float(5 + k * 5));
    // The spline touches the ellipse at the angles of the control points and
    // runs through their midpoints just inside it.
    const double c = std::cos(std::numbers::pi / 8);
    for (int i = 0; i < 8; ++i) {
        const PathPoint& a = p.contours[0].points[i];
        const PathPoint& b = p.contours[0].points[(i + 1) % 8];
        const double mx = ((a.x + b.x) / 2 - 10) / 10, my = ((a.y + b.y) / 2 - 5) / 5;
        EXPECT_NEAR(std::hypot(mx, my), k * c, 1e-5);
        const double px = (0.25 * (a.x + b.x) / 2 + 0.5 * b.x +
                           0.25 * (b.x + p.contours[0].points[(i + 2) % 8].x) / 2 - 10) /
                          10;
        const double py = (0.25 * (a.y + b.y) / 2 + 0.5 * b.y +
                           0.25 * (b.y + p.contours[0].points[(i + 2) % 8].y) / 2 - 5) /
                          5;
        EXPECT_NEAR(std::hypot(px, py), 1, 1e-6);  // k makes the curve touch the ellipse here
        EXPECT_LT(k * c, 1);
    }

    p.setEllipse(RectF(0, 0, 2, 2), 2);  // raised to 3 segments
    EXPECT_EQ(p.contours[0].points.count(), 3);
    p.setEllipse(RectF(4, 4, 4, 4), 8);  // a zero square: eight coincident points
    for (const PathPoint& q : p.contours[0].points)
        EXPECT_EQ(q, (PathPoint{4, 4, 0}));
}

namespace {

// The walk as plainly stated: j = 0, 1, ... while j is below the current
// count; point j equal to its cyclic predecessor makes that predecessor
// on-curve and is removed, and the walk stays on j.
void removeDuplicatesByWalking(PathContour& c) {
    std::vector<PathPoint> p(c.points.begin(), c.points.end());
    size_t j = 0;
    while (j < p.size()) {
        PathPoint& before = p[j == 0 ? p.size() - 1 : j - 1];
        if (before.x == p[j].x && before.y == p[j].y) {
            before.onCurve = 1;
            p.erase(p.begin() + long(j));
        } else {
            ++j;
        }
    }
    c.points.resize(0);
    for (const PathPoint& q : p)
        c.points.append(q);
}

}  // namespace

TEST(Path, DuplicateRemovalMatchesThePlainWalk) {
    std::mt19937 rnd(0x1234);
    for (int round = 0; round < 2000; ++round) {
        // Few distinct values, so runs, wrap-around runs and all-equal contours all occur.
        const int n = int(rnd() % 9);
        const int distinct = 1 + int(rnd() % 3);
        Path fast;
        fast.startContour();
        for (int i = 0; i < n; ++i) {
            fast.addPoint(float(rnd() % distinct), 0, rnd() % 2 == 0);
        }
        Path plain = fast;
        fast.removeDuplicatePoints();
        removeDuplicatesByWalking(plain.contours[0]);
        const DynArray<PathPoint>& a = fast.contours[0].points;
        const DynArray<PathPoint>& b = plain.contours[0].points;
        ASSERT_EQ(a.count(), b.count()) << "round " << round;
        for (int i = 0; i < a.count(); ++i)
            ASSERT_EQ(a[i], b[i]) << "round " << round;
    }
}
