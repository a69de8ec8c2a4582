#include "model/outline.h"

#include <cmath>

#include <gtest/gtest.h>

using namespace penwick;

namespace {

Stroke strokeOf(std::initializer_list<StrokePoint> points, bool closed = false) {
    Stroke s;
    for (const StrokePoint& p : points)
        s.points.append(p);
    s.closed = closed ? 1 : 0;
    return s;
}

StrokePoint pt(float x, float y, float r = 1) {
    return StrokePoint{x, y, r, 1, 0};
}

const PathPoint& point(const Path& p, int contour, int i) {
    return p.contours[contour].points[i];
}

void expectPoint(const PathPoint& p, float x, float y, int onCurve) {
    EXPECT_NEAR(p.x, x, 1e-5);
    EXPECT_NEAR(p.y, y, 1e-5);
    EXPECT_EQ(p.onCurve, onCurve);
}

}  // namespace

TEST(Outline, PointOffsetUsesNeighboursAndRadius) {
    const Stroke s = strokeOf({pt(0, 0, 2), pt(10, 0, 1), pt(10, 10, -3)});
    EXPECT_EQ(pointOffset(s, 0), (Vec2{0, 2}));  // the normal points left of the direction
    const Vec2 middle = pointOffset(s, 1);       // direction from point 0 to point 2
    EXPECT_NEAR(middle.x, -std::sqrt(0.5), 1e-6);
    EXPECT_NEAR(middle.y, std::sqrt(0.5), 1e-6);
    EXPECT_EQ(pointOffset(s, 2), (Vec2{0, 0}));  // a negative radius counts as 0
    EXPECT_EQ(pointOffset(s, -1), (Vec2{0, 0}));
    EXPECT_EQ(pointOffset(s, 3), (Vec2{0, 0}));
    EXPECT_EQ(pointOffset(strokeOf({pt(1, 1)}), 0), (Vec2{0, 0}));
    // Closed: the first point's neighbours wrap around to the last.
    const Stroke loop = strokeOf({pt(0, 0), pt(10, 0), pt(10, 10), pt(0, 10)}, true);
    const Vec2 first = pointOffset(loop, 0);  // from (0, 10) to (10, 0)
    EXPECT_NEAR(first.x, std::sqrt(0.5), 1e-6);
    EXPECT_NEAR(first.y, std::sqrt(0.5), 1e-6);
    // Neighbours at one place give no direction.
    EXPECT_EQ(pointOffset(strokeOf({pt(1, 1), pt(5, 5), pt(1, 1)}), 1), (Vec2{0, 0}));
}

TEST(Outline, EmptyAndOnePointStrokes) {
    EXPECT_TRUE(outline(Stroke{}).isEmpty());
    const Path dot = outline(strokeOf({pt(5, 5, 2)}));
    Path expected;
    expected.setEllipse(RectF(3, 3, 7, 7), 8);
    ASSERT_EQ(dot.contours.count(), 1);
    ASSERT_EQ(dot.contours[0].points.count(), 8);
    for (int i = 0; i < 8; ++i)
        EXPECT_EQ(point(dot, 0, i), point(expected, 0, i));
    const Path zero = outline(strokeOf({pt(1, 2, 0)}));
    ASSERT_EQ(zero.contours[0].points.count(), 8);
    for (const PathPoint& p : zero.contours[0].points)
        EXPECT_EQ(p, (PathPoint{1, 2, 0}));
}

TEST(Outline, TwoPointStrokeIsCapsule) {
    const Path p = outline(strokeOf({pt(0, 0), pt(10, 0, 5)}));  // the first radius is used
    ASSERT_EQ(p.contours.count(), 1);
    ASSERT_EQ(p.contours[0].points.count(), 8);
    const float xs[8] = {-0.9f, 0.9f, 9.1f, 10.9f, 10.9f, 9.1f, 0.9f, -0.9f};
    const float ys[8] = {1, 1, 1, 1, -1, -1, -1, -1};
    for (int i = 0; i < 8; ++i)
        expectPoint(point(p, 0, i), xs[i], ys[i], 0);
    EXPECT_EQ(p.bounds(), RectF(-0.9f, -1, 10.9f, 1));
}

