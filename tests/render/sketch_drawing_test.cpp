#include "render/sketch_drawing.h"

#include <gtest/gtest.h>

#include <cmath>

#include "render/pixel_format.h"

using namespace penwick;

namespace {

constexpr int kW = 64;
constexpr int kH = 48;

// The raw value of a 32-bit pixel: 0xAARRGGBB as its bytes lie.
uint32_t pixel(PixelBuffer& b, int x, int y) {
    return loadPixel(b.pixelAt(x, y), 4);
}

Stroke strokeOf(std::initializer_list<StrokePoint> points, bool closed = false) {
    Stroke s;
    for (const StrokePoint& p : points)
        s.points.append(p);
    s.closed = closed ? 1 : 0;
    return s;
}

// A thick horizontal bar from (x0, y) to (x1, y), 10 pixels wide; with an
// identity view, sketch units are pixels.
Shape bar(float x0, float x1, float y, int32_t colour) {
    Shape s;
    s.colour = colour;
    StrokeGroup g;
    g.strokes.append(strokeOf({{x0, y, 5}, {x1, y, 5}}));
    s.groups.append(g);
    return s;
}

// A closed square loop (10, 10)-(50, 40) with a thin ink line.
Shape square(int32_t colour, int32_t fillColour) {
    Shape s;
    s.colour = colour;
    s.fillColour = fillColour;
    StrokeGroup g;
    g.strokes.append(strokeOf({{10, 10, 2}, {50, 10, 2}, {50, 40, 2}, {10, 40, 2}}, true));
    s.groups.append(g);
    return s;
}

struct Buffers {
    PixelBuffer image;
    PixelBuffer faded;
    Buffers() {
        image.allocate(kW, kH, PixelFormat::rgb32(), 0, 0x55555555);
        faded.allocate(kW, kH, PixelFormat::argb32(), 0, 0x55555555);
    }
};

}  // namespace

TEST(SketchDrawing, MixesEveryByteAndTruncates) {
    EXPECT_EQ(mixColour(0x000000, 0xFFFFFF, 0.5), 0x7F7F7Fu);
    EXPECT_EQ(mixColour(0x000000, 0x0000C0, 0.75), 0x000090u);  // blue 144
    EXPECT_EQ(mixColour(0x7F7F7F, 0x0000C0, 0.75), 0x1F1FAFu);  // 31.75 and 175.75
    EXPECT_EQ(mixColour(0xFF000000, 0x00000000, 0.5), 0x7F000000u);
    EXPECT_EQ(mixColour(0x123456, 0xABCDEF, 0.0), 0x123456u);
}

TEST(SketchDrawing, PaperThenShapesInOrderWithTheShapeBeingDrawnOnTop) {
    Sketch sketch;
    sketch.background = 0xFFEEDD;
    sketch.shapes.append(bar(5, 45, 20, 0x112233));
    sketch.shapes.append(bar(30, 60, 20, 0x445566));
    sketch.current = bar(40, 60, 20, 0x778899);
    Buffers b;
    drawSketch(sketch, b.image, b.faded);

    EXPECT_EQ(pixel(b.image, 0, 0), 0x00FFEEDDu);  // paper, top byte 0
    EXPECT_EQ(pixel(b.image, 63, 47), 0x00FFEEDDu);
    EXPECT_EQ(pixel(b.image, 15, 20), 0x00112233u);  // first shape alone
    EXPECT_EQ(pixel(b.image, 32, 20), 0x00445566u);  // second over first
    EXPECT_EQ(pixel(b.image, 50, 20), 0x00778899u);  // being drawn, last
    EXPECT_EQ(pixel(b.image, 15, 30), 0x00FFEEDDu);
    // Without an insertion point the faded buffer is not touched.
    EXPECT_EQ(pixel(b.faded, 15, 20), 0x55555555u);
}

TEST(SketchDrawing, FillsTheCentreLineBeforeTheOutline) {
    Sketch sketch;
    sketch.shapes.append(square(0x000000, 0xFF0000));
    Buffers b;
    drawSketch(sketch, b.image, b.faded);
    EXPECT_EQ(pixel(b.image, 30, 25), 0x00FF0000u);  // inside: fill
    EXPECT_EQ(pixel(b.image, 30, 10), 0x00000000u);  // on the line: ink over fill
    EXPECT_EQ(pixel(b.image, 30, 9), 0x00000000u);   // outside half of the line
    EXPECT_EQ(pixel(b.image, 30, 5), 0x00FFFFFFu);

    // No ink: only the fill; no fill: a ring with paper inside.
    sketch.shapes[0] = square(-1, 0xFF0000);
    drawSketch(sketch, b.image, b.faded);
    EXPECT_EQ(pixel(b.image, 30, 25), 0x00FF0000u);
    EXPECT_EQ(pixel(b.image, 30, 9), 0x00FFFFFFu);
    sketch.shapes[0] = square(0x0000FF, -1);
    drawSketch(sketch, b.image, b.faded);
    EXPECT_EQ(pixel(b.image, 30, 25), 0x00FFFFFFu);
    EXPECT_EQ(pixel(b.image, 30, 10), 0x000000FFu);
}

