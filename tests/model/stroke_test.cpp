#include "model/stroke.h"

#include <gtest/gtest.h>

using namespace penwick;

namespace {

StrokeGroups groupsOf(std::initializer_list<std::initializer_list<int>> strokesPerGroup) {
    // Each inner number is a stroke with that many points.
    StrokeGroups groups;
    int x = 0;
    for (auto strokes : strokesPerGroup) {
        StrokeGroup g;
        for (int n : strokes) {
            Stroke s;
            for (int i = 0; i < n; ++i)
                s.points.append(StrokePoint{float(x++), 0, 1});
            g.strokes.append(s);
        }
        groups.append(g);
    }
    return groups;
}

}  // namespace

TEST(StrokePoint, LayoutAndNewValues) {
    StrokePoint p;
    EXPECT_EQ(p.onCurve, 1);
    EXPECT_EQ(p.selected, 0);
    EXPECT_EQ(offsetof(StrokePoint, radius), 8u);
    EXPECT_EQ(offsetof(StrokePoint, onCurve), 12u);
    EXPECT_EQ(offsetof(StrokePoint, selected), 13u);
    Stroke s;
    EXPECT_EQ(s.closed, 0);
    EXPECT_EQ(s.selected, 0);
    EXPECT_TRUE(s.points.isEmpty());
}

TEST(Strokes, AddPointCreatesGroupAndStroke) {
    StrokeGroups groups;
    EXPECT_EQ(addPoint(groups, 1, 2, 3), 0);
    ASSERT_EQ(groups.count(), 1);
    ASSERT_EQ(groups[0].strokes.count(), 1);
    EXPECT_EQ(groups[0].strokes[0].points[0], (StrokePoint{1, 2, 3, 1, 0}));
    EXPECT_EQ(addPoint(groups, 4, 5, 6), 1);

    startGroup(groups);
    startGroup(groups);  // an empty group is reused
    EXPECT_EQ(groups.count(), 2);
    EXPECT_EQ(addPoint(groups, 7, 8, 9), 0);  // the empty group gets its first stroke
    EXPECT_EQ(groups[1].strokes.count(), 1);

    startStroke(groups);
    startStroke(groups);  // an empty stroke is reused
    EXPECT_EQ(groups[1].strokes.count(), 2);
    EXPECT_EQ(addPoint(groups, 1, 1, 1), 0);
    EXPECT_EQ(groups[1].strokes[1].points.count(), 1);
}

TEST(Strokes, StartOperationsOnEmptyGroupsDoNothing) {
    StrokeGroups groups;
    startStroke(groups);
    startGroup(groups);
    EXPECT_EQ(groups.count(), 0);
    groups.append(StrokeGroup{});
    startStroke(groups);  // no stroke to end yet
    startGroup(groups);   // the last group holds no stroke yet
    EXPECT_EQ(groups.count(), 1);
    EXPECT_EQ(groups[0].strokes.count(), 0);
}

TEST(Strokes, RemoveLastPoint) {
    StrokeGroups groups;
    removeLastPoint(groups);  // nothing to remove
    addPoint(groups, 1, 1, 1);
    addPoint(groups, 2, 2, 1);
    startStroke(groups);
    removeLastPoint(groups);  // the last stroke is empty: nothing changes
    EXPECT_EQ(groups[0].strokes.count(), 2);
    EXPECT_EQ(groups[0].strokes[0].points.count(), 2);
    EXPECT_EQ(groups[0].strokes[1].points.count(), 0);
    groups[0].strokes.removeAt(1);
    removeLastPoint(groups);
    EXPECT_EQ(groups[0].strokes[0].points.count(), 1);
    EXPECT_EQ(groups[0].strokes[0].points[0].x, 1);
}

TEST(Strokes, PruneRemovesEmptyStrokesThenEmptyGroups) {
    StrokeGroups groups = groupsOf({{0}, {2, 0, 1}, {}, {0, 0}});
    EXPECT_TRUE(prune(groups));
    ASSERT_EQ(groups.count(), 1);
    ASSERT_EQ(groups[0].strokes.count(), 2);
    EXPECT_EQ(groups[0].strokes[0].points.count(), 2);
    EXPECT_EQ(groups[0].strokes[1].points.count(), 1);
    EXPECT_EQ(groups[0].strokes[1].points[0].x, 2);  // order kept

    StrokeGroups empty = groupsOf({{0}});
    EXPECT_FALSE(prune(empty));
    EXPECT_EQ(empty.count(), 0);
}

TEST(Strokes, TransformPointsKeepsFlags) {
    StrokeGroups groups;
    addPoint(groups, 1, 2, 3);
    groups[0].strokes[0].points[0].onCurve = 0;
    groups[0].strokes[0].points[0].selected = 1;
    Transform3D t;
    t.thenScale(2).thenTranslate(Vec3d{1, 0, 0.5});
    transformPoints(groups, t);
    EXPECT_EQ(groups[0].strokes[0].points[0], (StrokePoint{3, 4, 6.5f, 0, 1}));
}

TEST(Strokes, BoundsCoverEveryDisc) {
    StrokeGroups groups;
    EXPECT_EQ(bounds(groups), RectF::emptyRect());
    groups.append(StrokeGroup{});
    EXPECT_EQ(bounds(groups), RectF::emptyRect());
    addPoint(groups, 2, 3, 1);
    EXPECT_EQ(bounds(groups), RectF(1, 2, 3, 4));
    startGroup(groups);
    addPoint(groups, 10, 0, 0.5);
    EXPECT_EQ(bounds(groups), RectF(1, -0.5f, 10.5f, 4));
    Transform3D t;
    t.thenScale(2);
    EXPECT_EQ(bounds(groups, &t), RectF(2, -1, 21, 8));
}

TEST(Strokes, SampleRadius) {
    EXPECT_EQ(tabletPressure(512, true), 0.5);
    EXPECT_EQ(tabletPressure(1000, false), 0.5);
    EXPECT_FALSE(tabletSampleRadius(0, 10).has_value());
    EXPECT_DOUBLE_EQ(tabletSampleRadius(0.45, 10).value(), 5);
    EXPECT_EQ(mouseSampleRadius(8), 4);
}
