#include "model/sketch.h"
#include "model/outline.h"

#include <gtest/gtest.h>

using namespace penwick;

namespace {

// A committed shape with one stroke of the given points (x, y), radius 1.
Shape shapeAt(std::initializer_list<Vec2> points, int32_t colour = 0) {
    Shape s;
    s.colour = colour;
    for (Vec2 p : points)
        addPoint(s.groups, p.x, p.y, 1);
    return s;
}

// A sketch of shapes told apart by their colours 0, 1, 2, ...
Sketch sketchOf(int shapeCount) {
    Sketch sketch;
    for (int i = 0; i < shapeCount; ++i)
        sketch.shapes.append(shapeAt({{float(i), 0}}, i));
    return sketch;
}

std::vector<int32_t> colours(const Sketch& s) {
    std::vector<int32_t> c;
    for (const Shape& shape : s.shapes)
        c.push_back(shape.colour);
    return c;
}

Path square(float l, float t, float r, float b) {
    Path p;
    p.addOnCurve(l, t);
    p.addOnCurve(r, t);
    p.addOnCurve(r, b);
    p.addOnCurve(l, b);
    return p;
}

void drawPoint(Sketch& s, double x, double y) {
    s.addSample(x, y, 1);
}

}  // namespace

TEST(Sketch, NewSketchIsResetAndClearKeepsFitAndPenColours) {
    Sketch s;
    EXPECT_EQ(s.insertIndex, -1);
    EXPECT_EQ(s.background, 0xFFFFFFu);
    EXPECT_EQ(s.editLevel, EditLevel::Shape);
    EXPECT_EQ(s.viewTransform(), Transform3D::identity());
    EXPECT_EQ(s.current.colour, 0);
    EXPECT_EQ(s.current.fillColour, -1);

    s = sketchOf(3);
    s.setWindowFit(400, 200);
    Transform3D page;
    page.thenRotate(1);
    s.setPageTransform(page);
    s.current.colour = 0x123456;
    drawPoint(s, 1, 1);
    s.insertIndex = 1;
    s.editLevel = EditLevel::Point;
    s.background = 0;
    const Transform3D fit = s.fitTransform();
    s.clear();
    EXPECT_EQ(s.shapes.count(), 0);
    EXPECT_EQ(s.currentGroupCount(), 0);
    EXPECT_EQ(s.current.colour, 0x123456);
    EXPECT_EQ(s.fitTransform(), fit);
    EXPECT_EQ(s.pageTransform(), Transform3D::identity());
    EXPECT_EQ(s.viewTransform(), fit);
    EXPECT_EQ(s.insertIndex, -1);
    EXPECT_EQ(s.editLevel, EditLevel::Shape);
    EXPECT_EQ(s.background, 0xFFFFFFu);
}

TEST(Sketch, WindowFitAndSamplesInSketchSpace) {
    Sketch s;
    s.setWindowFit(600, 200);  // one unit is 200 pixels, origin at (300, 100)
    EXPECT_EQ(s.viewTransform().apply(Vec3{1, -1, 0.5f}), (Vec3{500, -100, 100}));
    s.addSample(500, 300, 20);
    const StrokePoint& p = s.current.groups[0].strokes[0].points[0];
    EXPECT_EQ(p, (StrokePoint{1, 1, 0.1f, 1, 0}));
    // Zooming the view in afterwards keeps the stroke's width relative to the drawing.
    Transform3D zoom;
    zoom.thenScale(2);
    s.applyWindowTransform(zoom);
    EXPECT_EQ(s.shapeForDrawing(-1).groups[0].strokes[0].points[0].radius, 40);
}

TEST(Sketch, SamplesDrawnBackWhereThePenWas) {
    Sketch s;
    s.setWindowFit(640, 480);
    Transform3D turn;  // the user rotated, zoomed and panned the view
    turn.thenRotate(0.6).thenScale(1.7).thenTranslate(Vec3d{30, -12, 0});
    s.applyWindowTransform(turn);
    const double samples[3][3] = {{100, 100, 4}, {320.5, 240.25, 2}, {600, 20, 9}};
    for (const auto& p : samples)
        s.addSample(p[0], p[1], p[2]);
    const Shape drawn = s.shapeForDrawing(-1);
    for (int i = 0; i < 3; ++i) {
        const StrokePoint& q = drawn.groups[0].strokes[0].points[i];
        EXPECT_NEAR(q.x, samples[i][0], 1e-3);
        EXPECT_NEAR(q.y, samples[i][1], 1e-3);
        EXPECT_NEAR(q.radius, samples[i][2], 1e-4);
    }
    // In sketch space the radius is the window radius over the zoom.
    EXPECT_NEAR(s.current.groups[0].strokes[0].points[0].radius, 4 / (280 * 1.7), 1e-6);
}

