#include "model/geometry.h"

#include <cmath>
#include <utility>

namespace penwick {

float minOf(float a, float b) {
    return b < a ? b : a;
}
float maxOf(float a, float b) {
    return b > a ? b : a;
}
float minOf3(float a, float b, float c) {
    return minOf(minOf(a, b), c);
}
float maxOf3(float a, float b, float c) {
    return maxOf(maxOf(a, b), c);
}
int32_t minOfInt(int32_t a, int32_t b) {
    return b < a ? b : a;
}
int32_t maxOfInt(int32_t a, int32_t b) {
    return b > a ? b : a;
}

int32_t wrapIndex(int32_t i, int32_t n) {
    int32_t r = i % n;
    if (r < 0) r += n < 0 ? -n : n;
    return r;
}

// --- Vec2, Vec3, Vec3d ---

double Vec2::length() const {
    return std::sqrt(double(x) * x + double(y) * y);
}

Vec2 Vec2::normalized() const {
    double len = length();
    if (len > 0) return Vec2{float(x / len), float(y / len)};
    return Vec2{};
}

bool Vec2::longerThan(double d) const {
    return d * d < double(x) * x + double(y) * y;
}

Vec2 Vec2::lerp(Vec2 a, Vec2 b, double t) {
    return Vec2{float(b.x * t + a.x * (1 - t)), float(b.y * t + a.y * (1 - t))};
}

bool Vec3::equals(Vec3 a, Vec3 b) {
    return a.x == b.x && a.y == b.y && a.z == b.z;
}
bool Vec3::equalsXY(Vec3 a, Vec3 b) {
    return a.x == b.x && a.y == b.y;
}

Vec3 Vec3::reciprocal() const {
    return Vec3{float(1.0 / x), float(1.0 / y), float(1.0 / z)};
}

double Vec3::squaredLength() const {
    return double(x) * x + double(y) * y + double(z) * z;
}

bool Vec3::shorterThan(double d) const {
    return squaredLength() < d * d;
}

Vec3 Vec3::lerp(Vec3 a, Vec3 b, double t) {
    return Vec3{float(b.x * t + a.x * (1 - t)), float(b.y * t + a.y * (1 - t)),
                float(b.z * t + a.z * (1 - t))};
}

Vec3d Vec3d::cross(Vec3d a, Vec3d b) {
    return Vec3d{a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}

double Vec3d::dot(Vec3d a, Vec3d b) {
    return a.x * b.x + a.y * b.y + a.z * b.z;
}

// --- RectF ---

RectF RectF::fromCorners(Vec2 p, Vec2 q) {
    return fromCoords(p.x, p.y, q.x, q.y);
}

RectF RectF::fromCoords(double x0, double y0, double x1, double y1) {
    RectF r(static_cast<float>(x0), static_cast<float>(y0), static_cast<float>(x1),
            static_cast<float>(y1));
    if (r.left > r.right) std::swap(r.left, r.right);
    if (r.top > r.bottom) std::swap(r.top, r.bottom);
    return r;
}

bool RectF::isEmpty() const {
    return height() * width() <= 0;
}

RectF RectF::unite(const RectF& a, const RectF& b) {
    if (b.isEmpty()) return a;
    if (a.isEmpty()) return b;
    return RectF(minOf(a.left, b.left), minOf(a.top, b.top), maxOf(a.right, b.right),
                 maxOf(a.bottom, b.bottom));
}

void RectF::includePoint(Vec2 p) {
    left = minOf(left, p.x);
    top = minOf(top, p.y);
    right = maxOf(right, p.x);
    bottom = maxOf(bottom, p.y);
}

void RectF::inflate(double dx, double dy) {
    left = float(left - dx);
    top = float(top - dy);
    right = float(right + dx);
    bottom = float(bottom + dy);
}

RectF RectF::scaled(double f) const {
    return RectF(float(left * f), float(top * f), float(right * f), float(bottom * f));
}

Vec2 RectF::centre() const {
    return Vec2{float((double(left) + right) / 2), float((double(top) + bottom) / 2)};
}

bool RectF::clipSegment(Vec2& p, Vec2& q) const {
    // Half-planes (a, b, c); a point is outside when a·x + b·y + c > 0.
    const double planes[4][3] = {
        {-1, 0, left}, {1, 0, -double(right)}, {0, -1, top}, {0, 1, -double(bottom)}};
    for (const auto& h : planes) {
        double h0 = h[0] * p.x + h[1] * p.y + h[2];
        double h1 = h[0] * q.x + h[1] * q.y + h[2];
        if (h0 > 0) {
            if (h1 > 0) return false;
            double t = h0 / (h0 - h1);
            p = Vec2{float(p.x + t * (double(q.x) - p.x)), float(p.y + t * (double(q.y) - p.y))};
        } else if (h1 > 0) {
            double t = h0 / (h0 - h1);
            q = Vec2{float(p.x + t * (double(q.x) - p.x)), float(p.y + t * (double(q.y) - p.y))};
        }
    }
    return true;
}

// --- Quaternion ---

Quaternion Quaternion::fromAxisAngle(Vec3 axis, double angle) {
    double len = std::sqrt(axis.squaredLength());
    if (angle == 0 || len == 0) return Quaternion{};
    double s = std::sin(angle / 2) / len;
    return Quaternion{float(axis.x * s), float(axis.y * s), float(axis.z * s), std::cos(angle / 2)};
}

Transform3D Quaternion::toMatrix() const {
    const double qx = x, qy = y, qz = z;
    Transform3D r;
    r.col0 = {1 - 2 * qy * qy - 2 * qz * qz, 2 * qx * qy - 2 * qz * w, 2 * qx * qz + 2 * qy * w};
    r.col1 = {2 * qx * qy + 2 * qz * w, 1 - 2 * qx * qx - 2 * qz * qz, 2 * qy * qz - 2 * qx * w};
    r.col2 = {2 * qx * qz - 2 * qy * w, 2 * qy * qz + 2 * qx * w, 1 - 2 * qx * qx - 2 * qy * qy};
    r.translation = {0, 0, 0};
    return r;
}

// --- Transform3D ---

Transform3D Transform3D::identity() {
    return Transform3D{};
}

Transform3D& Transform3D::setDiagonal(double s) {
    col0 = {s, 0, 0};
    col1 = {0, s, 0};
    col2 = {0, 0, s};
    translation = {0, 0, 0};
    return *this;
}

Vec3d Transform3D::applyLinear(Vec3d v) const {
    return Vec3d{col0.x * v.x + col1.x * v.y + col2.x * v.z,
                 col0.y * v.x + col1.y * v.y + col2.y * v.z,
                 col0.z * v.x + col1.z * v.y + col2.z * v.z};
}

Vec3 Transform3D::applyLinear(Vec3 v) const {
    Vec3d r = applyLinear(Vec3d{v.x, v.y, v.z});
    return Vec3{float(r.x), float(r.y), float(r.z)};
}

Vec3d Transform3D::apply(Vec3d v) const {
    Vec3d r = applyLinear(v);
    return Vec3d{r.x + translation.x, r.y + translation.y, r.z + translation.z};
}

Vec3 Transform3D::apply(Vec3 v) const {
    Vec3d r = apply(Vec3d{v.x, v.y, v.z});
    return Vec3{float(r.x), float(r.y), float(r.z)};
}

Transform3D Transform3D::compose(const Transform3D& a, const Transform3D& b) {
    Transform3D r;
    r.col0 = a.applyLinear(b.col0);
    r.col1 = a.applyLinear(b.col1);
    r.col2 = a.applyLinear(b.col2);
    r.translation = a.apply(b.translation);
    return r;
}

Transform3D& Transform3D::thenScale(double s) {
    for (Vec3d* c : {&col0, &col1, &col2, &translation})
        *c = Vec3d{c->x * s, c->y * s, c->z * s};
    return *this;
}

Transform3D& Transform3D::thenScale(Vec3 v) {
    // Row r of M and component r of t are scaled by v[r].
    for (Vec3d* c : {&col0, &col1, &col2, &translation})
        *c = Vec3d{c->x * v.x, c->y * v.y, c->z * v.z};
    return *this;
}

Transform3D& Transform3D::thenTranslate(Vec3d d) {
    translation = Vec3d{translation.x + d.x, translation.y + d.y, translation.z + d.z};
    return *this;
}

Transform3D& Transform3D::thenRotate(double angle) {
    Transform3D rotation = Quaternion::fromAxisAngle(Vec3{0, 0, 1}, angle).toMatrix();
    *this = compose(rotation, *this);
    return *this;
}

Transform3D Transform3D::inverse() const {
    Transform3D r = *this;
    // With the columns read as the rows of A = Mᵀ, the rows of M⁻¹ are the
    // cross products of the columns divided by the determinant.
    double det = Vec3d::dot(col0, Vec3d::cross(col1, col2));
    if (det != 0) {
        Vec3d r0 = Vec3d::cross(col1, col2);
        Vec3d r1 = Vec3d::cross(col2, col0);
        Vec3d r2 = Vec3d::cross(col0, col1);
        r.col0 = {r0.x / det, r1.x / det, r2.x / det};
        r.col1 = {r0.y / det, r1.y / det, r2.y / det};
        r.col2 = {r0.z / det, r1.z / det, r2.z / det};
    }
    Vec3d t = r.applyLinear(translation);
    r.translation = {-t.x, -t.y, -t.z};
    return r;
}

double Transform3D::m(int r, int c) const {
    const Vec3d& column = c == 0 ? col0 : c == 1 ? col1 : col2;
    return r == 0 ? column.x : r == 1 ? column.y : column.z;
}

}  // namespace penwick
