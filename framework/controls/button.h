#pragma once
// ktButton: a push button that can also look and act like a link.
//
// Behaviour (P = pressed flag, C = capture held, "click" = onClick()):
//
//   | input                          | state before     | state after      | calls      |
//   |--------------------------------|------------------|------------------|------------|
//   | Space down                     | not P            | P, repainted     | onPress    |
//   | Space down (auto-repeat)       | P                | unchanged        | -          |
//   | Space up                       | P                | not P (toggle    | click      |
//   |                                |                  | flips checked)   |            |
//   | Space up                       | not P            | unchanged        | -          |
//   | left button down               | any              | P, focus, C      | onPress    |
//   | mouse move                     | C, pointer in    | P                | -          |
//   | mouse move                     | C, pointer out   | not P            | -          |
//   | left button up                 | C, P             | not C, not P     | click      |
//   | left button up                 | C, not P         | not C            | -          |
//   | programmatic click (BM_CLICK)  | any              | P, 100 ms, not P | both       |
//
// A click with Shift held does nothing. Otherwise it sets the clicked flag
// and opens the link target, or sends the button's command (its id; none
// for -1) to its owner, else its parent.

#include <cstdint>

#include "framework/controls/control.h"

namespace penwick {

inline constexpr std::uint32_t BM_CLICK = 0x00F5;

class ktButton : public ktControl {
  public:
    static constexpr std::uint32_t kPressed = 0x01;
    static constexpr std::uint32_t kChecked = 0x02;
    static constexpr std::uint32_t kTogglesOnRelease = 0x04;
    static constexpr std::uint32_t kDefault = 0x08;
    static constexpr std::uint32_t kHot = 0x10;
    static constexpr std::uint32_t kClickedOnce = 0x20;
    static constexpr std::uint32_t kLinkLook = 2;  // style; anything else looks like a push button

    virtual void onPress();
    virtual void onClick();

    host::LResult windowProc(std::uint32_t message, host::WParam wParam,
                             host::LParam lParam) override;
    void onPaint(host::PaintRecord paint) override;

    std::uint32_t flags() const { return flags_; }
    void setFlags(std::uint32_t flags) { flags_ = flags; }
    std::uint32_t style() const { return style_; }
    void setStyle(std::uint32_t style) { style_ = style; }
    const ktString& linkTarget() const { return linkTarget_; }
    void setLinkTarget(std::string_view target) { linkTarget_ = ktString(target); }

  private:
    void setPressed(bool pressed);
    void release();
    bool pointerInside() const;
    void paintLink(host::DeviceContext& dc, const host::Rect& rect, const ktString& text);
    void paintPushButton(host::DeviceContext& dc, host::Rect rect, const ktString& text);

    std::uint32_t flags_ = 0;
    std::uint32_t style_ = 0;
    ktString linkTarget_;
};

}  // namespace penwick