TEST(Sketch, TheNewestPieceIsTheOneOfTheWholeStrokeInWindowPixels) {
    Sketch s;
    s.setWindowFit(640, 480);
    Transform3D turn;
    turn.thenRotate(0.6).thenScale(1.7).thenTranslate(Vec3d{30, -12, 0});
    s.applyWindowTransform(turn);
    EXPECT_TRUE(s.newestPieceForDrawing().isEmpty());
    // A wandering stroke with a pause in place and a second stroke after it.
    uint32_t seed = 7;
    auto next = [&seed] { return (seed = seed * 1103515245u + 12345u) >> 16 & 0xFF; };
    for (int i = 0; i < 60; ++i) {
        if (i == 30) s.startStroke();
        const double x = 100 + 3 * i + next() % 9, y = 200 + next() % 13;
        s.addSample(x, y, 1 + next() % 7);
        if (i == 10) s.addSample(x, y, 3);
        const Path full = lastStrokeOutlinePiece(s.shapeForDrawing(-1).groups, -2);
        const Path piece = s.newestPieceForDrawing();
        ASSERT_EQ(piece.contours.count(), full.contours.count()) << i;
        for (int32_t c = 0; c < full.contours.count(); ++c) {
            const auto& a = piece.contours[c].points;
            const auto& b = full.contours[c].points;
            ASSERT_EQ(a.count(), b.count());
            for (int32_t k = 0; k < a.count(); ++k)
                EXPECT_TRUE(a[k] == b[k]) << i << " " << k;
        }
    }
}

TEST(Sketch, ApplyWindowTransformMovesViewOrSelectedShapes) {
    Transform3D pan;
    pan.thenTranslate(Vec3d{10, 0, 0});
    {  // nothing selected: the view moves, the points stay
        Sketch s = sketchOf(2);
        s.setWindowFit(100, 100);
        s.applyWindowTransform(pan);
        EXPECT_EQ(s.shapes[0].groups[0].strokes[0].points[0].x, 0);
        EXPECT_EQ(s.viewTransform().apply(Vec3{0, 0, 0}), (Vec3{60, 50, 0}));
        // The page transform is in fitted space: 10 pixels are 0.2 units.
        EXPECT_NEAR(s.pageTransform().translation.x, 0.2, 1e-12);
    }
    {  // a selected shape moves by 10 pixels on screen; the view stays
        Sketch s = sketchOf(2);
        s.setWindowFit(100, 100);
        Transform3D page;
        page.thenScale(2);
        s.setPageTransform(page);
        s.shapes[1].selected = 1;
        const Transform3D before = s.viewTransform();
        s.applyWindowTransform(pan);
        EXPECT_EQ(s.viewTransform(), before);
        EXPECT_EQ(s.shapes[0].groups[0].strokes[0].points[0].x, 0);
        const Shape drawn = s.shapeForDrawing(1);
        EXPECT_FLOAT_EQ(drawn.groups[0].strokes[0].points[0].x, 50 + 100 + 10);
        EXPECT_FLOAT_EQ(drawn.groups[0].strokes[0].points[0].radius, 100);
    }
}

TEST(Sketch, ResetViewWithAndWithoutBaking) {
    Transform3D page;
    page.thenScale(3).thenTranslate(Vec3d{1, 2, 0});
    {
        Sketch s = sketchOf(1);
        s.setPageTransform(page);
        drawPoint(s, 4, 5);  // (1, 1) in sketch space
        s.resetView(false);
        EXPECT_EQ(s.pageTransform(), Transform3D::identity());
        EXPECT_EQ(s.shapes[0].groups[0].strokes[0].points[0], (StrokePoint{0, 0, 1, 1, 0}));
    }
    {  // baking keeps every point where it was on screen
        Sketch s = sketchOf(1);
        s.setPageTransform(page);
        drawPoint(s, 4, 5);
        s.resetView(true);
        EXPECT_EQ(s.viewTransform(), Transform3D::identity());
        EXPECT_EQ(s.shapes[0].groups[0].strokes[0].points[0], (StrokePoint{1, 2, 3, 1, 0}));
        EXPECT_EQ(s.current.groups[0].strokes[0].points[0], (StrokePoint{4, 5, 1, 1, 0}));
    }
}

