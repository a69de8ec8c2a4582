#pragma once
// ktPopup: a framework popup window that can run modally: the owner is
// disabled for the time of the run and enabled again when the popup closes
// or is destroyed. It keeps a default button id (DM_GETDEFID, DM_SETDEFID)
// and a result (1 until something closes it).

#include "framework/controls/control.h"

namespace penwick {

class ktPopup : public ktControl {
  public:
    // An owner disabled by a modal run is enabled again.
    ~ktPopup() override;

    // A spare slot for derived popups; answers 1.
    virtual int onPopupHook();
    virtual void accept() { close(1); }
    virtual void cancel() { close(2); }

    host::LResult windowProc(std::uint32_t message, host::WParam wParam,
                             host::LParam lParam) override;

    // Disables the owner when it is enabled, runs the modal loop until the
    // popup is gone and answers the result.
    int runModal(host::Window owner);
    // Stores the result, enables the owner again and destroys the window.
    void close(int result);

    int result() const { return result_; }
    int defaultButtonId() const { return defaultId_; }
    host::Window popupOwner() const { return popupOwner_; }

  protected:
    void setDefaultButtonId(int id) { defaultId_ = id; }
    void setPopupOwner(host::Window owner) { popupOwner_ = owner; }

  private:
    void enableOwner();

    host::Window popupOwner_{};
    host::Window disabledOwner_{};
    int defaultId_ = 0;
    int result_ = 1;
};

}  // namespace penwick
