#include "render/svg_export.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>
#include <regex>
#include <string>
#include <vector>

#include "model/outline.h"

using namespace penwick;

namespace {

const std::string kHead =
    "<?xml version=\"1.0\" encoding=\"iso-8859-1\"?>\n"
    "<!DOCTYPE svg PUBLIC \"-//W3C//DTD SVG 1.1//EN\"  "
    "\"http://www.w3.org/Graphics/SVG/1.1/DTD/svg11.dtd\">\n"
    "<svg version='1.1' ";

Path pathOf(std::initializer_list<std::pair<float, float>> points) {
    Path p;
    p.startContour();
    for (auto [x, y] : points)
        p.addControl(x, y);
    return p;
}

std::string svgPath(const Path& p, uint32_t colour) {
    std::string out;
    appendSvgPath(out, p, colour);
    return out;
}

Stroke strokeOf(std::initializer_list<StrokePoint> points) {
    Stroke s;
    for (const StrokePoint& p : points)
        s.points.append(p);
    return s;
}

Shape shapeOf(int32_t colour, int32_t fillColour, int groups) {
    Shape s;
    s.colour = colour;
    s.fillColour = fillColour;
    for (int g = 0; g < groups; ++g) {
        StrokeGroup group;
        group.strokes.append(strokeOf({{10.0f + g, 10, 2}, {30, 20.0f + g, 3}, {40, 50, 2}}));
        s.groups.append(group);
    }
    return s;
}

// The fill colours of the path elements, in order.
std::vector<std::string> pathColours(const std::string& svg) {
    std::vector<std::string> colours;
    const std::regex element("<path d='[^']*' fill='(#[0-9A-F]{6})' stroke='none' />\n");
    for (auto it = std::sregex_iterator(svg.begin(), svg.end(), element);
         it != std::sregex_iterator(); ++it)
        colours.push_back((*it)[1]);
    return colours;
}

}  // namespace

TEST(SvgExport, EmptySketchIsPrologueViewBoxPaperAndEnd) {
    const Sketch sketch;
    EXPECT_EQ(svgText(sketch, ClientRect{0, 0, 1024, 768}),
              kHead +
                  "viewBox='0 0 8192 6144' xmlns='http://www.w3.org/2000/svg'>\n"
                  "<rect x='0.000000' y='0.000000' width='0.000000' height='0.000000' "
                  "fill='#FFFFFF' stroke='#000000' stroke-width='2'/>\n"
                  "</svg>");
}

TEST(SvgExport, PaperReachesTenTimesTheDrawingBeyondEachSide) {
    Sketch sketch;  // identity view: window pixels are sketch units
    sketch.background = 0x123456;
    Shape s;
    StrokeGroup g;
    g.strokes.append(strokeOf({{20, 40, 10}}));
    s.groups.append(g);
    sketch.shapes.append(s);
    ASSERT_EQ(sketch.viewBounds(), RectF(10, 30, 30, 50));

    // In eighths: (80, 240)-(240, 400), 160 wide and high.
    const std::string svg = svgText(sketch, ClientRect{0, 0, 640, 480});
    EXPECT_NE(svg.find("viewBox='0 0 5120 3840' "), std::string::npos);
    EXPECT_NE(svg.find("<rect x='-1520.000000' y='-1360.000000' width='3360.000000' "
                       "height='3360.000000' fill='#123456' stroke='#000000' "
                       "stroke-width='2'/>\n"),
              std::string::npos)
        << svg;
}

TEST(SvgExport, ContourBecomesRelativeQuadraticSegmentsThroughMidpoints) {
    // Start at the midpoint of the last and first points; every segment ends
    // at the midpoint of its control point and the next.
    EXPECT_EQ(svgPath(pathOf({{0, 0}, {2, 0}, {2, 2}}), 0x00ABCD),
              "<path d='M8,8q-8,-8 0,-8q8,0 8,8q0,8 -8,0' fill='#00ABCD' stroke='none' />\n");

    // On-curve flags make no difference: every point is a control point.
    Path flagged = pathOf({{0, 0}, {2, 0}, {2, 2}});
    flagged.contours[0].points[1].onCurve = 1;
    flagged.contours[0].points[0].onCurve = 0;
    EXPECT_EQ(svgPath(flagged, 0x00ABCD), svgPath(pathOf({{0, 0}, {2, 0}, {2, 2}}), 0x00ABCD));

    // The contours of a path are subpaths of one element, so they fill
    // together; contours without points write nothing.
    Path two = pathOf({{1, 1}});
    two.contours.append(PathContour{});
    two.appendContour(pathOf({{2, 2}}).contours[0]);
    ASSERT_EQ(two.contours.count(), 3);
    EXPECT_EQ(svgPath(two, 0),
              "<path d='M8,8q0,0 0,0M16,16q0,0 0,0' fill='#000000' stroke='none' />\n");
    EXPECT_EQ(svgPath(Path{}, 0), "");
}