TEST(Outline, OpenStrokeRunsTipLeftTipRight) {
    const Path p = outline(strokeOf({pt(0, 0), pt(10, 0), pt(20, 0)}));
    ASSERT_EQ(p.contours.count(), 1);
    ASSERT_EQ(p.contours[0].points.count(), 2 + 3 + 3);
    const float xs[8] = {0, 0, 10, 20, 20, 20, 10, 0};
    const float ys[8] = {0, 1, 1, 1, 0, -1, -1, -1};
    for (int i = 0; i < 8; ++i)
        expectPoint(point(p, 0, i), xs[i], ys[i], 0);
}

TEST(Outline, ClosedStrokeIsTwoOppositeContours) {
    const Stroke loop = strokeOf({pt(0, 0), pt(10, 0), pt(5, 10)}, true);
    const Path p = outline(loop);
    ASSERT_EQ(p.contours.count(), 2);
    EXPECT_EQ(p.contours[0].points.count(), 3);
    EXPECT_EQ(p.contours[1].points.count(), 3);
    // Left edge forward, then the right edge backward.
    const Vec2 o0 = pointOffset(loop, 0), o2 = pointOffset(loop, 2);
    expectPoint(point(p, 0, 0), o0.x, o0.y, 0);
    expectPoint(point(p, 1, 0), 5 - o2.x, 10 - o2.y, 0);
    // The two edges fill as a ring: the centre stays empty, the line itself is inside.
    EXPECT_EQ(p.windingAt(5, 4), 0);
    EXPECT_NE(p.windingAt(5, 0.1), 0);
}

TEST(Outline, EqualNeighboursCollapseIntoSharpCorners) {
    // Two samples at (5, 0): the left and right edges repeat there.
    const Path p = outline(strokeOf({pt(0, 0), pt(5, 0), pt(5, 0), pt(10, 0)}));
    ASSERT_EQ(p.contours[0].points.count(), 8);
    expectPoint(point(p, 0, 2), 5, 1, 1);
    expectPoint(point(p, 0, 6), 5, -1, 1);
    expectPoint(point(p, 0, 3), 10, 1, 0);

    // Radius 0: left, right and centre coincide; each run collapses into one
    // on-curve point, so the tips become sharp.
    const Path thin = outline(strokeOf({pt(0, 0, 0), pt(5, 0, 0), pt(10, 0, 0)}));
    ASSERT_EQ(thin.contours[0].points.count(), 4);
    expectPoint(point(thin, 0, 0), 5, 0, 0);
    expectPoint(point(thin, 0, 1), 10, 0, 1);
    expectPoint(point(thin, 0, 2), 5, 0, 0);
    expectPoint(point(thin, 0, 3), 0, 0, 1);
}

TEST(Outline, StrokeInOnePlaceIsADotOfItsLargestRadius) {
    Path expected;
    expected.setEllipse(RectF(0, 0, 6, 6), 8);
    for (int n : {2, 3, 5}) {
        Stroke s;
        for (int i = 0; i < n; ++i)
            s.points.append(pt(3, 3, i == 1 ? 3.f : 1.f + i * 0.1f));
        for (bool closed : {false, true}) {
            s.closed = closed;
            const Path p = outline(s);
            ASSERT_EQ(p.contours.count(), 1) << n;
            ASSERT_EQ(p.contours[0].points.count(), 8) << n;
            for (int i = 0; i < 8; ++i)
                EXPECT_EQ(point(p, 0, i), point(expected, 0, i));
            EXPECT_NE(p.windingAt(3, 3), 0);
        }
    }
    // Only the radius may change: one point elsewhere and duplicates are removed as usual.
    const Path moved = outline(strokeOf({pt(3, 3), pt(3, 3), pt(3, 3.5f)}));
    EXPECT_NE(moved.contours[0].points.count(), 8);
}

