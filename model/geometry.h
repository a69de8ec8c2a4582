// The small value types the sketch model rests on: float vectors, a double
// vector, a float rectangle, a rotation quaternion and the affine transform.
//
// Sketch space is (x, y, radius): every transform maps the radius together
// with the position, so scaling a drawing also scales its line widths. The
// third coordinate is called z here.
//
// Arithmetic is done in double; results stored into float fields are rounded
// to float at the store.
#pragma once

#include <cstdint>

namespace penwick {

float minOf(float a, float b);
float maxOf(float a, float b);
float minOf3(float a, float b, float c);
float maxOf3(float a, float b, float c);
int32_t minOfInt(int32_t a, int32_t b);
int32_t maxOfInt(int32_t a, int32_t b);

// i mod n made non-negative; all cyclic indexing of closed strokes and
// contours goes through it.
int32_t wrapIndex(int32_t i, int32_t n);

struct Vec2 {
    float x = 0;
    float y = 0;

    double length() const;
    // (0, 0) for a zero vector; never divides by zero.
    Vec2 normalized() const;
    bool longerThan(double d) const;
    static Vec2 lerp(Vec2 a, Vec2 b, double t);

    friend bool operator==(Vec2, Vec2) = default;
};

struct Vec3 {
    float x = 0;
    float y = 0;
    float z = 0;

    static bool equals(Vec3 a, Vec3 b);
    static bool equalsXY(Vec3 a, Vec3 b);
    Vec3 reciprocal() const;
    double squaredLength() const;
    bool shorterThan(double d) const;
    static Vec3 lerp(Vec3 a, Vec3 b, double t);

    friend bool operator==(Vec3, Vec3) = default;
};

struct Vec3d {
    double x = 0;
    double y = 0;
    double z = 0;

    static Vec3d cross(Vec3d a, Vec3d b);
    static double dot(Vec3d a, Vec3d b);

    friend bool operator==(Vec3d, Vec3d) = default;
};

struct RectF {
    float left = 0;
    float top = 0;
    float right = 1;
    float bottom = 1;

    // The default rectangle is the unit square.
    RectF() = default;
    RectF(float l, float t, float r, float b) : left(l), top(t), right(r), bottom(b) {}

    // The empty rectangle (0, 0, 0, 0) from which bounds of collections start.
    static RectF emptyRect() { return RectF(0, 0, 0, 0); }

    // Both normalise: left <= right, top <= bottom.
    static RectF fromCorners(Vec2 p, Vec2 q);
    static RectF fromCoords(double x0, double y0, double x1, double y1);

    double width() const { return double(right) - double(left); }
    double height() const { return double(bottom) - double(top); }
    bool isEmpty() const;
    // An empty member never widens the result; two empty rectangles give a.
    static RectF unite(const RectF& a, const RectF& b);
    // Widens to contain p, with no empty test.
    void includePoint(Vec2 p);
    void inflate(double dx, double dy);
    void inflate(double d) { inflate(d, d); }
    RectF scaled(double f) const;
    Vec2 centre() const;
    // Clips the segment p-q in place; false when it lies wholly outside (the
    // points are then left as clipped so far).
    bool clipSegment(Vec2& p, Vec2& q) const;

    friend bool operator==(const RectF&, const RectF&) = default;
};

struct Transform3D;

struct Quaternion {
    float x = 0;
    float y = 0;
    float z = 0;
    double w = 1;

    static Quaternion fromAxisAngle(Vec3 axis, double angle);
    // The rotation as a transform without translation.
    Transform3D toMatrix() const;
};

// An affine map of (x, y, radius): M·v + t. The twelve doubles are stored
// column by column and then the translation, because the transform is
// written raw into sketch files.
struct Transform3D {
    Vec3d col0{1, 0, 0};  // image of the unit x axis: m00, m10, m20
    Vec3d col1{0, 1, 0};  // m01, m11, m21
    Vec3d col2{0, 0, 1};  // m02, m12, m22
    Vec3d translation{0, 0, 0};

    static Transform3D identity();
    Transform3D& setDiagonal(double s);

    Vec3 apply(Vec3 v) const;
    Vec3d apply(Vec3d v) const;
    Vec3 applyLinear(Vec3 v) const;
    Vec3d applyLinear(Vec3d v) const;

    // The transform that applies b first and then a.
    static Transform3D compose(const Transform3D& a, const Transform3D& b);

    // The "then" steps apply after the existing transform, in output space.
    Transform3D& thenScale(double s);
    Transform3D& thenScale(Vec3 v);
    Transform3D& thenTranslate(Vec3d d);
    // A positive angle turns the unit x axis towards negative y.
    Transform3D& thenRotate(double angle);

    // A singular linear part is kept as it is; the translation becomes -(M·t).
    Transform3D inverse() const;

    // Element at row r, column c of the linear part (0..2 each).
    double m(int r, int c) const;

    friend bool operator==(const Transform3D&, const Transform3D&) = default;
};

static_assert(sizeof(Transform3D) == 96, "a transform is twelve doubles on file");

}  // namespace penwick
