#pragma once
// ktControl: the base of the framework's own controls and popups. It owns
// the dialog font and offers a layout aid: while Ctrl and Shift are both
// held, the control can be moved and sized with the mouse, its edges
// snapping to a grid of 8 pixels.

#include "framework/platform/graphics.h"
#include "framework/window/window.h"

namespace penwick {

class ktControl : public ktWnd {
  public:
    // Takes the first face of the dialog font list the host can make:
    // "MS Shell Dlg" at 14 pixels, else "MS Sans Serif" at 8.
    ktControl();

    host::LResult windowProc(std::uint32_t message, host::WParam wParam,
                             host::LParam lParam) override;
    void onClose() override;

    host::Font font() const { return font_.handle(); }

    // The layout aid's hit test of a screen point against the control's
    // screen rectangle: within 3 pixels of the left, top or right edge that
    // border, in the bottom 3 pixels the bottom border, elsewhere the
    // caption (moving).
    static int layoutHitTest(const host::Rect& screenRect, host::Point point);
    // A dragged edge goes to the nearest multiple of 8.
    static int snapToGrid(int x);

  private:
    ktFont font_;
};

// Mixes two colours byte by byte (all four bytes), each byte becoming
// (1 - t) * a + t * b, truncated.
host::ColourRef mixColours(host::ColourRef a, host::ColourRef b, double t);

// Paints a window's whole client area in the button face colour, the
// background of dialogs and message boxes.
void fillWithButtonFace(host::DeviceContext& dc, host::Window window);

}  // namespace penwick
