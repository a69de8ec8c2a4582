#include "render/sketch_drawing.h"

#include <cmath>

#include "model/outline.h"
#include "render/rasterizer.h"

namespace penwick {

namespace {

// Shapes from the insertion point on are drawn half-way to white.
constexpr uint32_t kFadeTowards = 0xFFFFFF;
constexpr double kFadeAmount = 0.5;
// Selected shapes at edit level Shape are drawn three quarters of the way to
// a dark blue (192 in the colour's low, blue byte).
constexpr uint32_t kSelectionTint = 0x0000C0;
constexpr double kSelectionAmount = 0.75;
// Global alpha of the faded buffer over the image (composite mode 8 + 223).
constexpr int kFadedCompositeMode = 8 + 223;

int32_t mixed(int32_t colour, uint32_t towards, double t) {
    if (colour < 0) return colour;
    return static_cast<int32_t>(mixColour(static_cast<uint32_t>(colour), towards, t));
}

}  // namespace

uint32_t mixColour(uint32_t c, uint32_t d, double t) {
    uint32_t result = 0;
    for (int shift = 0; shift < 32; shift += 8) {
        const double a = double((c >> shift) & 0xFF);
        const double b = double((d >> shift) & 0xFF);
        const auto byte = static_cast<uint32_t>(std::trunc((1.0 - t) * a + t * b));
        result |= (byte & 0xFF) << shift;
    }
    return result;
}

void drawShape(PixelBuffer& target, const Shape& shape, int32_t colour, int32_t fillColour) {
    const RectF b = bounds(shape.groups);
    if (b.right <= 0 || b.bottom <= 0 || float(target.width()) < b.left ||
        float(target.height()) < b.top)
        return;

    Rasterizer fill;
    fill.setTarget(&target);
    fill.setColour(static_cast<uint32_t>(fillColour));
    Rasterizer ink;
    ink.setTarget(&target);
    ink.setColour(static_cast<uint32_t>(colour));

    for (const StrokeGroup& g : shape.groups) {
        if (g.strokes.isEmpty()) continue;
        if (fillColour >= 0) {
            const Path p = centreLine(g);
            if (!p.isEmpty()) fill.fill(p);
        }
        if (colour >= 0) {
            const Path p = outline(g);
            if (!p.isEmpty()) ink.fill(p);
        }
    }
}

void drawSketch(const Sketch& sketch, PixelBuffer& image, PixelBuffer& faded) {
    const int32_t insertIndex = sketch.insertIndex;
    // The paper's top byte is 0 in every pixel of the image buffer.
    image.fillAll(sketch.background & 0xFFFFFF);
    if (insertIndex >= 0) faded.fillAll(0);

    const bool tintSelected = sketch.editLevel == EditLevel::Shape;
    const int32_t count = sketch.shapes.count();
    for (int32_t i = 0; i <= count; ++i) {
        const Shape s = sketch.shapeForDrawing(i);
        const bool isFaded = insertIndex >= 0 && i >= insertIndex;
        int32_t colour = s.colour;
        int32_t fillColour = s.fillColour;
        if (isFaded) {
            colour = mixed(colour, kFadeTowards, kFadeAmount);
            fillColour = mixed(fillColour, kFadeTowards, kFadeAmount);
        }
        if (s.selected && tintSelected) {
            colour = mixed(colour, kSelectionTint, kSelectionAmount);
            fillColour = mixed(fillColour, kSelectionTint, kSelectionAmount);
        }
        drawShape(isFaded ? faded : image, s, colour, fillColour);
    }
}

void composeFaded(PixelBuffer& target, const PixelBuffer& faded) {
    target.composite(faded, 0, 0, faded.width(), faded.height(), kFadedCompositeMode);
}

bool drawSketchPicture(const Sketch& sketch, int width, int height, PixelBuffer& picture) {
    picture = PixelBuffer();
    if (!picture.allocate(width, height, PixelFormat::rgb32(), 0, 0)) return false;
    PixelBuffer faded;
    if (sketch.insertIndex >= 0 && !faded.allocate(width, height, PixelFormat::argb32(), 0, 0)) {
        picture = PixelBuffer();
        return false;
    }
    drawSketch(sketch, picture, faded);
    if (sketch.insertIndex >= 0) composeFaded(picture, faded);
    return true;
}

}  // namespace penwick
