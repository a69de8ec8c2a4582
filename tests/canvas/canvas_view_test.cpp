// The canvas on the headless host: what it shows (the drawing as the export
// draws it, faded shapes, the selection tint, the pen swatch), the preview,
// the view changes, picking, the frame time, load, and sizes of nothing.
#include "canvas/canvas_view.h"

#include <gtest/gtest.h>

#include <string>

#include "framework/platform/bitmap.h"
#include "host/window_style.h"
#include "model/outline.h"
#include "model/sketch_file.h"
#include "render/sketch_drawing.h"
#include "tests/framework/headless_fixture.h"
#include "tests/support/pixels.h"
#include "tests/support/temp_folder.h"

namespace penwick {
namespace {

using namespace host;
using testing::HeadlessTest;
using testing::sameColours;
using testing::sameColoursOutsideCorner;

const std::string kExample = std::string(PENWICK_SOURCE_DIR) + "/examples/flower.wnk";

// The picture the export draws of the example at this size.
PixelBuffer exportedPicture(int width, int height) {
    Sketch sketch;
    EXPECT_TRUE(loadSketchFile(kExample, sketch));
    sketch.setWindowFit(width, height);
    PixelBuffer picture;
    EXPECT_TRUE(drawSketchPicture(sketch, width, height, picture));
    return picture;
}

// A shape of one stroke through window points, committed at the end.
void addShape(Sketch& sketch, std::initializer_list<std::pair<double, double>> points,
              double radius, int32_t colour, int32_t fillColour) {
    sketch.current.colour = colour;
    sketch.current.fillColour = fillColour;
    for (auto [x, y] : points)
        sketch.addSample(x, y, radius);
    sketch.commitCurrent(-1);
}

uint32_t pixel(const PixelBuffer& buffer, int x, int y) {
    const uint8_t* p = buffer.row(y) + 4 * x;
    return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16;
}

// Red laid at full alpha over the paper (the blend's shift leaves a trace of
// what was below).
bool isRed(uint32_t colour) {
    return (colour >> 16) == 0xFF && (colour & 0xFF) <= 1 && ((colour >> 8) & 0xFF) <= 1;
}

class CanvasTest : public HeadlessTest {
  protected:
    CanvasTest() {
        CanvasView::frameTime = 0;
        CanvasView::platformRendering = false;
        frame_.create(nullptr, "frame", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, kNoWindow, 0, 0, 700,
                      500, 0);
        const Rect client = host.clientRect(frame_.handle());
        view.create(nullptr, "", WS_CHILD | WS_VISIBLE, 0, frame_.handle(), 0, 0, client.width(),
                    client.height(), 0);
        host.paint();
    }
    PixelBuffer shown() {
        host.paint();
        return pixelBufferOf(*view.backBuffer());
    }
    // Paints just this rectangle of the canvas.
    void paintOnly(const Rect& r) {
        host.invalidate(view.handle(), &r, false);
        host.paint(view.handle());
    }
    Rect client() const { return host.clientRect(view.handle()); }

