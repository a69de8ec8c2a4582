#include "model/geometry.h"

#include <cmath>
#include <cstring>
#include <numbers>

#include <gtest/gtest.h>

using namespace penwick;

namespace {

void expectNear(Vec3 a, Vec3 b, double eps = 1e-5) {
    EXPECT_NEAR(a.x, b.x, eps);
    EXPECT_NEAR(a.y, b.y, eps);
    EXPECT_NEAR(a.z, b.z, eps);
}

Transform3D skewed() {
    Transform3D t;
    t.col0 = {2, 0.5, 0};
    t.col1 = {-1, 3, 0.25};
    t.col2 = {0, 0, 1.5};
    t.translation = {4, -7, 0.5};
    return t;
}

}  // namespace

TEST(Geometry, WrapIndexIsNonNegative) {
    EXPECT_EQ(wrapIndex(-1, 5), 4);
    EXPECT_EQ(wrapIndex(7, 5), 2);
    EXPECT_EQ(wrapIndex(-5, 5), 0);
    EXPECT_EQ(wrapIndex(-6, 5), 4);
    EXPECT_EQ(wrapIndex(3, 5), 3);
    EXPECT_EQ(wrapIndex(-1, -5), 4);
}

TEST(Geometry, VectorHelpers) {
    EXPECT_EQ(Vec2{}.normalized(), (Vec2{0, 0}));
    Vec2 n = Vec2{3, 4}.normalized();
    EXPECT_FLOAT_EQ(n.x, 0.6f);
    EXPECT_FLOAT_EQ(n.y, 0.8f);
    EXPECT_TRUE((Vec2{3, 4}.longerThan(4.99)));
    EXPECT_FALSE((Vec2{3, 4}.longerThan(5)));
    EXPECT_EQ(Vec2::lerp(Vec2{0, 10}, Vec2{10, 20}, 0.25), (Vec2{2.5f, 12.5f}));
    EXPECT_EQ(Vec3::lerp(Vec3{0, 0, 1}, Vec3{4, 4, 3}, 0.5), (Vec3{2, 2, 2}));
    EXPECT_TRUE(Vec3::equalsXY(Vec3{1, 2, 3}, Vec3{1, 2, 9}));
    EXPECT_FALSE(Vec3::equals(Vec3{1, 2, 3}, Vec3{1, 2, 9}));
    EXPECT_TRUE((Vec3{1, 2, 2}.shorterThan(3.01)));
    EXPECT_FALSE((Vec3{1, 2, 2}.shorterThan(3)));
    EXPECT_EQ(Vec3d::cross(Vec3d{1, 0, 0}, Vec3d{0, 1, 0}), (Vec3d{0, 0, 1}));
    EXPECT_EQ(minOf3(3, -1, 2), -1);
    EXPECT_EQ(maxOf3(3, -1, 2), 3);
}

TEST(Rect, EmptyRectanglesNeverWidenAUnion) {
    RectF a(1, 1, 3, 4);
    RectF empty = RectF::emptyRect();
    EXPECT_TRUE(empty.isEmpty());
    EXPECT_TRUE(RectF(5, 5, 9, 5).isEmpty());  // zero height
    EXPECT_FALSE(RectF().isEmpty());           // the default is the unit square
    EXPECT_EQ(RectF::unite(empty, a), a);
    EXPECT_EQ(RectF::unite(a, empty), a);
    RectF otherEmpty(7, 7, 7, 9);
    EXPECT_EQ(RectF::unite(otherEmpty, empty), otherEmpty);
    EXPECT_EQ(RectF::unite(a, RectF(0, 2, 2, 6)), RectF(0, 1, 3, 6));
}