TEST(Sketch, CommitAppendsOrInsertsAtTheInsertionPoint) {
    {  // no insertion point: appended
        Sketch s = sketchOf(2);
        s.current.colour = 7;
        drawPoint(s, 0, 0);
        s.commitCurrent(-1);
        EXPECT_EQ(colours(s), (std::vector<int32_t>{0, 1, 7}));
        EXPECT_EQ(s.currentGroupCount(), 0);
        EXPECT_EQ(s.current.colour, 7);  // the pen colour survives
    }
    {  // successive shapes go in one after another at the insertion point
        Sketch s = sketchOf(5);
        s.insertIndex = 2;
        for (int32_t c : {10, 11}) {
            s.current.colour = c;
            drawPoint(s, 0, 0);
            s.commitCurrent(-1);
        }
        EXPECT_EQ(colours(s), (std::vector<int32_t>{0, 1, 10, 11, 2, 3, 4}));
        EXPECT_EQ(s.insertIndex, 4);
    }
    {  // an explicit index leaves the insertion point alone; past the end appends
        Sketch s = sketchOf(3);
        s.insertIndex = 1;
        s.current.colour = 20;
        drawPoint(s, 0, 0);
        s.commitCurrent(0);
        s.current.colour = 21;
        drawPoint(s, 0, 0);
        s.commitCurrent(99);
        EXPECT_EQ(colours(s), (std::vector<int32_t>{20, 0, 1, 2, 21}));
        EXPECT_EQ(s.insertIndex, 1);
    }
    {  // a shape whose strokes are all empty adds nothing
        Sketch s = sketchOf(2);
        s.insertIndex = 1;
        s.current.groups.at(0).strokes.at(1);
        s.commitCurrent(-1);
        EXPECT_EQ(s.shapes.count(), 2);
        EXPECT_EQ(s.insertIndex, 1);
        EXPECT_EQ(s.currentGroupCount(), 0);
    }
}

TEST(Sketch, BackStepTakesBackTheShapeBeforeTheInsertionPoint) {
    {  // level Point: one point less, the shape back in current
        Sketch s;
        s.shapes.append(shapeAt({{0, 0}, {1, 0}, {2, 0}}, 5));
        s.editLevel = EditLevel::Point;
        s.backStep();
        EXPECT_EQ(s.shapes.count(), 0);
        ASSERT_EQ(s.currentGroupCount(), 1);
        EXPECT_EQ(s.current.groups[0].strokes[0].points.count(), 2);
        EXPECT_EQ(s.current.colour, 5);
        // committed again at the next stroke end, at its old position
        s.commitCurrent(-1);
        EXPECT_EQ(s.shapes.count(), 1);
    }
    {  // insertion point 0: nothing at all
        Sketch s = sketchOf(3);
        s.insertIndex = 0;
        s.backStep();
        EXPECT_EQ(s.shapes.count(), 3);
        EXPECT_EQ(s.currentGroupCount(), 0);
        EXPECT_EQ(s.insertIndex, 0);
    }
    {  // inside: shape insertIndex - 1 comes back and is recommitted at its place
        Sketch s = sketchOf(4);
        s.insertIndex = 2;
        s.editLevel = EditLevel::Group;
        s.shapes[1].groups.append(s.shapes[1].groups[0]);  // two groups
        s.backStep();
        EXPECT_EQ(colours(s), (std::vector<int32_t>{0, 2, 3}));
        EXPECT_EQ(s.insertIndex, 1);
        EXPECT_EQ(s.currentGroupCount(), 1);
        s.commitCurrent(-1);
        EXPECT_EQ(colours(s), (std::vector<int32_t>{0, 1, 2, 3}));
        EXPECT_EQ(s.insertIndex, 2);
    }
    {  // insertion point at or past the end: the last shape, and the point is dropped
        Sketch s = sketchOf(3);
        s.insertIndex = 3;
        s.editLevel = EditLevel::Stroke;
        s.backStep();  // its only stroke goes, so the shape is pruned away
        EXPECT_EQ(colours(s), (std::vector<int32_t>{0, 1}));
        EXPECT_EQ(s.insertIndex, -1);
        EXPECT_EQ(s.currentGroupCount(), 0);
    }
    {  // level Shape with a shape being drawn: only current is cleared
        Sketch s = sketchOf(2);
        drawPoint(s, 0, 0);
        s.backStep();
        EXPECT_EQ(s.shapes.count(), 2);
        EXPECT_EQ(s.currentGroupCount(), 0);
    }
}

