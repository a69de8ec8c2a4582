// Drawing with the pen and the mouse on the headless host: the tablet's and
// the mouse's gestures row by row, the lasso and what a selection does to
// the view gestures, the text commands, and touches while the pen is near.
#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "canvas/canvas_view.h"
#include "framework/platform/bitmap.h"
#include "host/keys.h"
#include "host/window_style.h"
#include "tests/framework/headless_fixture.h"

namespace penwick {
namespace {

using namespace host;
using host::headless::Modifiers;
using host::headless::MouseButton;
using testing::HeadlessTest;

constexpr uint32_t kTip = 1;
constexpr uint32_t kBarrel1 = 2;

int32_t pointCount(const Shape& shape) {
    int32_t n = 0;
    for (const StrokeGroup& g : shape.groups)
        for (const Stroke& s : g.strokes)
            n += s.points.count();
    return n;
}

const StrokePoint& lastPointOf(const Shape& shape) {
    const Stroke& s = shape.groups.last().strokes.last();
    return s.points[s.points.count() - 1];
}

class PenTest : public HeadlessTest {
  protected:
    PenTest() {
        frame_.create(nullptr, "frame", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, kNoWindow, 0, 0, 700,
                      500, 0);
        const Rect client = host.clientRect(frame_.handle());
        view.create(nullptr, "", WS_CHILD | WS_VISIBLE, 0, frame_.handle(), 0, 0, client.width(),
                    client.height(), 0);
        view.penSize = 10;
        host.setFocus(view.handle());
        pump();
        setUp();
    }

    // A pen sample at a client point (pressure 0..1), processed.
    void pen(uint32_t buttons, double x, double y, double pressure) {
        const Rect c = host.clientRect(view.handle());
        const double m = kTabletMargin;
        const auto X = uint32_t(std::lround((x + m) / (c.right + 2 * m) * kTabletExtent));
        const auto Y =
            uint32_t(std::lround((c.bottom + m - y) / (c.bottom + 2 * m) * kTabletExtent));
        host.tabletSample(view.tabletContext, buttons, X, Y,
                          uint32_t(std::lround(pressure * kTabletPressureScale)));
        pump();
    }
    void press(MouseButton b, int x, int y, Modifiers mods = {}) {
        host.mousePress(view.handle(), b, {x, y}, mods);
        pump();
    }
    void move(int x, int y, Modifiers mods = {}) {
        host.mouseMove(view.handle(), {x, y}, mods);
        pump();
    }
    void release(MouseButton b, int x, int y, Modifiers mods = {}) {
        host.mouseRelease(view.handle(), b, {x, y}, mods);
        pump();
    }
    void holdKey(int vk, bool down) {
        if (down)
            host.keyDown(vk);
        else
            host.keyUp(vk);
        pump();
    }
    // A committed shape drawn with the mouse along a horizontal line.
    void mouseLine(int x0, int x1, int y) {
        press(MouseButton::left, x0, y);
        for (int x = x0 + 10; x <= x1; x += 10)
            move(x, y);
        release(MouseButton::left, x1, y);
    }
    // The view's origin and scale relative to where the test began.
    Vec3d origin() const {
        const Vec3d t = view.sketch.viewTransform().translation;
        return {t.x - start_.translation.x, t.y - start_.translation.y, 0};
    }
    double scale() const { return view.sketch.viewTransform().col0.x / start_.col0.x; }
    void setUp() { start_ = view.sketch.viewTransform(); }
    Transform3D start_ = Transform3D::identity();