TEST(Rect, ConstructionNormalisesAndHelpersWork) {
    EXPECT_EQ(RectF::fromCoords(5, 6, 1, 2), RectF(1, 2, 5, 6));
    EXPECT_EQ(RectF::fromCorners(Vec2{3, -1}, Vec2{-3, 1}), RectF(-3, -1, 3, 1));
    RectF r(0, 0, 4, 2);
    r.inflate(1, 0.5);
    EXPECT_EQ(r, RectF(-1, -0.5f, 5, 2.5f));
    EXPECT_EQ(r.centre(), (Vec2{2, 1}));
    EXPECT_EQ(RectF(1, 2, 3, 4).scaled(2), RectF(2, 4, 6, 8));
    RectF grown(0, 0, 0, 0);
    grown.includePoint(Vec2{-2, 3});
    EXPECT_EQ(grown, RectF(-2, 0, 0, 3));
}

TEST(Rect, ClipSegment) {
    RectF r(0, 0, 10, 10);
    {  // crossing the whole rectangle gives the two border points
        Vec2 p{-5, 5}, q{15, 5};
        EXPECT_TRUE(r.clipSegment(p, q));
        EXPECT_EQ(p, (Vec2{0, 5}));
        EXPECT_EQ(q, (Vec2{10, 5}));
    }
    {  // a diagonal through two corners
        Vec2 p{-2, -2}, q{12, 12};
        EXPECT_TRUE(r.clipSegment(p, q));
        EXPECT_EQ(p, (Vec2{0, 0}));
        EXPECT_EQ(q, (Vec2{10, 10}));
    }
    {  // wholly to the left
        Vec2 p{-5, 1}, q{-1, 2};
        EXPECT_FALSE(r.clipSegment(p, q));
        EXPECT_EQ(p, (Vec2{-5, 1}));
    }
    {  // clipped on the left, then found wholly below: keeps what was clipped so far
        Vec2 p{-10, 20}, q{5, 30};
        EXPECT_FALSE(r.clipSegment(p, q));
        EXPECT_EQ(p.x, 0);
    }
    {  // inside stays unchanged
        Vec2 p{1, 2}, q{3, 4};
        EXPECT_TRUE(r.clipSegment(p, q));
        EXPECT_EQ(p, (Vec2{1, 2}));
        EXPECT_EQ(q, (Vec2{3, 4}));
    }
}

TEST(Transform, StorageIsTwelveDoublesColumnsThenTranslation) {
    Transform3D t = skewed();
    double raw[12];
    std::memcpy(raw, &t, sizeof raw);
    const double expected[12] = {2, 0.5, 0, -1, 3, 0.25, 0, 0, 1.5, 4, -7, 0.5};
    for (int i = 0; i < 12; ++i)
        EXPECT_EQ(raw[i], expected[i]) << i;
    EXPECT_EQ(t.m(0, 1), -1);  // row 0, column 1
    EXPECT_EQ(t.m(2, 1), 0.25);
}

TEST(Transform, ApplyMapsRadiusWithPosition) {
    Transform3D t = skewed();
    // x' = 2·1 - 1·2 + 0 + 4, y' = 0.5·1 + 3·2 - 7, z' = 0.25·2 + 1.5·3 + 0.5
    EXPECT_EQ(t.apply(Vec3{1, 2, 3}), (Vec3{4, -0.5f, 5.5f}));
    EXPECT_EQ(t.applyLinear(Vec3{1, 2, 3}), (Vec3{0, 6.5f, 5}));
    Transform3D s;
    s.thenScale(2);
    EXPECT_EQ(s.apply(Vec3{1, 2, 3}), (Vec3{2, 4, 6}));  // radii double too
}

TEST(Transform, ComposeAppliesSecondArgumentFirst) {
    Transform3D scale;
    scale.thenScale(2);
    Transform3D move;
    move.thenTranslate(Vec3d{10, 0, 0});
    // Scale, then move.
    EXPECT_EQ(Transform3D::compose(move, scale).apply(Vec3{1, 1, 1}), (Vec3{12, 2, 2}));
    // Move, then scale.
    EXPECT_EQ(Transform3D::compose(scale, move).apply(Vec3{1, 1, 1}), (Vec3{22, 2, 2}));
    // compose agrees with applying one after the other.
    Transform3D a = skewed(), b = skewed().inverse();
    b.thenRotate(0.3).thenTranslate(Vec3d{1, 2, 3});
    Vec3 v{0.5f, -2, 1};
    expectNear(Transform3D::compose(a, b).apply(v), a.apply(b.apply(v)));
}