TEST(Sketch, RemoveShapeAtKeepsTheInsertionPointOnItsShape) {
    Sketch s = sketchOf(5);
    s.insertIndex = 3;
    s.removeShapeAt(9);
    EXPECT_EQ(s.shapes.count(), 5);
    s.removeShapeAt(1);
    EXPECT_EQ(colours(s), (std::vector<int32_t>{0, 2, 3, 4}));
    EXPECT_EQ(s.insertIndex, 2);
    s.removeShapeAt(3);
    EXPECT_EQ(s.insertIndex, 2);
    s.removeShapeAt(-1);  // the last shape, after the insertion point
    EXPECT_EQ(colours(s), (std::vector<int32_t>{0, 2}));
    EXPECT_EQ(s.insertIndex, 2);
    Sketch empty;
    empty.removeShapeAt(-1);
    EXPECT_EQ(empty.shapes.count(), 0);
}

TEST(Sketch, LassoSelectsAtEachEditLevel) {
    // Shape 0 lies inside the lasso; shape 1 has one stroke inside and one
    // with a point outside.
    auto make = [](EditLevel level) {
        Sketch s;
        s.shapes.append(shapeAt({{1, 1}, {2, 2}}));
        Shape mixed = shapeAt({{3, 3}, {4, 4}});
        startStroke(mixed.groups);
        addPoint(mixed.groups, 5, 5, 1);
        addPoint(mixed.groups, 50, 5, 1);
        s.shapes.append(mixed);
        s.editLevel = level;
        return s;
    };
    const Path lasso = square(0, 0, 10, 10);
    {
        Sketch s = make(EditLevel::Shape);
        s.lassoSelect(lasso);
        EXPECT_EQ(s.shapes[0].selected, 1);
        EXPECT_EQ(s.shapes[1].selected, 0);
        EXPECT_EQ(s.selectedShapeCount(), 1);
    }
    {
        Sketch s = make(EditLevel::Group);
        s.lassoSelect(lasso);
        EXPECT_EQ(s.shapes[0].groups[0].selected, 1);
        EXPECT_EQ(s.shapes[1].groups[0].selected, 0);
        EXPECT_EQ(s.selectedShapeCount(), 0);
    }
    {
        Sketch s = make(EditLevel::Stroke);
        s.lassoSelect(lasso);
        EXPECT_EQ(s.shapes[1].groups[0].strokes[0].selected, 1);
        EXPECT_EQ(s.shapes[1].groups[0].strokes[1].selected, 0);
    }
    {
        Sketch s = make(EditLevel::Point);
        s.lassoSelect(lasso);
        const Stroke& partly = s.shapes[1].groups[0].strokes[1];
        EXPECT_EQ(partly.points[0].selected, 1);
        EXPECT_EQ(partly.points[1].selected, 0);
        EXPECT_EQ(partly.selected, 0);
    }
    {  // marks are only added; selectAll clears and sets every level
        Sketch s = make(EditLevel::Shape);
        s.shapes[1].selected = 1;
        s.lassoSelect(square(100, 100, 110, 110));
        EXPECT_EQ(s.shapes[1].selected, 1);
        s.selectAll(true);
        EXPECT_EQ(s.shapes[1].groups[0].strokes[1].points[1].selected, 1);
        s.selectAll(false);
        EXPECT_EQ(s.selectedShapeCount(), 0);
        EXPECT_EQ(s.shapes[0].groups[0].strokes[0].points[0].selected, 0);
    }
    {  // a shape without points counts as inside; the lasso comes from current
        Sketch s;
        s.shapes.append(Shape{});
        drawPoint(s, 0, 0);
        drawPoint(s, 1, 0);
        drawPoint(s, 1, 1);
        ASSERT_EQ(s.lassoPath().pointCount(), 3);
        s.lassoSelect(s.lassoPath());
        EXPECT_EQ(s.shapes[0].selected, 1);
        EXPECT_TRUE(Sketch().lassoPath().isEmpty());
    }
}

