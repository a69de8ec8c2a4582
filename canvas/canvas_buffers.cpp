#include "canvas/canvas_buffers.h"

#include <algorithm>
#include <cmath>

#include "model/outline.h"
#include "render/rasterizer.h"
#include "render/sketch_drawing.h"

namespace penwick {

namespace {

// Composite modes: 8 + the global alpha.
constexpr int kCopy = 0;
constexpr int kPreviewMode = 8 + 255;
constexpr int kFadedMode = 8 + 223;

host::Rect intersect(const host::Rect& a, const host::Rect& b) {
    return {std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right),
            std::min(a.bottom, b.bottom)};
}

host::Rect unite(const host::Rect& a, const host::Rect& b) {
    if (a.isEmpty()) return b;
    if (b.isEmpty()) return a;
    return {std::min(a.left, b.left), std::min(a.top, b.top), std::max(a.right, b.right),
            std::max(a.bottom, b.bottom)};
}

// Whether a shape's bounds reach into a buffer of this size at all.
bool reaches(const RectF& b, const PixelBuffer& buffer) {
    return b.right > 0 && b.bottom > 0 && float(buffer.width()) >= b.left &&
           float(buffer.height()) >= b.top;
}

// The pixels a fill whose curves lie inside `b` can touch, with pixels to
// spare on every side for the rasterizer's own margins, held to a buffer's
// size.
host::Rect coveredPixels(const RectF& b, int width, int height) {
    const double left = std::floor(double(b.left)) - 3;
    const double top = std::floor(double(b.top)) - 3;
    const double right = std::ceil(double(b.right)) + 3;
    const double bottom = std::ceil(double(b.bottom)) + 3;
    auto clamp = [](double v, int limit) { return int(std::clamp(v, 0.0, double(limit))); };
    return {clamp(left, width), clamp(top, height), clamp(right, width), clamp(bottom, height)};
}

// Lays `source` over `target` inside `area` (already inside both), pixel
// for pixel at the same place.
void composeArea(PixelBuffer& target, PixelBuffer& source, const host::Rect& area, int mode) {
    if (area.isEmpty()) return;
    PixelBuffer part;
    part.subView(source, area.left, area.top, area.width(), area.height());
    target.composite(part, area.left, area.top, area.width(), area.height(), mode);
}

// The bounds of what filling a shape (in window pixels) can touch: the
// control points of its outlines and centre lines, which the curves lie
// inside. The discs of its points are not enough: a tip's curve can reach
// past them.
RectF paintedBounds(const Shape& shape) {
    RectF all = RectF::emptyRect();
    bool first = true;
    auto add = [&](const Path& p) {
        if (p.isEmpty()) return;
        const RectF b = p.bounds();
        all = first
                  ? b
                  : RectF::fromCoords(std::min(all.left, b.left), std::min(all.top, b.top),
                                      std::max(all.right, b.right), std::max(all.bottom, b.bottom));
        first = false;
    };
    for (const StrokeGroup& g : shape.groups) {
        if (g.strokes.isEmpty()) continue;
        if (shape.fillColour >= 0) add(centreLine(g));
        if (shape.colour >= 0) add(outline(g));
    }
    return all;
}

}  // namespace

void CanvasBuffers::resize(int width, int height) {
    image_ = PixelBuffer();
    preview_ = PixelBuffer();
    faded_ = PixelBuffer();
    underSheet_ = PixelBuffer();
    underSheetReady_ = false;
    previewArea_ = {};
    fadedArea_ = {};
    if (width <= 0 || height <= 0) return;
    // A size whose memory cannot be had leaves the buffers empty, as a size
    // of nothing does.
    if (!image_.allocate(width, height, PixelFormat::rgb32(), 0, 0) ||
        !preview_.allocate(width, height, PixelFormat::argb32(), 0, 0) ||
        !faded_.allocate(width, height, PixelFormat::argb32(), 0, 0)) {
        image_ = PixelBuffer();
        preview_ = PixelBuffer();
        faded_ = PixelBuffer();
    }
}

