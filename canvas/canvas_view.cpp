#include "canvas/canvas_view.h"

#include "framework/platform/bitmap.h"
#include "model/sketch_file.h"
#include "render/sketch_drawing.h"

namespace penwick {

bool CanvasView::onCreate() {
    setBackBuffer(true);
    return backBuffer() != nullptr;
}

void CanvasView::onSize(int, int, int) {
    stale_ = true;
    invalidate();
}

bool CanvasView::load(const std::string& path, std::string& error) {
    Sketch loaded;
    ReadResult read = loadSketchFile(path, loaded);
    if (!read) {
        error = read.error;
        sketch_ = Sketch();
    } else {
        sketch_ = std::move(loaded);
    }
    stale_ = true;
    invalidate();
    return bool(read);
}

// The whole sketch drawn as the export tool draws it at this size.
void CanvasView::redraw(int width, int height) {
    sketch_.setWindowFit(width, height);
    if (!drawSketchPicture(sketch_, width, height, picture_)) picture_ = PixelBuffer();
    stale_ = false;
}

void CanvasView::onPaint(host::PaintRecord) {
    ktBitmap* buffer = backBuffer();
    if (!buffer || !buffer->isValid() || buffer->bitsPerPixel() != 32) return;
    int width = buffer->width();
    int height = buffer->height();
    if (stale_ || picture_.width() != width || picture_.height() != height) redraw(width, height);
    if (picture_.isEmpty()) return;
    PixelBuffer target = pixelBufferOf(*buffer);
    target.composite(picture_, 0, 0, width, height, 0);
}

}  // namespace penwick
