#pragma once
// The canvas's drawing window: a child window with a back buffer that shows
// a whole sketch, fitted to the window and drawn again when the window's
// size changes. Pen input, the lasso, text commands, undo and keys come with
// later work.

#include <string>

#include "framework/window/window.h"
#include "model/sketch.h"
#include "render/pixel_buffer.h"

namespace penwick {

class CanvasView : public ktWnd {
  public:
    bool onCreate() override;
    void onPaint(host::PaintRecord paint) override;
    void onSize(int width, int height, int sizeType) override;

    // Reads a sketch file; on failure the view is left empty and `error`
    // says why.
    bool load(const std::string& path, std::string& error);
    const Sketch& sketch() const { return sketch_; }
    // The picture as last drawn (empty before the first paint).
    const PixelBuffer& picture() const { return picture_; }

  private:
    void redraw(int width, int height);

    Sketch sketch_;
    PixelBuffer picture_;
    bool stale_ = true;
};

}  // namespace penwick