void CanvasBuffers::redraw(const Sketch& sketch) {
    if (previewDirty_) {
        preview_.fillAll(0);
        previewDirty_ = false;
    }
    previewArea_ = {};
    drawSketch(sketch, image_, faded_);
    underSheetReady_ = false;
    if (sketch.insertIndex < 0) return;  // the faded buffer was left as it was
    fadedArea_ = {};
    for (int32_t i = std::max(sketch.insertIndex, 0); i <= sketch.shapes.count(); ++i) {
        const Shape shape = sketch.shapeForDrawing(i);
        const RectF b = paintedBounds(shape);
        if (!b.isEmpty()) fadedArea_ = unite(fadedArea_, coveredPixels(b, width(), height()));
    }
}

void CanvasBuffers::layFaded(const host::Rect& area) {
    composeArea(underSheet_, image_, area, kCopy);
    composeArea(underSheet_, faded_, intersect(area, fadedArea_), kFadedMode);
}

void CanvasBuffers::compose(PixelBuffer& target, const host::Rect& area, bool withFaded) {
    if (image_.isEmpty() || target.isEmpty()) return;
    const host::Rect inside = intersect(
        area, {0, 0, std::min(width(), target.width()), std::min(height(), target.height())});
    if (inside.isEmpty()) return;
    // Outside the dirty rectangle the preview is transparent (a discard
    // clears what it drew) and outside the faded area the sheet is empty:
    // blending them there changes nothing.
    const host::Rect previewed = previewDirty_ ? intersect(inside, previewArea_) : host::Rect{};
    if (withFaded && !underSheetReady_ &&
        (!underSheet_.isEmpty() ||
         underSheet_.allocate(width(), height(), PixelFormat::rgb32(), 0, 0))) {
        layFaded({0, 0, width(), height()});
        underSheetReady_ = true;
    }
    if (!withFaded || !underSheetReady_) {
        composeArea(target, image_, inside, kCopy);
        composeArea(target, preview_, previewed, kPreviewMode);
        if (withFaded) composeArea(target, faded_, intersect(inside, fadedArea_), kFadedMode);
        return;
    }
    composeArea(target, underSheet_, inside, kCopy);
    if (previewed.isEmpty()) return;
    // The preview lies between the image and the sheet.
    composeArea(target, image_, previewed, kCopy);
    composeArea(target, preview_, previewed, kPreviewMode);
    composeArea(target, faded_, intersect(previewed, fadedArea_), kFadedMode);
}

host::Rect CanvasBuffers::markDrawn(const RectF& b) {
    const host::Rect r{int(std::trunc(b.left)), int(std::trunc(b.top)),
                       int(std::trunc(double(b.right) + 1)), int(std::trunc(double(b.bottom) + 1))};
    dirty_ = unite(dirty_, r);
    return r;
}

host::Rect CanvasBuffers::drawShape(const Shape& shape) {
    previewDirty_ = true;
    const RectF b = bounds(shape.groups);
    if (!reaches(b, preview_)) return {};
    penwick::drawShape(preview_, shape, shape.colour, shape.fillColour);
    const RectF painted = paintedBounds(shape);
    if (!painted.isEmpty())
        previewArea_ = unite(previewArea_, coveredPixels(painted, width(), height()));
    return markDrawn(b);
}

host::Rect CanvasBuffers::fillPath(const Path& path, uint32_t colour) {
    if (path.isEmpty()) return {};
    previewDirty_ = true;
    const RectF b = path.bounds();
    if (!reaches(b, preview_)) return {};
    penwick::fillPath(preview_, path, colour | 0xFF000000u, 1.0);
    // The curves lie inside their control points, the path's bounds.
    previewArea_ = unite(previewArea_, coveredPixels(b, width(), height()));
    return markDrawn(b);
}

bool CanvasBuffers::discard(bool commit, host::Rect& repaint) {
    repaint = {};
    if (!previewDirty_) return false;
    if (commit) {
        image_.composite(preview_, 0, 0, preview_.width(), preview_.height(), kPreviewMode);
        // Only where the preview was drawn did the image change.
        if (underSheetReady_) layFaded(previewArea_);
    }
    if (!dirty_.isEmpty())
        preview_.fillRect(0, dirty_.left, dirty_.top, dirty_.width(), dirty_.height());
    repaint = dirty_;
    dirty_ = {};
    return true;
}

}  // namespace penwick
