#include <cmath>
#include <numbers>

#include <gtest/gtest.h>

#include "model/path.h"

using namespace penwick;

namespace {

Path square() {
    Path p;
    p.addOnCurve(0, 0);
    p.addOnCurve(10, 0);
    p.addOnCurve(10, 10);
    p.addOnCurve(0, 10);
    return p;
}

}  // namespace

TEST(Offset, MitredCorners) {
    Path p = square();
    p.offsetContours(1, 2, false);
    ASSERT_EQ(p.contours[0].points.count(), 4);
    EXPECT_EQ(p.contours[0].points[0], (PathPoint{-1, -2, 1}));
    EXPECT_EQ(p.contours[0].points[1], (PathPoint{11, -2, 1}));
    EXPECT_EQ(p.contours[0].points[2], (PathPoint{11, 12, 1}));
    EXPECT_EQ(p.contours[0].points[3], (PathPoint{-1, 12, 1}));

    Path inward = square();
    inward.offsetContours(-1, -1, true);  // round joins only for a positive offset
    ASSERT_EQ(inward.contours[0].points.count(), 4);
    EXPECT_EQ(inward.contours[0].points[0], (PathPoint{1, 1, 1}));
}

TEST(Offset, RoundJoinsOnConvexCorners) {
    Path p = square();
    p.offsetContours(1, 1, true);
    ASSERT_EQ(p.contours[0].points.count(), 12);
    EXPECT_EQ(p.contours[0].points[0], (PathPoint{-1, 0, 1}));
    EXPECT_EQ(p.contours[0].points[1], (PathPoint{-1, -1, 0}));
    EXPECT_EQ(p.contours[0].points[2], (PathPoint{0, -1, 1}));

    Path reversed = square();  // the same corners turn the other way: mitres inwards
    reversed.reverse();
    reversed.offsetContours(1, 1, true);
    EXPECT_EQ(reversed.contours[0].points.count(), 4);
}

TEST(Offset, DegenerateInputIsLeftAlone) {
    Path p = square();
    p.offsetContours(0, 0, true);
    EXPECT_EQ(p.contours[0].points[1], (PathPoint{10, 0, 1}));
    Path one;
    one.addOnCurve(3, 3);
    one.offsetContours(1, 1, false);
    EXPECT_EQ(one.contours[0].points[0], (PathPoint{3, 3, 1}));

    // A contour that turns straight back has no mitre; its points stay finite.
    Path spike;
    spike.addOnCurve(0, 0);
    spike.addOnCurve(10, 0);
    spike.offsetContours(1, 1, false);
    for (const PathPoint& q : spike.contours[0].points) {
        EXPECT_TRUE(std::isfinite(q.x) && std::isfinite(q.y));
    }
    // Control points with a zero edge on either side are dropped.
    Path repeated;
    repeated.addControl(0, 0);
    repeated.addControl(0, 0);
    repeated.addControl(5, 0);
    repeated.addControl(0, 5);
    repeated.offsetContours(1, 1, false);
    EXPECT_EQ(repeated.contours[0].points.count(), 2);
}

TEST(Offset, ControlPointsOfACircleMoveOutByTheOffset) {
    Path circle;
    circle.setEllipse(RectF(-10, -10, 10, 10), 8);
    const double before =
        std::hypot(circle.contours[0].points[0].x, circle.contours[0].points[0].y);
    circle.offsetContours(1, 1, true);
    ASSERT_EQ(circle.contours[0].points.count(), 8);
    for (const PathPoint& q : circle.contours[0].points) {
        EXPECT_EQ(q.onCurve, 0);
        // A regular octagon's edges move out by 1 when its corners move by 1/cos(π/8).
        EXPECT_NEAR(std::hypot(q.x, q.y), before + 1 / std::cos(std::numbers::pi / 8), 1e-4);
    }
}

TEST(Offset, StrokedCircleIsARing) {
    Path ring;
    ring.setEllipse(RectF(-10, -10, 10, 10), 8);
    ring.strokeOutline(4, 4, true);
    ASSERT_EQ(ring.contours.count(), 2);
    EXPECT_EQ(ring.contours[0].points.count(), 8);
    EXPECT_EQ(ring.contours[1].points.count(), 8);
    EXPECT_EQ(ring.windingAt(0, 0), 0);
    EXPECT_NE(ring.windingAt(10, 0.01), 0);
    EXPECT_NE(ring.windingAt(0.01, -11.5), 0);
    EXPECT_NE(ring.windingAt(-8.5, 0.01), 0);
    EXPECT_EQ(ring.windingAt(7.5, 0.01), 0);
    EXPECT_EQ(ring.windingAt(12.5, 0.01), 0);
    // Only the contours present at the start are stroked.
    Path two;
    two.setEllipse(RectF(0, 0, 4, 4), 8);
    two.appendPath(ring);
    two.strokeOutline(1, 1, false);
    EXPECT_EQ(two.contours.count(), 6);
}