TEST(Outline, PiecesAroundEachPoint) {
    const Stroke s = strokeOf({pt(0, 0), pt(10, 0), pt(20, 0), pt(30, 0)});
    EXPECT_TRUE(outlinePiece(strokeOf({pt(0, 0)}), 0).isEmpty());
    {
        const Path first = outlinePiece(s, 0);
        ASSERT_EQ(first.contours[0].points.count(), 4);
        expectPoint(point(first, 0, 0), 0, 1, 0);
        expectPoint(point(first, 0, 1), 5, 1, 1);
        expectPoint(point(first, 0, 2), 5, -1, 1);
        expectPoint(point(first, 0, 3), 0, -1, 0);
    }
    {
        const Path middle = outlinePiece(s, 1);
        ASSERT_EQ(middle.contours[0].points.count(), 6);
        const float xs[6] = {5, 10, 15, 15, 10, 5}, ys[6] = {1, 1, 1, -1, -1, -1};
        const int on[6] = {1, 0, 1, 1, 0, 1};
        for (int i = 0; i < 6; ++i)
            expectPoint(point(middle, 0, i), xs[i], ys[i], on[i]);
    }
    {
        const Path last = outlinePiece(s, -1);  // taken cyclically: the last point
        ASSERT_EQ(last.contours[0].points.count(), 4);
        expectPoint(point(last, 0, 0), 25, 1, 1);
        expectPoint(point(last, 0, 1), 30, 1, 0);
        expectPoint(point(last, 0, 2), 30, -1, 0);
        expectPoint(point(last, 0, 3), 25, -1, 1);
    }
    const Stroke two = strokeOf({pt(0, 0), pt(4, 3)});
    const Path a = outlinePiece(two, -2), b = outlinePiece(two, 0);
    ASSERT_EQ(a.contours[0].points.count(), 4);
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(point(a, 0, i), point(b, 0, i));
}

TEST(Outline, PiecesMeetOnTheOutlineSpline) {
    const Stroke s =
        strokeOf({pt(0, 0, 1), pt(7, 3, 2), pt(12, -1, 1.5f), pt(20, 4, 1), pt(26, 0, 2)});
    const Path full = outline(s);
    const PathContour& c = full.contours[0];
    ASSERT_EQ(c.points.count(), 2 + 5 + 5);
    for (int i = 0; i + 1 < 5; ++i) {
        const Path here = outlinePiece(s, i), next = outlinePiece(s, i + 1);
        const DynArray<PathPoint>& h = here.contours[0].points;
        const DynArray<PathPoint>& n = next.contours[0].points;
        // The left end of this piece is the left start of the next one, and it
        // is the implied midpoint of two consecutive left edge controls.
        const PathPoint leftJoin = i == 0 ? h[1] : h[2];
        EXPECT_EQ(leftJoin, n[0]);
        const PathPoint& l0 = c.points[1 + i];
        const PathPoint& l1 = c.points[2 + i];
        EXPECT_FLOAT_EQ(leftJoin.x, float((double(l0.x) + l1.x) / 2));
        EXPECT_FLOAT_EQ(leftJoin.y, float((double(l0.y) + l1.y) / 2));
        const PathPoint rightJoin = i == 0 ? h[2] : h[3];
        EXPECT_EQ(rightJoin, n.last());
    }
}

TEST(Outline, GroupsAndCentreLines) {
    StrokeGroup g;
    g.strokes.append(strokeOf({pt(0, 0), pt(10, 0), pt(20, 0)}));
    g.strokes.append(Stroke{});
    g.strokes.append(strokeOf({pt(5, 5)}));
    g.strokes[2].points[0].onCurve = 0;
    const Path o = outline(g);
    ASSERT_EQ(o.contours.count(), 2);  // the empty stroke adds no contour
    EXPECT_EQ(o.contours[0].points.count(), 8);
    EXPECT_EQ(o.contours[1].points.count(), 8);

    const Path line = centreLine(g);
    ASSERT_EQ(line.contours.count(), 2);  // the empty stroke's contour is reused
    EXPECT_EQ(line.contours[0].points[2], (PathPoint{20, 0, 1}));
    EXPECT_EQ(line.contours[1].points[0], (PathPoint{5, 5, 0}));

    StrokeGroups groups;
    EXPECT_TRUE(lastStrokeOutlinePiece(groups, 0).isEmpty());
    groups.append(g);
    groups.append(StrokeGroup{});
    EXPECT_TRUE(lastStrokeOutlinePiece(groups, 0).isEmpty());
    groups.removeAt(1);
    EXPECT_TRUE(lastStrokeOutlinePiece(groups, 0).isEmpty());  // its last stroke has one point
    addPoint(groups, 9, 9, 1);
    EXPECT_EQ(lastStrokeOutlinePiece(groups, 1).contours[0].points.count(), 4);
}