TEST(SvgExport, CoordinatesAreEighthsTruncatedTowardZero) {
    // A lone point: control and end coincide with the start.
    EXPECT_EQ(svgPath(pathOf({{1.3f, 2.5f}}), 0xFF0000),
              "<path d='M10,20q0,0 0,0' fill='#FF0000' stroke='none' />\n");
    EXPECT_EQ(svgPath(pathOf({{-1.3f, -0.01f}}), 0xFF0000),
              "<path d='M-10,0q0,0 0,0' fill='#FF0000' stroke='none' />\n");
    // Points at x = 1.3 start at trunc(10.4).
    EXPECT_EQ(svgPath(pathOf({{1.3f, 0}, {1.3f, 4}}), 1).substr(0, 13), "<path d='M10,");
}

TEST(SvgExport, SegmentsFollowTheCurveWithoutAccumulatingTruncation) {
    // Random contours: replaying the relative numbers must land every control
    // point and every end within one eighth of its exact place, however long
    // the contour.
    std::mt19937 random(0x1234);
    std::uniform_real_distribution<float> coordinate(-300.0f, 900.0f);
    const std::regex number("-?[0-9]+");
    for (int round = 0; round < 50; ++round) {
        Path p;
        p.startContour();
        const int n = 1 + round * 7;
        for (int i = 0; i < n; ++i)
            p.addControl(coordinate(random), coordinate(random));
        const std::string svg = svgPath(p, 0);

        std::vector<long> v;
        const size_t end = svg.find("' fill=");
        for (auto it = std::sregex_iterator(svg.begin(), svg.begin() + long(end), number);
             it != std::sregex_iterator(); ++it)
            v.push_back(std::stol(it->str()));
        ASSERT_EQ(v.size(), size_t(2 + 4 * n)) << svg;

        const auto& pts = p.contours[0].points;
        auto mid = [&](int a, int b, bool y) {
            const PathPoint& pa = pts[a % n];
            const PathPoint& pb = pts[b % n];
            return (y ? double(pa.y) + double(pb.y) : double(pa.x) + double(pb.x)) * 4.0;
        };
        long cx = v[0];
        long cy = v[1];
        EXPECT_LT(std::fabs(mid(n - 1, 0, false) - cx), 1.0);
        EXPECT_LT(std::fabs(mid(n - 1, 0, true) - cy), 1.0);
        for (int i = 0; i < n; ++i) {
            const long* q = &v[size_t(2 + 4 * i)];
            EXPECT_LT(std::fabs(double(pts[i].x) * 8 - double(cx + q[0])), 1.0)
                << "round " << round;
            EXPECT_LT(std::fabs(double(pts[i].y) * 8 - double(cy + q[1])), 1.0)
                << "round " << round;
            cx += q[2];
            cy += q[3];
            EXPECT_LT(std::fabs(mid(i, i + 1, false) - double(cx)), 1.0) << "round " << round;
            EXPECT_LT(std::fabs(mid(i, i + 1, true) - double(cy)), 1.0) << "round " << round;
        }
    }
}

TEST(SvgExport, EachGroupWritesItsFillThenItsInkAndTheShapeBeingDrawnComesLast) {
    Sketch sketch;
    sketch.shapes.append(shapeOf(0x111111, 0xAAAAAA, 2));
    sketch.shapes.append(shapeOf(0x222222, -1, 1));        // no fill
    sketch.shapes.append(shapeOf(-1, 0xBBBBBB, 1));        // no ink
    sketch.shapes.append(shapeOf(0x333333, 0xCCCCCC, 0));  // no groups: nothing
    sketch.current = shapeOf(0x444444, -1, 1);
    const std::string svg = svgText(sketch, ClientRect{0, 0, 100, 100});

    // Each group here holds one stroke, hence one contour per pass.
    EXPECT_EQ(pathColours(svg),
              (std::vector<std::string>{"#AAAAAA", "#111111", "#AAAAAA", "#111111", "#222222",
                                        "#BBBBBB", "#444444"}));
    ASSERT_GE(svg.size(), 6u);
    EXPECT_EQ(svg.substr(svg.size() - 6), "</svg>");
}