TEST(SketchDrawing, ShapesFromTheInsertionPointGoFadedIntoTheFadedBuffer) {
    Sketch sketch;
    sketch.shapes.append(bar(5, 25, 10, 0x000000));
    sketch.shapes.append(bar(5, 25, 30, 0x000000));
    sketch.current = bar(35, 60, 30, 0x000000);
    sketch.insertIndex = 1;
    Buffers b;
    drawSketch(sketch, b.image, b.faded);

    EXPECT_EQ(pixel(b.image, 15, 10), 0x00000000u);  // before the insertion point
    EXPECT_EQ(pixel(b.image, 15, 30), 0x00FFFFFFu);
    EXPECT_EQ(pixel(b.faded, 15, 30), 0xFF7F7F7Fu);  // grey 127, opaque
    EXPECT_EQ(pixel(b.faded, 45, 30), 0xFF7F7F7Fu);  // the shape being drawn too
    EXPECT_EQ(pixel(b.faded, 15, 10), 0x00000000u);  // cleared to transparent

    // Over white at alpha 223: 255 + ((255 × 223 × (127 − 255)) >> 16) = 143.
    composeFaded(b.image, b.faded);
    EXPECT_EQ(pixel(b.image, 15, 30), 0x008F8F8Fu);
    EXPECT_EQ(pixel(b.image, 15, 10), 0x00000000u);
    EXPECT_EQ(pixel(b.image, 15, 40), 0x00FFFFFFu);

    // Insertion point 0: everything is faded.
    sketch.insertIndex = 0;
    drawSketch(sketch, b.image, b.faded);
    EXPECT_EQ(pixel(b.image, 15, 10), 0x00FFFFFFu);
    EXPECT_EQ(pixel(b.faded, 15, 10), 0xFF7F7F7Fu);
}

TEST(SketchDrawing, SelectedShapesAreTintedBlueOnlyAtEditLevelShape) {
    Sketch sketch;
    sketch.shapes.append(bar(5, 25, 10, 0x000000));
    sketch.shapes.append(bar(5, 25, 30, 0x000000));
    sketch.shapes[0].selected = 1;
    sketch.shapes[1].selected = 1;
    sketch.insertIndex = 1;
    Buffers b;
    drawSketch(sketch, b.image, b.faded);
    EXPECT_EQ(pixel(b.image, 15, 10), 0x00000090u);  // blue 144
    EXPECT_EQ(pixel(b.faded, 15, 30), 0xFF1F1FAFu);  // faded, then tinted

    sketch.editLevel = EditLevel::Group;
    drawSketch(sketch, b.image, b.faded);
    EXPECT_EQ(pixel(b.image, 15, 10), 0x00000000u);
    EXPECT_EQ(pixel(b.faded, 15, 30), 0xFF7F7F7Fu);
}

TEST(SketchDrawing, ShapesAreSeenThroughTheView) {
    // The view doubles the bar (radius 10) and moves it down by 8 pixels.
    Sketch sketch;
    Transform3D view;
    view.thenScale(2.0).thenTranslate(Vec3d{0, 8, 0});
    sketch.setPageTransform(view);
    sketch.shapes.append(bar(2, 12, 4, 0x000000));  // (4, 16)-(24, 16)
    Buffers b;
    drawSketch(sketch, b.image, b.faded);
    EXPECT_EQ(pixel(b.image, 14, 16), 0x00000000u);
    EXPECT_EQ(pixel(b.image, 14, 10), 0x00000000u);
    EXPECT_EQ(pixel(b.image, 14, 22), 0x00000000u);
    EXPECT_EQ(pixel(b.image, 30, 16), 0x00000000u);
    EXPECT_EQ(pixel(b.image, 14, 2), 0x00FFFFFFu);
    EXPECT_EQ(pixel(b.image, 14, 30), 0x00FFFFFFu);
    EXPECT_EQ(pixel(b.image, 40, 16), 0x00FFFFFFu);
}

TEST(SketchDrawing, ShapesOutsideTheBufferAndEmptyGroupsDrawNothing) {
    Sketch sketch;
    sketch.shapes.append(bar(-60, -20, 20, 0x000000));
    sketch.shapes.append(bar(100, 200, 20, 0x000000));
    sketch.shapes.append(bar(10, 50, -30, 0x000000));
    Shape hollow;
    hollow.fillColour = 0x00FF00;
    hollow.groups.append(StrokeGroup{});
    sketch.shapes.append(hollow);
    Buffers b;
    drawSketch(sketch, b.image, b.faded);
    for (int y = 0; y < kH; ++y)
        for (int x = 0; x < kW; ++x)
            ASSERT_EQ(pixel(b.image, x, y), 0x00FFFFFFu) << x << "," << y;
}

TEST(SketchDrawing, PictureIsTheImageWithTheFadedShapesComposed) {
    Sketch sketch;
    sketch.shapes.append(bar(5, 25, 10, 0x000000));
    sketch.shapes.append(bar(5, 25, 30, 0x224466));
    sketch.insertIndex = 1;

    PixelBuffer picture;
    ASSERT_TRUE(drawSketchPicture(sketch, kW, kH, picture));
    EXPECT_EQ(picture.format().code, 3);
    Buffers b;
    drawSketch(sketch, b.image, b.faded);
    composeFaded(b.image, b.faded);
    for (int y = 0; y < kH; ++y)
        for (int x = 0; x < kW; ++x)
            ASSERT_EQ(pixel(picture, x, y), pixel(b.image, x, y));

    EXPECT_FALSE(drawSketchPicture(sketch, 0, 10, picture));
    EXPECT_TRUE(picture.isEmpty());
}
