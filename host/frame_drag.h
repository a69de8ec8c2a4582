#pragma once
// Moving and sizing a window with the mouse where its hit test answers a
// caption or a border: what the platform's window frames do, and what the
// framework's layout aid asks of child windows too. Both hosts run every
// mouse message through one FrameDrag as the message loop takes it, so the
// hit test sees the keys held for that very message.

#include "host/host.h"
#include "host/types.h"

namespace host {

class FrameDrag {
  public:
    // True when `message` belongs to a drag (its start, a move or its end)
    // and must not reach the window. A left-button press asks the window's
    // WM_NCHITTEST first; a caption answer moves the window with the mouse,
    // a border answer sizes it, each step offered to the window as
    // WM_SIZING so that it can adjust the rectangle.
    bool consumes(Host& host, const Message& message);

  private:
    void follow(Host& host, Point screen);

    Window window_ = kNoWindow;
    int hit_ = 0;
    Point start_;
    Rect startRect_;  // screen coordinates
};

}  // namespace host
