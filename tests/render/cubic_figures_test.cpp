#include "render/cubic_figures.h"

#include <gtest/gtest.h>

#include <cmath>

#include "model/outline.h"

using namespace penwick;

namespace {

CubicPoint mix(const CubicPoint& a, const CubicPoint& b, double t) {
    return {a.x + (b.x - a.x) * t, a.y + (b.y - a.y) * t};
}

// de Casteljau on the quadratic S, Q, E and on the cubic S, C1, C2, E.
CubicPoint quadraticAt(const CubicPoint& s, const CubicPoint& q, const CubicPoint& e, double t) {
    return mix(mix(s, q, t), mix(q, e, t), t);
}

CubicPoint cubicAt(const CubicPoint& s, const CubicSegment& c, double t) {
    const CubicPoint a = mix(s, c.control1, t), b = mix(c.control1, c.control2, t),
                     d = mix(c.control2, c.end, t);
    return mix(mix(a, b, t), mix(b, d, t), t);
}

// Every figure's cubic segments trace the quadratic curve of its contour
// (every point a control point, through the midpoints) at 33 places each.
void expectSameCurves(const Path& path, double scale) {
    const std::vector<CubicFigure> figures = cubicFigures(path, scale);
    size_t f = 0;
    for (int32_t c = 0; c < path.contours.count(); ++c) {
        const auto& p = path.contours[c].points;
        const int32_t n = p.count();
        if (n <= 2) continue;
        ASSERT_LT(f, figures.size());
        const CubicFigure& figure = figures[f++];
        ASSERT_EQ(figure.segments.size(), size_t(n));
        CubicPoint s{(double(p[n - 1].x) + p[0].x) / 2 * scale,
                     (double(p[n - 1].y) + p[0].y) / 2 * scale};
        EXPECT_NEAR(figure.start.x, s.x, 1e-9 * (1 + std::fabs(s.x)));
        EXPECT_NEAR(figure.start.y, s.y, 1e-9 * (1 + std::fabs(s.y)));
        s = figure.start;
        for (int32_t i = 0; i < n; ++i) {
            const PathPoint& next = p[i + 1 < n ? i + 1 : 0];
            const CubicPoint q{p[i].x * scale, p[i].y * scale};
            const CubicPoint e{(double(p[i].x) + next.x) / 2 * scale,
                               (double(p[i].y) + next.y) / 2 * scale};
            const CubicSegment& segment = figure.segments[size_t(i)];
            for (int k = 0; k <= 32; ++k) {
                const double t = k / 32.0;
                const CubicPoint want = quadraticAt(s, q, e, t);
                const CubicPoint got = cubicAt(s, segment, t);
                const double tolerance = 1e-9 * (1 + std::fabs(want.x) + std::fabs(want.y));
                ASSERT_NEAR(got.x, want.x, tolerance) << "contour " << c << " point " << i;
                ASSERT_NEAR(got.y, want.y, tolerance) << "contour " << c << " point " << i;
            }
            s = segment.end;
        }
        // The figure closes where it started.
        EXPECT_NEAR(s.x, figure.start.x, 1e-9 * (1 + std::fabs(s.x)));
        EXPECT_NEAR(s.y, figure.start.y, 1e-9 * (1 + std::fabs(s.y)));
    }
    EXPECT_EQ(f, figures.size());
}

}  // namespace

TEST(CubicFigures, ATriangleOfControlPointsBecomesThreeSegmentsThroughTheMidpoints) {
    Path path;
    path.startContour();
    path.addControl(0, 0);
    path.addControl(30, 0);
    path.addControl(0, 60);
    const std::vector<CubicFigure> figures = cubicFigures(path, 2.0);
    ASSERT_EQ(figures.size(), 1u);
    const CubicFigure& f = figures[0];
    EXPECT_EQ(f.start, (CubicPoint{0, 60}));  // 2 x midpoint of (0, 60) and (0, 0)
    ASSERT_EQ(f.segments.size(), 3u);
    // Start (0, 60), control (0, 0), end (30, 0): controls at 2/3 towards (0, 0).
    EXPECT_NEAR(f.segments[0].control1.x, 0, 1e-12);
    EXPECT_NEAR(f.segments[0].control1.y, 20, 1e-12);
    EXPECT_NEAR(f.segments[0].control2.x, 10, 1e-12);
    EXPECT_NEAR(f.segments[0].control2.y, 0, 1e-12);
    EXPECT_EQ(f.segments[0].end, (CubicPoint{30, 0}));
    EXPECT_EQ(f.segments[1].end, (CubicPoint{30, 60}));
    EXPECT_EQ(f.segments[2].end, f.start);
    expectSameCurves(path, 2.0);
}

TEST(CubicFigures, ContoursOfFewerThanThreePointsMakeNoFigure) {
    Path path;
    path.startContour();
    path.addControl(1, 1);
    path.addControl(5, 1);
    path.startContour();
    path.addControl(0, 0);
    path.addControl(8, 0);
    path.addControl(8, 8);
    path.addControl(0, 8);
    path.startContour();
    path.addControl(3, 3);
    const std::vector<CubicFigure> figures = cubicFigures(path, 1.0);
    ASSERT_EQ(figures.size(), 1u);
    EXPECT_EQ(figures[0].segments.size(), 4u);
    EXPECT_TRUE(cubicFigures(Path(), 1.0).empty());
}

TEST(CubicFigures, StrokeOutlinesAndCentreLinesAreTheSameCurvesAtEveryScale) {
    StrokeGroup group;
    for (int s = 0; s < 3; ++s) {
        Stroke stroke;
        for (int i = 0; i < 12; ++i)
            stroke.points.append({float(10 + 17 * i + s),
                                  float(40 + 25 * std::sin(i * 0.7) + 9 * s),
                                  float(1.5 + (i % 4))});
        stroke.closed = s == 2;
        group.strokes.append(stroke);
    }
    for (double scale : {1.0, 0.25, 3.0, 8.0, 1e4}) {
        SCOPED_TRACE(scale);
        expectSameCurves(outline(group), scale);
        expectSameCurves(centreLine(group), scale);
    }
}

TEST(CubicFigures, OnCurveFlagsDoNotChangeTheCurveOfTheVectorOutputs) {
    Path controls, mixed;
    controls.startContour();
    mixed.startContour();
    const float points[][2] = {{0, 0}, {20, 5}, {25, 30}, {4, 22}};
    for (int i = 0; i < 4; ++i) {
        controls.addControl(points[i][0], points[i][1]);
        mixed.addPoint(points[i][0], points[i][1], i % 2 == 0);
    }
    const auto a = cubicFigures(controls, 1.5), b = cubicFigures(mixed, 1.5);
    ASSERT_EQ(a.size(), 1u);
    ASSERT_EQ(b.size(), 1u);
    EXPECT_EQ(a[0].start, b[0].start);
    for (size_t i = 0; i < a[0].segments.size(); ++i) {
        EXPECT_EQ(a[0].segments[i].control1, b[0].segments[i].control1);
        EXPECT_EQ(a[0].segments[i].control2, b[0].segments[i].control2);
        EXPECT_EQ(a[0].segments[i].end, b[0].segments[i].end);
    }
}