    ktWnd frame_;
    CanvasView view;
};

TEST_F(CanvasTest, ShowsThePageAsTheExportDrawsItBesideThePenSwatchAtEverySize) {
    std::string error;
    ASSERT_TRUE(view.load(kExample, error)) << error;
    EXPECT_FALSE(view.modified);
    for (Rect size : {Rect{0, 0, 600, 400}, Rect{0, 0, 333, 517}}) {
        host.moveWindow(view.handle(), size, true);
        const PixelBuffer expected = exportedPicture(size.width(), size.height());
        const PixelBuffer& picture = shown();
        EXPECT_TRUE(sameColoursOutsideCorner(picture, expected, testing::kSwatchCornerWidth,
                                             testing::kSwatchCornerHeight));
        // The swatch stands in the corner.
        EXPECT_FALSE(sameColours(picture, expected));
    }
}

TEST_F(CanvasTest, FadedShapesLieUnderTracingPaperAndSelectedOnesAreTintedOnlyAtTheShapeLevel) {
    Sketch& s = view.sketch;
    addShape(s, {{100, 100}, {200, 100}}, 30, 0x000000, -1);  // black
    addShape(s, {{100, 300}, {200, 300}}, 30, 0x000000, -1);  // black, selected
    s.shapes[1].selected = 1;
    view.redrawAll();
    PixelBuffer picture = shown();
    // mix(black, blue 192, 3/4) is blue 144.
    EXPECT_EQ(pixel(picture, 150, 100), 0u);
    EXPECT_EQ(pixel(picture, 150, 300), 144u);
    s.editLevel = EditLevel::Group;
    view.redrawAll();
    EXPECT_EQ(pixel(shown(), 150, 300), 0u);

    // From the insertion point on, shapes are drawn half-way to white into
    // the faded buffer, which lies over the paper at alpha 223.
    s.editLevel = EditLevel::Shape;
    s.shapes[1].selected = 0;
    s.insertIndex = 0;
    view.redrawAll();
    const uint8_t* faded = view.buffers.faded().row(100) + 4 * 150;
    EXPECT_EQ(faded[0], 127);
    EXPECT_EQ(faded[1], 127);
    EXPECT_EQ(faded[2], 127);
    EXPECT_EQ(faded[3], 255);
    picture = shown();
    const int paper = 255, alpha = 255 * 223;
    const int expected = paper + ((alpha * (127 - paper)) >> 16);
    EXPECT_EQ(pixel(picture, 150, 100), uint32_t(expected) * 0x010101u);
    EXPECT_EQ(pixel(picture, 150, 300), uint32_t(expected) * 0x010101u);
    EXPECT_EQ(pixel(view.buffers.image(), 150, 100), 0xFFFFFFu);
}

TEST_F(CanvasTest, PaintingComposesOnlyWhatItMustYetEqualsLayingWholeBuffers) {
    Sketch& s = view.sketch;
    addShape(s, {{80, 80}, {300, 200}, {420, 90}}, 12, 0x204080, 0xC08040);
    addShape(s, {{50, 300}, {500, 380}}, 20, 0x000000, -1);
    addShape(s, {{400, 250}, {600, 420}}, 25, 0x00A000, 0x0000FF);
    s.insertIndex = 1;
    view.redrawAll();
    // A shape in the preview, then another after a discard.
    Shape passing = s.shapeForDrawing(0);
    view.drawShapeToPreview(passing);
    EXPECT_TRUE(view.discardPreview(false));
    EXPECT_TRUE(view.buffers.previewDirty());  // the flag stays until a full redraw
    Path lasso;
    lasso.setEllipse(RectF(200, 200, 320, 380), 8);  // partly under the sheet
    view.fillPathToPreview(lasso, 0xFF0000);
    const PixelBuffer& picture = shown();

    // The straightforward picture: every buffer laid whole.
    auto straightforward = [&] {
        PixelBuffer expected;
        EXPECT_TRUE(
            expected.allocate(client().width(), client().height(), PixelFormat::rgb32(), 0, 0));
        expected.composite(view.buffers.image(), 0, 0, -1, -1, 0);
        expected.composite(view.buffers.preview(), 0, 0, -1, -1, 8 + 255);
        expected.composite(view.buffers.faded(), 0, 0, -1, -1, 8 + 223);
        return expected;
    };
    EXPECT_TRUE(sameColoursOutsideCorner(picture, straightforward(), testing::kSwatchCornerWidth,
                                         testing::kSwatchCornerHeight));
    EXPECT_TRUE(isRed(pixel(picture, 260, 215)));

    // Committing lays the preview onto the image (under the sheet); a full
    // redraw cleans it.
    EXPECT_TRUE(view.discardPreview(true));
    EXPECT_TRUE(isRed(pixel(view.buffers.image(), 260, 215)));
    view.fillPathToPreview(lasso, 0x0000FF);
    host.invalidate(view.handle(), nullptr, false);
    EXPECT_TRUE(sameColoursOutsideCorner(shown(), straightforward(), testing::kSwatchCornerWidth,
                                         testing::kSwatchCornerHeight));
    view.redrawAll();
    EXPECT_FALSE(view.buffers.previewDirty());
    EXPECT_FALSE(view.discardPreview(true));
    EXPECT_FALSE(isRed(pixel(view.buffers.image(), 260, 215)));
    // A path of nothing leaves the preview clean.
    view.fillPathToPreview(Path{}, 0xFF0000);
    EXPECT_FALSE(view.buffers.previewDirty());
}

TEST_F(CanvasTest, PaintsEqualLayingWholeBuffersThroughRandomDrawingDiscardsAndCommits) {
    // Tips of any size at fractional places, whose curves overreach the
    // discs of their points and so the dirty rectangle.
    Sketch& s = view.sketch;
    uint32_t seed = 12345;
    auto next = [&](double lo, double hi) {
        seed = seed * 1664525u + 1013904223u;
        return lo + (hi - lo) * double(seed >> 8) / double(1u << 24);
    };
    view.redrawAll();
    for (int i = 0; i < 6; ++i)
        addShape(s, {{next(0, 600), next(0, 400)}, {next(0, 600), next(0, 400)}}, next(2, 150),
                 0x102030 * (i + 1), -1);
    s.insertIndex = 2;
    view.redrawAll();
    for (int step = 0; step < 24; ++step) {
        Shape passing;
        passing.colour = int32_t(0x00FF00 + step);
        passing.groups.append(StrokeGroup{});
        Stroke stroke;
        for (int k = 0; k < 2; ++k) {
            StrokePoint p;
            p.x = float(next(0, 650));
            p.y = float(next(0, 450));
            p.radius = float(next(1, 40));
            stroke.points.append(p);
        }
        passing.groups[0].strokes.append(stroke);
        view.drawShapeToPreview(passing);
        if (step % 3 == 1) view.discardPreview(false);
        if (step % 5 == 4) view.discardPreview(true);
        host.invalidate(view.handle(), nullptr, false);
        PixelBuffer expected;
        ASSERT_TRUE(
            expected.allocate(client().width(), client().height(), PixelFormat::rgb32(), 0, 0));
        expected.composite(view.buffers.image(), 0, 0, -1, -1, 0);
        expected.composite(view.buffers.preview(), 0, 0, -1, -1, 8 + 255);
        expected.composite(view.buffers.faded(), 0, 0, -1, -1, 8 + 223);
        const PixelBuffer& picture = shown();
        std::string where;
        for (int y = 0; y < picture.height() && where.empty(); ++y)
            for (int x = y < testing::kSwatchCornerHeight ? testing::kSwatchCornerWidth : 0;
                 x < picture.width() && where.empty(); ++x)
                if (pixel(picture, x, y) != pixel(expected, x, y))
                    where = std::to_string(x) + "," + std::to_string(y);
        ASSERT_EQ(where, "") << "step " << step;
    }
}

TEST_F(CanvasTest, ThePenSwatchIsDrawnForPaintsThatReachTheCorner) {
    view.penSize = 6;
    view.sketch.current.colour = 0x000000;
    view.sketch.current.fillColour = -1;
    view.redrawAll();
    PixelBuffer picture = shown();
    // No fill: the middle shows the paper, the shadow has the band's shape
    // (darker just below and right of the band, not inside the ellipse).
    EXPECT_EQ(pixel(picture, 32, 16), 0xFFFFFFu);
    EXPECT_EQ(pixel(picture, 1, 16), 0u);
    const uint32_t belowRight = pixel(picture, 33, 35);
    EXPECT_LT(belowRight & 0xFF, 255u);
    EXPECT_GT(belowRight & 0xFF, 200u);

    view.sketch.current.colour = 0x0000FF;
    view.sketch.current.fillColour = 0x00FF00;
    paintOnly({70, 0, 200, 100});
    picture = pixelBufferOf(*view.backBuffer());
    EXPECT_EQ(pixel(picture, 1, 16), 0u);  // not drawn again
    paintOnly({10, 10, 200, 100});
    picture = pixelBufferOf(*view.backBuffer());
    EXPECT_EQ(pixel(picture, 1, 16), 0x0000FFu);
    EXPECT_EQ(pixel(picture, 32, 16), 0x00FF00u);
}

TEST_F(CanvasTest, TheTitleShowsTheFirstFrameTimeAloneAndThenARunningAverage) {
    std::vector<std::int64_t> readings{100, 120, 500, 540};
    std::size_t next = 0;
    host.setProcessClock([&] { return next < readings.size() ? readings[next++] : 0; });
    view.redrawAll();
    EXPECT_EQ(host.windowText(frame_.handle()), "20 ms/frame");
    view.redrawAll();
    EXPECT_EQ(host.windowText(frame_.handle()), "30 ms/frame");
}

TEST_F(CanvasTest, ShapeAtAnswersTheTopmostCommittedShapeNeverTheOneBeingDrawn) {
    Sketch& s = view.sketch;
    view.redrawAll();
    addShape(s, {{100, 100}, {300, 100}}, 20, 0x000000, -1);
    addShape(s, {{200, 50}, {200, 250}}, 20, 0x000000, -1);
    addShape(s, {{400, 300}, {500, 300}, {450, 400}}, 2, -1, 0x00FF00);  // fill only
    EXPECT_EQ(view.shapeAt(200, 100), 1);
    EXPECT_EQ(view.shapeAt(120, 100), 0);
    EXPECT_EQ(view.shapeAt(450, 330), 2);
    EXPECT_EQ(view.shapeAt(600, 30), -1);
    s.current.colour = 0;
    s.addSample(600, 30, 20);
    s.addSample(620, 30, 20);
    EXPECT_EQ(view.shapeAt(610, 30), -1);
}

TEST_F(CanvasTest, ShowAllFitsTheDrawingOrResetsAndMovesOnlyTheSelection) {
    Sketch& s = view.sketch;
    const Rect c = client();
    // Nothing drawn: the view goes back to the start, and the page counts
    // as changed.
    view.scaleBy(3);
    view.modified = false;
    view.showAll();
    EXPECT_EQ(s.pageTransform(), Transform3D::identity());
    EXPECT_TRUE(view.modified);

    // A line of no height has no area to fit.
    view.redrawAll();
    addShape(s, {{100, 100}, {300, 100}}, 0, 0x000000, -1);
    view.scaleBy(2);
    view.showAll();
    EXPECT_EQ(s.pageTransform(), Transform3D::identity());

    // A drawing ends up centred and as large as fits inside the margin.
    addShape(s, {{100, 100}, {200, 150}}, 10, 0x000000, -1);
    view.showAll();
    RectF b = s.viewBounds();
    EXPECT_NEAR((b.left + b.right) / 2, c.width() / 2, 1e-3);
    EXPECT_NEAR((b.top + b.bottom) / 2, c.height() / 2, 1e-3);
    const double shrunkW = c.width() - 16, shrunkH = c.height() - 16;
    EXPECT_NEAR(std::max(b.width() / shrunkW, b.height() / shrunkH), 1.0, 1e-4);

    // With a selection, the change fitted to all shapes moves the selected
    // ones only.
    view.scaleBy(0.5);
    const Transform3D page = s.pageTransform();
    s.shapes[1].selected = 1;
    const RectF all = s.viewBounds();
    const RectF before = bounds(s.shapeForDrawing(1).groups);
    const RectF other = bounds(s.shapeForDrawing(0).groups);
    view.showAll();
    EXPECT_EQ(s.pageTransform(), page);
    const double scale = std::min(shrunkH / all.height(), shrunkW / all.width());
    const double mx = (double(all.left) + all.right) / 2, my = (double(all.top) + all.bottom) / 2;
    const RectF after = bounds(s.shapeForDrawing(1).groups);
    EXPECT_NEAR(after.left, (before.left - mx) * scale + c.width() / 2, 1e-2);
    EXPECT_NEAR(after.bottom, (before.bottom - my) * scale + c.height() / 2, 1e-2);
    const RectF otherAfter = bounds(s.shapeForDrawing(0).groups);
    EXPECT_NEAR(otherAfter.left, other.left, 1e-3);
    EXPECT_NEAR(otherAfter.top, other.top, 1e-3);
}

TEST_F(CanvasTest, ZoomingKeepsThePenItsSizeInDrawingUnitsAndRedrawsAtTheNextTick) {
    Sketch& s = view.sketch;
    view.redrawAll();
    s.addSample(100, 100, view.penSize / 2);
    const float before = s.current.groups[0].strokes[0].points[0].radius;
    view.scaleBy(2);
    view.scaleBy(2);
    EXPECT_DOUBLE_EQ(view.penSize, 4.0);
    EXPECT_TRUE(view.modified);
    s.startStroke();
    s.addSample(300, 100, view.penSize / 2);
    EXPECT_FLOAT_EQ(s.current.groups[0].strokes[1].points[0].radius, before);

    // The view change is drawn at the next tick of the timer, not before.
    s.commitCurrent(-1);
    view.viewChanged = true;
    const PixelBuffer& stale = shown();
    const uint32_t at = pixel(stale, 300, 100);
    host.advance(kCanvasTimerPeriodMs);
    pump();
    EXPECT_FALSE(view.viewChanged);
    EXPECT_NE(pixel(shown(), 300, 100), at);
}

TEST_F(CanvasTest, AWindowOfNoSizeHasNoBuffersAndDrawsNothing) {
    view.redrawAll();
    addShape(view.sketch, {{10, 10}, {50, 50}}, 5, 0, -1);
    host.moveWindow(view.handle(), {0, 0, 0, 300}, true);
    EXPECT_TRUE(view.buffers.image().isEmpty());
    view.drawShapeToPreview(view.sketch.shapeForDrawing(0));
    EXPECT_TRUE(view.discardPreview(true));
    host.paint();
    view.showAll();
    view.redrawAll();
    host.moveWindow(view.handle(), {0, 0, 200, 0}, true);
    EXPECT_TRUE(view.buffers.faded().isEmpty());
    host.moveWindow(view.handle(), {0, 0, 200, 100}, true);
    EXPECT_EQ(view.buffers.width(), 200);
    EXPECT_EQ(pixel(shown(), 150, 90), 0xFFFFFFu);
}

TEST_F(CanvasTest, LoadEmptiesTheUndoStepsButNotTheRedoOnesAndADamagedFileChangesNothing) {
    std::string error;
    view.history.takeSnapshot(view.sketch);
    view.history.takeSnapshot(view.sketch);
    ASSERT_EQ(view.history.undo(1, view.sketch), 1);
    view.modified = true;
    ASSERT_TRUE(view.load(kExample, error));
    EXPECT_FALSE(view.modified);
    EXPECT_EQ(view.history.undoCount(), 0);
    EXPECT_EQ(view.history.redoCount(), 1);

    const int32_t shapes = view.sketch.shapes.count();
    view.history.takeSnapshot(view.sketch);
    view.modified = true;
    TempFolder folder;
    writeFileText(folder.file("broken.wnk"), "not a sketch");
    EXPECT_FALSE(view.load(folder.file("broken.wnk"), error));
    EXPECT_NE(error, "");
    EXPECT_FALSE(view.load(folder.file("missing.wnk"), error));
    EXPECT_NE(error, "");
    EXPECT_EQ(view.sketch.shapes.count(), shapes);
    EXPECT_TRUE(view.modified);
    EXPECT_EQ(view.history.undoCount(), 1);
}

TEST_F(CanvasTest, TheVectorDrawingFillsEachGroupsAreaThenItsInkInExactColours) {
    Sketch& s = view.sketch;
    view.redrawAll();
    addShape(s, {{100, 100}, {200, 120}, {150, 200}}, 8, 0x112233, 0x445566);
    addShape(s, {{300, 300}, {350, 320}}, 8, 0x778899, -1);
    std::vector<headless::DrawOp> ops;
    headless::RecordingContext dc(
        {nullptr, [&](Brush b) { return host.brushColour(b).value_or(0); }}, 1000, 1000, 100, 100,
        &ops);
    view.redrawAll(&dc, 2.0);
    std::vector<ColourRef> fills;
    Rect reach{1 << 30, 1 << 30, -(1 << 30), -(1 << 30)};
    for (const headless::DrawOp& op : ops) {
        if (op.kind == headless::DrawOp::Kind::fillPath) fills.push_back(op.colour);
        for (const Point& p : op.points)
            reach = {std::min(reach.left, p.x), std::min(reach.top, p.y),
                     std::max(reach.right, p.x), std::max(reach.bottom, p.y)};
    }
    ASSERT_FALSE(ops.empty());
    EXPECT_EQ(ops.front().kind, headless::DrawOp::Kind::setFillMode);
    EXPECT_EQ(ops.front().flags, std::uint32_t(FillMode::winding));
    EXPECT_EQ(fills, (std::vector<ColourRef>{fromRgbColour(0x445566), fromRgbColour(0x112233),
                                             fromRgbColour(0x778899)}));
    // At twice the window's scale the figures lie inside twice the
    // drawing's bounds (give or take the outline's corner points) and
    // fill most of them.
    const RectF drawn = s.viewBounds();
    EXPECT_GE(reach.left, 2 * drawn.left - 4);
    EXPECT_GE(reach.top, 2 * drawn.top - 4);
    EXPECT_LE(reach.right, 2 * drawn.right + 4);
    EXPECT_LE(reach.bottom, 2 * drawn.bottom + 4);
    EXPECT_GT(reach.width(), 2 * 0.8 * drawn.width());
    EXPECT_GT(reach.height(), 2 * 0.8 * drawn.height());

    // The platform rendering mode draws the same onto the back buffer and
    // leaves it alone when painting.
    CanvasView::platformRendering = true;
    view.redrawAll();
    host.paint();
    EXPECT_EQ(pixel(pixelBufferOf(*view.backBuffer()), 5, 300), 0xFFFFFFu);
    CanvasView::platformRendering = false;
}

TEST_F(CanvasTest, CopyPutsTheWindowOrTheWholeDrawingOnTheClipboardAtTenThousandUnits) {
    host.moveWindow(view.handle(), {0, 0, 800, 600}, true);
    Sketch& s = view.sketch;
    view.redrawAll();
    addShape(s, {{100, 100}, {270, 100}}, 15, 0x336699, -1);  // 200 x 30 with its caps
    // The visible window: e = 10000 / 800, the frame in 0.01 mm of the
    // display's size.
    view.copyAsMetafile(false);
    ASSERT_EQ(host.pictureRequests().size(), 1u);
    EXPECT_EQ(host.pictureRequests()[0].description, "A Meta File");
    const auto reference = host.getDC(view.handle());
    const int64_t mmX = reference->deviceCaps(HORZSIZE), mmY = reference->deviceCaps(VERTSIZE);
    ASSERT_TRUE(host.pictureRequests()[0].frame.has_value());
    EXPECT_EQ(*host.pictureRequests()[0].frame,
              (Rect{0, 0, int(12.5 * double(800 * mmX * 100) / 800),
                    int(12.5 * double(600 * mmY * 100) / 600)}));
    const std::vector<headless::DrawOp>* ops = host.clipboardPicture();
    ASSERT_NE(ops, nullptr);
    ASSERT_FALSE(ops->empty());
    EXPECT_EQ(ops->front().kind, headless::DrawOp::Kind::fillRect);
    EXPECT_EQ(ops->front().rect, (Rect{0, 0, 10000, 7500}));
    EXPECT_EQ(ops->front().colour, fromRgbColour(s.background));
    auto reach = [](const std::vector<headless::DrawOp>& drawn) {
        int right = 0;
        for (const headless::DrawOp& op : drawn)
            if (op.kind == headless::DrawOp::Kind::bezierTo)
                for (const Point& p : op.points)
                    right = std::max(right, p.x);
        return right;
    };
    const RectF b = s.viewBounds();
    EXPECT_NEAR(reach(*ops), 12.5 * b.right, 12.5 * 3);

    // The whole drawing: e = 10000 / its larger side, no frame, no paper.
    view.copyAsMetafile(true);
    ASSERT_EQ(host.pictureRequests().size(), 2u);
    EXPECT_FALSE(host.pictureRequests()[1].frame.has_value());
    ops = host.clipboardPicture();
    ASSERT_NE(ops, nullptr);
    EXPECT_EQ(ops->front().kind, headless::DrawOp::Kind::setFillMode);
    const double e = 10000 / std::max(b.width(), b.height());
    EXPECT_NEAR(reach(*ops), e * b.right, e * 3);

    // Nothing to copy the whole of: a beep, no picture.
    Sketch empty;
    s.shapes = empty.shapes;
    view.copyAsMetafile(true);
    EXPECT_EQ(host.pictureRequests().size(), 2u);
    EXPECT_EQ(host.beeps(), std::vector<std::uint32_t>{MB_ICONHAND});

    // Failures say so and leave no picture behind.
    host.setPicturesAvailable(false);
    view.copyAsMetafile(false);
    host.setPicturesAvailable(true);
    host.setClipboardBusy(true);
    view.copyAsMetafile(false);
    ASSERT_EQ(host.messageBoxes().size(), 2u);
    EXPECT_EQ(host.messageBoxes()[0].text, "Failed to create meta file!");
    EXPECT_EQ(host.messageBoxes()[1].text, "Failed to copy!");
    EXPECT_EQ(host.messageBoxes()[1].title, "");
    EXPECT_EQ(host.messageBoxes()[1].owner, view.handle());
}

}  // namespace
}  // namespace penwick