TEST(SvgExport, ClosedStrokeOutlineIsOneElementThatFillsAsARing) {
    Sketch sketch;
    Shape ring;
    StrokeGroup g;
    Stroke s = strokeOf({{10, 10, 2}, {50, 10, 2}, {50, 40, 2}, {10, 40, 2}});
    s.closed = 1;
    g.strokes.append(s);
    ring.groups.append(g);
    sketch.current = ring;
    ASSERT_EQ(outline(g).contours.count(), 2);

    const std::string svg = svgText(sketch, ClientRect{0, 0, 64, 64});
    EXPECT_EQ(pathColours(svg), std::vector<std::string>{"#000000"});
    const size_t d = svg.find("<path d='M");
    ASSERT_NE(d, std::string::npos);
    const std::string element = svg.substr(d, svg.find('\n', d) - d);
    EXPECT_EQ(std::count(element.begin(), element.end(), 'M'), 2) << element;
}

TEST(SvgExport, ShapesAreWrittenInWindowPixels) {
    // The view doubles and moves everything; the element must be the one of
    // the shape placed by hand where the view puts it.
    Sketch moved;
    Transform3D view;
    view.thenScale(2.0).thenTranslate(Vec3d{5, 7, 0});
    moved.setPageTransform(view);
    moved.shapes.append(shapeOf(0x000000, -1, 1));

    Sketch placed;
    placed.shapes.append(moved.shapeForDrawing(0));

    const std::string a = svgText(moved, ClientRect{0, 0, 200, 100});
    const std::string b = svgText(placed, ClientRect{0, 0, 200, 100});
    EXPECT_EQ(a, b);
    Path expected = outline(placed.shapes[0].groups[0]);
    EXPECT_NE(a.find(svgPath(expected, 0)), std::string::npos);
}

TEST(SvgExport, ColoursKeepOnlyTheirRgbBits) {
    // A damaged file may carry high bits; "#%06X" must stay six digits.
    Sketch sketch;
    sketch.background = 0xFF00FF00;
    sketch.current = shapeOf(0x7F123456, -1, 1);
    const std::string svg = svgText(sketch, ClientRect{0, 0, 10, 10});
    EXPECT_NE(svg.find("fill='#00FF00' stroke='#000000'"), std::string::npos);
    EXPECT_EQ(pathColours(svg), std::vector<std::string>{"#123456"});
}

TEST(SvgExport, AbsurdCoordinatesStayWithinTheIntegers) {
    // Damaged geometry must neither overflow nor print garbage.
    const std::string svg = svgPath(pathOf({{1e30f, -1e30f}, {NAN, 3}, {-1e30f, 1e30f}}), 0);
    const std::regex element(
        "<path d='M-?[0-9]+,-?[0-9]+(q-?[0-9]+,-?[0-9]+ -?[0-9]+,-?[0-9]+){3}"
        "' fill='#000000' stroke='none' />\n");
    EXPECT_TRUE(std::regex_match(svg, element)) << svg;
    const std::regex number("-?[0-9]+");
    for (auto it = std::sregex_iterator(svg.begin(), svg.end(), number);
         it != std::sregex_iterator(); ++it)
        EXPECT_LE(std::fabs(std::stod(it->str())), 2147483647.0) << svg;
}

TEST(SvgExport, PaperOfAbsurdGeometryIsStillANumber) {
    Sketch sketch;
    Shape s;
    StrokeGroup g;
    g.strokes.append(strokeOf({{-3e38f, 0, 1}, {3e38f, 3e38f, 3e38f}}));
    s.groups.append(g);
    sketch.shapes.append(s);
    const std::string svg = svgText(sketch, ClientRect{0, 0, 10, 10});
    const size_t rect = svg.find("<rect ");
    ASSERT_NE(rect, std::string::npos);
    const std::string line = svg.substr(rect, svg.find('\n', rect) - rect);
    EXPECT_EQ(line.find("inf"), std::string::npos) << line;
    EXPECT_EQ(line.find("nan"), std::string::npos) << line;
    EXPECT_TRUE(std::regex_search(line, std::regex("x='-[0-9]{39}\\.000000'"))) << line;
}
