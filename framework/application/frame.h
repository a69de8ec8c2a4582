#pragma once
// ktFrame: the base of a program's top-level windows. Closing asks
// queryClose first (also when the user's session ends), and destroying it
// posts the quit message, so that the message loop ends once no top-level
// window is left.

#include "framework/window/window.h"

namespace penwick {

class ktFrame : public ktWnd {
  public:
    // Idle work; answer true to be called again before the next message.
    virtual bool onIdle(int count);
    // Whether the window may close; `reason` 0 for the user or the session.
    virtual bool queryClose(int reason);

    host::LResult windowProc(std::uint32_t message, host::WParam wParam,
                             host::LParam lParam) override;
    void onDestroy() override;

    bool minimiseOnClose() const { return minimiseOnClose_; }
    void setMinimiseOnClose(bool on) { minimiseOnClose_ = on; }

  private:
    bool minimiseOnClose_ = false;
};

}  // namespace penwick