TEST(Transform, ThenStepsApplyAfterTheExistingTransform) {
    Transform3D t;
    t.thenTranslate(Vec3d{1, 0, 0}).thenScale(3);
    EXPECT_EQ(t.apply(Vec3{1, 1, 1}), (Vec3{6, 3, 3}));
    Transform3D u;
    u.thenScale(3).thenTranslate(Vec3d{1, 0, 0});
    EXPECT_EQ(u.apply(Vec3{1, 1, 1}), (Vec3{4, 3, 3}));
    Transform3D rows;
    rows.thenTranslate(Vec3d{1, 1, 1}).thenScale(Vec3{2, 3, 4});
    EXPECT_EQ(rows.apply(Vec3{1, 1, 1}), (Vec3{4, 6, 8}));
}

TEST(Transform, PositiveRotationTurnsXAxisTowardsNegativeY) {
    Transform3D r;
    r.thenRotate(std::numbers::pi / 2);
    expectNear(r.apply(Vec3{1, 0, 2}), Vec3{0, -1, 2});
    expectNear(r.apply(Vec3{0, 1, 0}), Vec3{1, 0, 0});
    Transform3D moved;
    moved.thenTranslate(Vec3d{1, 0, 0})
        .thenRotate(std::numbers::pi / 2);  // the translation turns too
    expectNear(moved.apply(Vec3{0, 0, 0}), Vec3{0, -1, 0});
    Transform3D none;
    none.thenRotate(0);
    EXPECT_EQ(none, Transform3D::identity());
}

TEST(Transform, InverseUndoesTheTransform) {
    Transform3D t = skewed();
    t.thenRotate(0.7);
    Transform3D round = Transform3D::compose(t.inverse(), t);
    for (int r = 0; r < 3; ++r)
        for (int c = 0; c < 3; ++c)
            EXPECT_NEAR(round.m(r, c), r == c ? 1 : 0, 1e-12);
    EXPECT_NEAR(round.translation.x, 0, 1e-12);
    EXPECT_NEAR(round.translation.y, 0, 1e-12);
    EXPECT_NEAR(round.translation.z, 0, 1e-12);
    expectNear(t.inverse().apply(t.apply(Vec3{3, -4, 0.5f})), Vec3{3, -4, 0.5f});
}

TEST(Transform, InverseOfSingularKeepsLinearPart) {
    Transform3D t;
    t.col0 = {1, 2, 0};
    t.col1 = {2, 4, 0};  // parallel to the first column
    t.col2 = {0, 0, 1};
    t.translation = {1, 1, 2};
    Transform3D inv = t.inverse();
    EXPECT_EQ(inv.col0, t.col0);
    EXPECT_EQ(inv.col1, t.col1);
    EXPECT_EQ(inv.col2, t.col2);
    // t = -(M·t) = -(1 + 2, 2 + 4, 2)
    EXPECT_EQ(inv.translation, (Vec3d{-3, -6, -2}));
    Transform3D zero;
    zero.setDiagonal(0);
    zero.translation = {5, 5, 5};
    EXPECT_EQ(zero.inverse().translation, (Vec3d{0, 0, 0}));
}

TEST(Quaternion, AxisAngle) {
    Quaternion q = Quaternion::fromAxisAngle(Vec3{0, 0, 0}, 1);
    EXPECT_EQ(q.w, 1);
    EXPECT_EQ(q.z, 0);
    q = Quaternion::fromAxisAngle(Vec3{0, 0, 2}, 0);
    EXPECT_EQ(q.w, 1);
    q = Quaternion::fromAxisAngle(Vec3{0, 0, 2}, std::numbers::pi);  // the axis is normalised
    EXPECT_FLOAT_EQ(q.z, 1);
    EXPECT_NEAR(q.w, 0, 1e-12);
    Transform3D m = Quaternion::fromAxisAngle(Vec3{1, 0, 0}, std::numbers::pi / 2).toMatrix();
    expectNear(m.apply(Vec3{0, 1, 0}), Vec3{0, 0, -1});
}
