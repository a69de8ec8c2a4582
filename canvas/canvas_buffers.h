#pragma once
// The canvas's three off-screen buffers, each the size of the canvas window:
// the image (32-bit RGB) holds the drawing, the preview (32-bit ARGB,
// transparent where empty) the shape being drawn and other passing marks,
// the faded buffer (32-bit ARGB) the shapes from the insertion point on. A
// paint lays them, in that order, into the window's back buffer.
//
// The preview is "dirty" from the first drawing into it until the next full
// redraw; a discard clears its pixels inside the dirty rectangle (the union
// of what was drawn since the last discard) but not the flag.

#include <cstdint>

#include "host/types.h"
#include "model/path.h"
#include "model/sketch.h"
#include "render/pixel_buffer.h"

namespace penwick {

class CanvasBuffers {
  public:
    // Makes the buffers anew for a client size, every byte 0; they stay
    // empty when a side is not positive (and every drawing misses them).
    void resize(int width, int height);

    // The full raster redraw: the preview cleared (and clean again) when it
    // was dirty, the image filled with the paper, the faded buffer cleared
    // when there is an insertion point, then every shape in order with the
    // shape being drawn last, faded from the insertion point on and tinted
    // while selected at edit level Shape. The view must be fitted to the
    // buffers' size.
    void redraw(const Sketch& sketch);

    // Lays the buffers into `target` (32-bit, the buffers' layout) inside
    // `area`: the image copied, the preview over it while dirty, the faded
    // buffer at alpha 223 when `withFaded`. Only pixels that can differ from
    // a plain copy are blended: the preview's lie inside what was drawn into
    // it since the last full redraw (a discard clears only the dirty
    // rectangle, which a tip's curve can overreach by a pixel), and the
    // image with the faded sheet over it is kept ready
    // (made again only when the image or the sheet changes), so a paint
    // under the sheet is a copy too, but where the preview lies.
    void compose(PixelBuffer& target, const host::Rect& area, bool withFaded);

    // Draws a shape (in window pixels) into the preview, untinted, and
    // answers the rectangle to repaint; nothing (an empty rectangle) when it
    // lies outside the buffer. The preview becomes dirty either way.
    host::Rect drawShape(const Shape& shape);
    // Fills one path opaquely into the preview; a path without contours
    // changes nothing (and leaves the flag alone).
    host::Rect fillPath(const Path& path, uint32_t colour);

    // Empties the preview inside the dirty rectangle, first laying the whole
    // preview onto the image when `commit`; answers whether the preview was
    // dirty and, in `repaint`, the rectangle that changed.
    bool discard(bool commit, host::Rect& repaint);

    bool previewDirty() const { return previewDirty_; }
    const host::Rect& dirtyRect() const { return dirty_; }
    const PixelBuffer& image() const { return image_; }
    const PixelBuffer& preview() const { return preview_; }
    const PixelBuffer& faded() const { return faded_; }
    int width() const { return image_.width(); }
    int height() const { return image_.height(); }

  private:
    host::Rect markDrawn(const RectF& bounds);
    // The image with the faded sheet over it, inside `area`.
    void layFaded(const host::Rect& area);

    PixelBuffer image_;
    PixelBuffer preview_;
    PixelBuffer faded_;
    bool previewDirty_ = false;
    host::Rect dirty_;
    host::Rect previewArea_;  // where the preview may hold anything
    host::Rect fadedArea_;    // where the faded buffer may hold anything
    PixelBuffer underSheet_;  // the image with the faded sheet laid over it
    bool underSheetReady_ = false;
};

}  // namespace penwick