TEST(Sketch, DeleteSelectedCascadesUpwards) {
    auto make = [] {
        Sketch s;
        s.shapes.append(shapeAt({{0, 0}, {1, 1}}, 0));
        Shape two = shapeAt({{2, 2}}, 1);
        startGroup(two.groups);
        addPoint(two.groups, 3, 3, 1);
        s.shapes.append(two);
        s.insertIndex = 2;
        return s;
    };
    {
        Sketch s = make();
        s.shapes[0].selected = 1;
        s.deleteSelected();
        EXPECT_EQ(colours(s), (std::vector<int32_t>{1}));
        EXPECT_EQ(s.insertIndex, 2);  // not changed
    }
    {
        Sketch s = make();
        s.editLevel = EditLevel::Group;
        s.shapes[0].groups[0].selected = 1;
        s.shapes[1].groups[1].selected = 1;
        s.deleteSelected();
        EXPECT_EQ(colours(s), (std::vector<int32_t>{1}));
        EXPECT_EQ(s.shapes[0].groups.count(), 1);
    }
    {  // removing the only stroke of a shape removes the shape too
        Sketch s = make();
        s.editLevel = EditLevel::Stroke;
        s.shapes[0].groups[0].strokes[0].selected = 1;
        s.shapes[1].groups[0].strokes[0].selected = 1;
        s.deleteSelected();
        ASSERT_EQ(colours(s), (std::vector<int32_t>{1}));
        EXPECT_EQ(s.shapes[0].groups.count(), 1);
        EXPECT_EQ(s.shapes[0].groups[0].strokes[0].points[0].x, 3);
    }
    {
        Sketch s = make();
        s.editLevel = EditLevel::Point;
        s.shapes[0].groups[0].strokes[0].points[1].selected = 1;
        s.shapes[1].groups[0].strokes[0].points[0].selected = 1;
        s.shapes[1].groups[1].strokes[0].points[0].selected = 1;
        s.deleteSelected();
        ASSERT_EQ(colours(s), (std::vector<int32_t>{0}));
        EXPECT_EQ(s.shapes[0].groups[0].strokes[0].points.count(), 1);
    }
}

TEST(Sketch, InvertColoursTwiceRestoresEveryColour) {
    Sketch s = sketchOf(2);
    s.shapes[0].colour = 0x102030;
    s.shapes[1].colour = -1;
    s.shapes[1].fillColour = 0x00FF00;
    s.invertColours();
    EXPECT_EQ(s.shapes[0].colour, 0xEFDFCF);
    EXPECT_LT(s.shapes[1].colour, 0);  // no ink stays no ink
    EXPECT_EQ(s.shapes[1].fillColour, 0xFF00FF);
    EXPECT_EQ(s.current.colour, 0xFFFFFF);
    EXPECT_EQ(s.background, 0u);
    s.invertColours();
    EXPECT_EQ(s.shapes[0].colour, 0x102030);
    EXPECT_EQ(s.shapes[1].colour, -1);
    EXPECT_EQ(s.shapes[0].fillColour, -1);
    EXPECT_EQ(s.current.colour, 0);
    EXPECT_EQ(s.background, 0xFFFFFFu);
    EXPECT_EQ(s.reducePoints(), 0);
}

TEST(Sketch, ViewBoundsAndShapeForDrawing) {
    Sketch s;
    EXPECT_EQ(s.viewBounds(), RectF::emptyRect());
    s.shapes.append(shapeAt({{0, 0}, {2, 0}}));
    drawPoint(s, 100, 100);  // current is not included
    s.setWindowFit(40, 40);  // scale 20, origin (20, 20)
    EXPECT_EQ(s.viewBounds(), RectF(0, 0, 80, 40));
    const Shape drawn = s.shapeForDrawing(0);
    EXPECT_EQ(drawn.groups[0].strokes[0].points[1], (StrokePoint{60, 20, 20, 1, 0}));
    EXPECT_EQ(s.shapes[0].groups[0].strokes[0].points[1].x, 2);  // the original is untouched
    EXPECT_EQ(s.shapeForDrawing(5).groups[0].strokes[0].points[0].x, 2020);  // current
}

TEST(Sketch, SnapshotsAreIndependent) {
    Sketch s = sketchOf(2);
    s.setWindowFit(100, 50);
    drawPoint(s, 3, 3);
    s.editLevel = EditLevel::Stroke;
    s.insertIndex = 1;
    const Sketch snap = s.snapshot();

    s.shapes[0].groups[0].strokes[0].points[0].x = 99;
    s.current.groups[0].strokes[0].points.append(StrokePoint{});
    s.shapes.removeAt(1);
    s.setWindowFit(10, 10);
    s.current.colour = 0xFF;
    EXPECT_EQ(snap.shapes.count(), 2);
    EXPECT_EQ(snap.shapes[0].groups[0].strokes[0].points[0].x, 0);
    EXPECT_EQ(snap.current.groups[0].strokes[0].points.count(), 1);
    EXPECT_EQ(snap.current.colour, 0);

    s.restore(snap);
    EXPECT_EQ(s.shapes.count(), 2);
    EXPECT_EQ(s.editLevel, EditLevel::Stroke);
    EXPECT_EQ(s.insertIndex, 1);
    EXPECT_EQ(s.viewTransform(), snap.viewTransform());
    s.shapes[1].groups[0].strokes[0].points[0].x = 42;  // editing after restore
    EXPECT_EQ(snap.shapes[1].groups[0].strokes[0].points[0].x, 1);
}
