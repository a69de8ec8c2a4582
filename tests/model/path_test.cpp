#include "model/path.h"

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
