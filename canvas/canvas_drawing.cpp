// The canvas's drawing: the full redraw in its three forms, painting the
// buffers into the window, the preview, and the frame time in the title.
#include <cmath>

#include "canvas/canvas_view.h"
#include "canvas/pen_swatch.h"
#include "canvas/shape_picking.h"
#include "canvas/vector_drawing.h"
#include "framework/platform/bitmap.h"
#include "framework/text/format.h"

namespace penwick {

bool CanvasView::platformRendering = false;
int32_t CanvasView::frameTime = 0;

void CanvasView::resizeBuffers(int width, int height) {
    buffers.resize(width, height);
    redrawAll();
}

void CanvasView::redrawAll(host::DeviceContext* dc, double scale) {
    const host::Rect client = host::instance().clientRect(handle());
    sketch.setWindowFit(client.width(), client.height());
    if (dc)
        drawSketchVector(host::instance(), *dc, sketch, scale);
    else if (platformRendering)
        platformRedraw();
    else
        rasterRedraw();
}

void CanvasView::rasterRedraw() {
    host::Host& h = host::instance();
    const std::int64_t start = h.processMilliseconds();
    buffers.redraw(sketch);
    // Shown before the time is taken, as a person waits for it.
    invalidate(h.clientRect(handle()), true);
    h.updateWindow(handle());

    const auto elapsed = int32_t(h.processMilliseconds() - start);
    if (frameTime == 0) frameTime = elapsed;
    frameTime = int32_t(std::trunc((elapsed + frameTime) * 0.5));
    const host::Window frame = h.parent(handle());
    if (frame != host::kNoWindow) h.setWindowText(frame, format("%d ms/frame", frameTime).view());
}

void CanvasView::platformRedraw() {
    host::Host& h = host::instance();
    ktBitmap* buffer = backBuffer();
    if (buffer && buffer->dc()) {
        host::DeviceContext& dc = *buffer->dc();
        const host::Rect client = h.clientRect(handle());
        const host::Brush paper = h.createSolidBrush(host::fromRgbColour(sketch.background));
        const host::Brush previous = dc.selectBrush(paper);
        dc.fillRect(client);
        dc.selectBrush(previous);
        h.deleteBrush(paper);
        drawSketchVector(h, dc, sketch, 1.0);
    }
    invalidate(h.clientRect(handle()), true);
    h.updateWindow(handle());
}

void CanvasView::onPaint(host::PaintRecord paint) {
    ktBitmap* buffer = backBuffer();
    if (!buffer || !buffer->isValid() || platformRendering) return;
    PixelBuffer target = pixelBufferOf(*buffer);
    if (target.isEmpty()) return;
    buffers.compose(target, paint.paint, sketch.insertIndex >= 0);
    if (paint.paint.top < kSwatchHeight && paint.paint.left < kSwatchWidth)
        drawPenSwatch(target, penSize, sketch.current.colour, sketch.current.fillColour);
}

void CanvasView::drawShapeToPreview(const Shape& shape) {
    const host::Rect r = buffers.drawShape(shape);
    if (!r.isEmpty()) invalidate(r, false);
}

void CanvasView::fillPathToPreview(const Path& path, uint32_t colour) {
    const host::Rect r = buffers.fillPath(path, colour);
    if (!r.isEmpty()) invalidate(r, false);
}

bool CanvasView::discardPreview(bool commit) {
    host::Rect repaint;
    if (!buffers.discard(commit, repaint)) return false;
    if (!repaint.isEmpty()) invalidate(repaint, false);
    return true;
}

int32_t CanvasView::shapeAt(double x, double y) const {
    return penwick::shapeAt(sketch, x, y);
}

}  // namespace penwick