    ktWnd frame_;
    CanvasView view;
};

// ---- The tablet, row by row ----------------------------------------------

TEST_F(PenTest, TheTipTouchingTakesOneSnapshotAndDrawsFromTheNextMovingPacket) {
    ASSERT_NE(view.tabletContext, kNoTablet);
    EXPECT_TRUE(host.messageBoxes().empty());  // no tablet attached is no failure
    pen(kTip, 100, 100, 0.5);
    EXPECT_EQ(view.interactionMode, InteractionMode::draw);
    EXPECT_EQ(view.history.undoCount(), 1);
    EXPECT_EQ(pointCount(view.sketch.current), 0);  // collapsed onto lastPoint
    pen(kTip, 120, 100, 0.5);
    pen(kTip, 140, 100, 0.5);
    EXPECT_EQ(pointCount(view.sketch.current), 2);
    EXPECT_EQ(view.history.undoCount(), 1);
    // The stored point trails the pen by r = pressure × penSize = 5 pixels,
    // and takes the radius (pressure + 0.05) × penSize.
    const StrokePoint p = lastPointOf(view.sketch.shapeForDrawing(-1));
    EXPECT_NEAR(p.x, 135, 0.01);
    EXPECT_NEAR(p.y, 100, 0.01);
    EXPECT_NEAR(p.radius, 5.5, 0.01);

    // Lifting ends the stroke once: the shape joins the drawing.
    pen(0, 140, 100, 0);
    EXPECT_EQ(view.interactionMode, InteractionMode::none);
    EXPECT_EQ(view.sketch.shapes.count(), 1);
    EXPECT_TRUE(view.modified);
    view.modified = false;
    pen(0, 150, 100, 0);  // unchanged button word 0
    EXPECT_EQ(view.interactionMode, InteractionMode::none);
    EXPECT_EQ(view.sketch.shapes.count(), 1);
    EXPECT_FALSE(view.modified);
}

TEST_F(PenTest, RadiiFollowPressureOnlyWhenSensedAndNothingIsAddedAtPressureZero) {
    view.options = 0;
    pen(kTip, 100, 100, 0.9);
    pen(kTip, 130, 100, 0.2);
    EXPECT_NEAR(lastPointOf(view.sketch.shapeForDrawing(-1)).radius, 0.55 * view.penSize, 1e-4);
    pen(0, 130, 100, 0);

    view.options = kUsePressure;
    pen(kTip, 200, 200, 0);
    pen(kTip, 240, 200, 0);  // hovering with the tip reported down
    EXPECT_EQ(pointCount(view.sketch.current), 0);
}

TEST_F(PenTest, SmoothingTakesAQuarterOfASlowStepAndAJumpOfSixteenPixelsWhole) {
    view.options = kUsePressure | kSmooth;
    view.penSize = 0;  // no pull-back, no dead zone
    pen(kTip, 100, 100, 0.5);
    pen(kTip, 104, 100, 0.5);
    const Shape s1 = view.sketch.shapeForDrawing(-1);
    EXPECT_NEAR(lastPointOf(s1).x, 101, 0.05);  // a quarter of 4
    pen(kTip, 101 + 16, 100, 0.5);
    EXPECT_NEAR(lastPointOf(view.sketch.shapeForDrawing(-1)).x, 117, 0.05);
}

TEST_F(PenTest, CtrlPansShiftZoomsBothPanAndTheBarrelButtonPans) {
    const Vec3d from = origin();
    holdKey(VK_CONTROL, true);
    pen(kTip, 100, 100, 0.5);
    EXPECT_EQ(view.interactionMode, InteractionMode::move);
    EXPECT_EQ(view.history.undoCount(), 0);  // a pan is no drawing gesture
    pen(kTip, 150, 120, 0.5);
    EXPECT_GT(origin().x, from.x + 40);
    EXPECT_EQ(pointCount(view.sketch.current), 0);
    pen(0, 150, 120, 0);
    host.keyDown(VK_SHIFT, {.shift = true, .control = true});  // both: Ctrl wins
    pump();
    pen(kTip, 100, 100, 0.5);
    EXPECT_EQ(view.interactionMode, InteractionMode::move);
    pen(0, 100, 100, 0);
    host.keyUp(VK_CONTROL, {.shift = true});
    pump();
    pen(kTip, 100, 100, 0.5);
    EXPECT_EQ(view.interactionMode, InteractionMode::zoom);
    const double before = scale();
    pen(kTip, 100, 60, 0.5);  // upwards zooms in
    EXPECT_GT(scale(), before * 1.5);
    pen(0, 100, 60, 0);
    holdKey(VK_SHIFT, false);
    pen(kTip | kBarrel1, 100, 100, 0.5);
    EXPECT_EQ(view.interactionMode, InteractionMode::move);
}

TEST_F(PenTest, LiftingAModifierWithTheTipDownKeepsPanningAndNeverStartsAStroke) {
    holdKey(VK_CONTROL, true);
    pen(kTip, 100, 100, 0.5);
    holdKey(VK_CONTROL, false);
    pen(kTip | kBarrel1, 120, 100, 0.5);  // a changed word without Ctrl ...
    pen(kTip, 140, 100, 0.5);             // ... and back to the tip alone
    EXPECT_EQ(view.interactionMode, InteractionMode::move);
    EXPECT_EQ(pointCount(view.sketch.current), 0);
}

TEST_F(PenTest, ATapThatNeverMovedLeavesADotAsAClickDoes) {
    pen(kTip, 300, 200, 0.2);
    pen(kTip, 300, 200, 0.6);
    pen(0, 300, 200, 0);
    ASSERT_EQ(view.sketch.shapes.count(), 1);
    const Shape dot = view.sketch.shapeForDrawing(0);
    ASSERT_EQ(pointCount(dot), 1);
    EXPECT_NEAR(lastPointOf(dot).x, 300, 0.01);
    EXPECT_NEAR(lastPointOf(dot).radius, 6.5, 0.01);  // the highest pressure seen
}

// ---- The mouse, row by row -------------------------------------------------

TEST_F(PenTest, AMouseStrokeIsDrawnWhileItGrowsAndCommittedOnRelease) {
    press(MouseButton::left, 100, 100);
    EXPECT_EQ(host.cursor(), Cursor::cross);
    EXPECT_EQ(host.captureWindow(), view.handle());
    EXPECT_EQ(view.history.undoCount(), 1);
    move(130, 100);
    move(160, 110);
    EXPECT_EQ(pointCount(view.sketch.current), 3);
    EXPECT_NEAR(lastPointOf(view.sketch.shapeForDrawing(-1)).radius, view.penSize / 2, 1e-4);
    EXPECT_EQ(view.sketch.shapes.count(), 0);
    release(MouseButton::left, 160, 110);
    EXPECT_EQ(host.captureWindow(), kNoWindow);
    EXPECT_EQ(view.sketch.shapes.count(), 1);
    EXPECT_EQ(view.interactionMode, InteractionMode::draw);  // a release leaves the mode
    move(200, 200);                                          // no capture: nothing
    EXPECT_EQ(pointCount(view.sketch.current), 0);
}

TEST_F(PenTest, CtrlPressOnlySnapshotsAltPicksColoursAndShiftContinuesStraight) {
    view.sketch.current.colour = 0x123456;
    view.sketch.current.fillColour = 0x654321;
    mouseLine(100, 200, 100);
    view.sketch.current.colour = 0;
    view.sketch.current.fillColour = -1;

    press(MouseButton::left, 150, 100, {.control = true});
    EXPECT_EQ(view.history.undoCount(), 2);
    EXPECT_EQ(host.captureWindow(), kNoWindow);
    move(180, 100);
    EXPECT_EQ(pointCount(view.sketch.current), 0);
    release(MouseButton::left, 180, 100);

    host.keyDown(VK_MENU);
    press(MouseButton::left, 150, 100, {.alt = true});
    EXPECT_EQ(view.sketch.current.colour, 0x123456);
    EXPECT_EQ(view.sketch.current.fillColour, 0x654321);
    release(MouseButton::left, 150, 100, {.alt = true});
    host.keyUp(VK_MENU);
    pump();

    // Shift: the new stroke begins where the last point was.
    press(MouseButton::left, 300, 300, {.shift = true});
    const Shape s = view.sketch.shapeForDrawing(-1);
    ASSERT_EQ(pointCount(s), 2);
    EXPECT_NEAR(s.groups.last().strokes.last().points[0].x, 150, 0.01);
    // Moving with Shift drags the end of the straight segment.
    move(320, 300, {.shift = true});
    move(340, 300, {.shift = true});
    const Shape band = view.sketch.shapeForDrawing(-1);
    EXPECT_EQ(pointCount(band), 2);
    EXPECT_NEAR(lastPointOf(band).x, 340, 0.01);
    release(MouseButton::left, 340, 300);
}

TEST_F(PenTest, RightDragPansMiddleDragRotatesAndTheWheelZoomsAboutTheCentre) {
    press(MouseButton::right, 100, 100);
    EXPECT_EQ(view.interactionMode, InteractionMode::move);
    move(130, 90);
    EXPECT_NEAR(origin().x, 30, 1e-9);
    EXPECT_NEAR(origin().y, -10, 1e-9);
    release(MouseButton::right, 130, 90);
    EXPECT_EQ(pointCount(view.sketch.current), 0);
    EXPECT_EQ(view.sketch.shapes.count(), 0);

    // Undoing the pan brings the view back.
    EXPECT_EQ(view.history.undo(1, view.sketch), 1);
    EXPECT_EQ(origin().x, 0);

    press(MouseButton::middle, 100, 100);
    move(100 + 1920, 100);  // half a turn
    EXPECT_NEAR(scale(), -1, 1e-9);
    release(MouseButton::middle, 2020, 100);
    EXPECT_EQ(view.history.undo(1, view.sketch), 1);

    const double pen = view.penSize;
    const Vec3d c{double(host.clientRect(view.handle()).width() / 2),
                  double(host.clientRect(view.handle()).height() / 2), 0};
    host.wheel(120, host.clientToScreen(view.handle(), {0, 0}));
    pump();
    EXPECT_DOUBLE_EQ(scale(), 4);
    EXPECT_DOUBLE_EQ(view.penSize, 4 * pen);
    // The centre stays put: x' = 4 (x - c) + c.
    EXPECT_NEAR(view.sketch.viewTransform().translation.x, 4 * (start_.translation.x - c.x) + c.x,
                1e-6);
    EXPECT_TRUE(view.viewChanged);
    host.advance(kCanvasTimerPeriodMs);
    pump();
    EXPECT_FALSE(view.viewChanged);
}

// ---- The lasso and the selection -------------------------------------------

TEST_F(PenTest, ALassoSelectsWhatItEnclosesAtEveryEditLevel) {
    for (EditLevel level :
         {EditLevel::Shape, EditLevel::Group, EditLevel::Stroke, EditLevel::Point}) {
        SCOPED_TRACE(int(level));
        view.sketch.clear();
        view.sketch.editLevel = EditLevel::Shape;
        view.tool = Tool::draw;
        mouseLine(100, 140, 100);  // inside the loop
        mouseLine(400, 440, 100);  // outside
        view.sketch.editLevel = level;
        view.tool = Tool::select;
        view.modified = false;
        press(MouseButton::left, 80, 80);
        for (auto [x, y] : {std::pair{160, 80}, {160, 120}, {80, 120}, {80, 81}})
            move(x, y);
        release(MouseButton::left, 80, 81);
        EXPECT_EQ(view.sketch.currentGroupCount(), 0);  // the lasso is gone
        EXPECT_TRUE(view.modified);
        // The mark of the level, on the shape inside only.
        auto mark = [level](const Shape& s) -> int {
            switch (level) {
                case EditLevel::Shape:
                    return s.selected;
                case EditLevel::Group:
                    return s.groups[0].selected;
                case EditLevel::Stroke:
                    return s.groups[0].strokes[0].selected;
                case EditLevel::Point:
                    return s.groups[0].strokes[0].points[0].selected;
            }
            return -1;
        };
        EXPECT_EQ(mark(view.sketch.shapes[0]), 1);
        EXPECT_EQ(mark(view.sketch.shapes[1]), 0);
        EXPECT_EQ(view.sketch.selectedShapeCount(), level == EditLevel::Shape ? 1 : 0);
    }
}

TEST_F(PenTest, WhileShapesAreSelectedTheGesturesMoveThemAndNotThePaper) {
    mouseLine(100, 140, 100);
    view.tool = Tool::select;
    press(MouseButton::left, 80, 80);
    for (auto [x, y] : {std::pair{160, 80}, {160, 120}, {80, 120}, {80, 81}})
        move(x, y);
    release(MouseButton::left, 80, 81);
    ASSERT_EQ(view.sketch.selectedShapeCount(), 1);

    auto firstX = [&] { return view.sketch.shapeForDrawing(0).groups[0].strokes[0].points[0].x; };
    const float x0 = firstX();
    press(MouseButton::right, 200, 200);
    move(250, 200);
    release(MouseButton::right, 250, 200);
    EXPECT_EQ(origin().x, 0);
    EXPECT_NEAR(firstX(), x0 + 50, 1e-3);

    const double pen = view.penSize;
    host.wheel(-120, {0, 0});
    pump();
    EXPECT_EQ(scale(), 1);
    EXPECT_DOUBLE_EQ(view.penSize, pen / 4);

    // A lasso around nothing empties the selection; the paper moves again.
    press(MouseButton::left, 600, 400);
    for (auto [x, y] : {std::pair{640, 400}, {640, 440}, {600, 440}})
        move(x, y);
    release(MouseButton::left, 600, 440);
    EXPECT_EQ(view.sketch.selectedShapeCount(), 0);
    press(MouseButton::right, 200, 200);
    move(250, 200);
    release(MouseButton::right, 250, 200);
    EXPECT_NEAR(origin().x, 50, 1e-9);
}

TEST_F(PenTest, APenLassoShowsRedWhileItIsDrawnAndSelectsLikeTheMouse) {
    mouseLine(100, 140, 100);
    view.tool = Tool::select;
    pen(kTip, 80, 80, 1);
    for (auto [x, y] : {std::pair{160, 80}, {160, 120}, {80, 120}, {80, 79}})
        pen(kTip, x, y, 1);
    host.paint();
    const PixelBuffer shown = pixelBufferOf(*view.backBuffer());
    int red = 0;  // red laid over the paper
    for (int y = 0; y < shown.height(); ++y)
        for (int x = 0; x < shown.width(); ++x) {
            const uint8_t* p = shown.row(y) + 4 * x;
            red += p[2] == 0xFF && p[1] < 0x20 && p[0] < 0x20;
        }
    EXPECT_GT(red, 100);
    pen(0, 80, 79, 0);
    EXPECT_EQ(view.sketch.selectedShapeCount(), 1);
    EXPECT_EQ(view.sketch.currentGroupCount(), 0);
}

// ---- The commands ------------------------------------------------------------

TEST_F(PenTest, CommandsAreWholeCaseSensitiveTokensAndIgnoreWhatFollows) {
    press(MouseButton::left, 100, 100);
    move(150, 100);
    host.releaseCapture();  // a stroke still being drawn
    for (const char* nothing :
         {"Stroke End", "strokeend", "stroke", "stroke en", "show", "scale", "scale x", "frob"}) {
        EXPECT_EQ(view.execute(nothing), 1);
        EXPECT_EQ(view.sketch.shapes.count(), 0) << nothing;
        EXPECT_EQ(scale(), 1) << nothing;
    }
    EXPECT_EQ(view.execute(" \tstroke  \t end and more"), 1);
    EXPECT_EQ(view.sketch.shapes.count(), 1);

    // An empty stroke end does nothing at all.
    view.modified = false;
    view.execute("stroke end");
    EXPECT_FALSE(view.modified);

    const double pen = view.penSize;
    view.execute("scale 0.5 please");
    EXPECT_EQ(scale(), 0.5);
    EXPECT_EQ(view.penSize, pen / 2);
}

TEST_F(PenTest, EditLevelsDecideWhetherAStrokeEndFinishesTheShape) {
    view.sketch.editLevel = EditLevel::Stroke;
    mouseLine(100, 140, 100);
    mouseLine(100, 140, 200);
    EXPECT_EQ(view.sketch.shapes.count(), 0);
    EXPECT_EQ(view.sketch.current.groups.last().strokes.count(), 3);  // two and the next
    view.sketch.editLevel = EditLevel::Shape;
    mouseLine(100, 140, 300);
    ASSERT_EQ(view.sketch.shapes.count(), 1);
    EXPECT_EQ(pointCount(view.sketch.shapes[0]), 15);
}

TEST_F(PenTest, EveryCommandThatChangesTheDrawingMarksIt) {
    mouseLine(100, 140, 100);
    mouseLine(100, 140, 200);
    // Every change of the drawing marks it, or leaving the page would lose it.
    for (const char* command : {"invert", "back"}) {
        view.modified = false;
        view.execute(command);
        EXPECT_TRUE(view.modified) << command;
    }
    EXPECT_EQ(view.sketch.shapes.count(), 1);  // back took the last shape
    view.modified = false;
    view.sketch.shapes[0].selected = 1;
    view.execute("delete");  // the selection
    EXPECT_TRUE(view.modified);
    EXPECT_EQ(view.sketch.shapes.count(), 0);
    mouseLine(100, 140, 100);
    view.modified = false;

    // With nothing selected and no insertion point, delete commits the shape
    // being drawn and removes nothing else.
    press(MouseButton::left, 300, 300);
    move(340, 300);
    host.releaseCapture();
    view.execute("delete");
    EXPECT_EQ(view.sketch.shapes.count(), 2);
    EXPECT_FALSE(view.modified);
    view.sketch.insertIndex = 0;
    view.execute("delete");
    EXPECT_EQ(view.sketch.shapes.count(), 1);
    EXPECT_TRUE(view.modified);
    view.modified = false;
    view.execute("cls");
    EXPECT_TRUE(view.modified);
    EXPECT_EQ(view.sketch.shapes.count(), 0);
}

TEST_F(PenTest, TheTimerRepeatsItsCommand) {
    view.repeatCommand = "scale 0.5";
    host.advance(kCanvasTimerPeriodMs);
    pump();
    EXPECT_EQ(scale(), 0.5);
}

// ---- Touch beside the pen --------------------------------------------------

TEST_F(PenTest, TouchesDoNotDrawWhileThePenIsNearOrForHalfASecondAfter) {
    const Modifiers touch{.touch = true};
    host.penNear(true);
    press(MouseButton::left, 100, 100, touch);
    move(150, 100, touch);
    release(MouseButton::left, 150, 100, touch);
    EXPECT_EQ(view.history.undoCount(), 0);
    host.penNear(false);
    host.advance(400);
    press(MouseButton::left, 100, 100, touch);
    EXPECT_EQ(view.history.undoCount(), 0);
    host.advance(100);
    press(MouseButton::left, 100, 100, touch);
    move(150, 100, touch);
    release(MouseButton::left, 150, 100, touch);
    EXPECT_EQ(view.sketch.shapes.count(), 1);
    // A mouse is always a mouse.
    host.penNear(true);
    mouseLine(100, 140, 300);
    EXPECT_EQ(view.sketch.shapes.count(), 2);
}

}  // namespace
}  // namespace penwick
