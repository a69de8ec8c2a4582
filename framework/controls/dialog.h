#pragma once
// ktDialog: a dialog made from a template of the program's resources (a
// caption, a size in dialog units, a font and its controls). Messages go
// through dialogProc; what it leaves (answers 0) gets the framework's
// window handling. Commands 1, 2 and 8 are accept(), cancel() and
// onClose(), which cancels.

#include "framework/controls/control.h"
#include "framework/window/resources.h"

namespace penwick {

inline constexpr std::uint32_t WM_INITDIALOG = 0x0110;
inline constexpr std::uint32_t DS_MODALFRAME = 0x80;

class ktDialog : public ktWnd {
  public:
    explicit ktDialog(const ktResources* instance) : instance_(instance) {}

    virtual host::LResult dialogProc(std::uint32_t message, host::WParam wParam,
                                     host::LParam lParam);
    virtual void cancel() { end(2); }
    virtual void accept() { end(1); }
    virtual int onInitDialog() { return 1; }

    host::LResult windowProc(std::uint32_t message, host::WParam wParam,
                             host::LParam lParam) override;
    int onCommand(int id) override;
    void onClose() override;
    void onPaint(host::PaintRecord paint) override;

    // Makes the dialog of template `templateName`, owned by `owner`, and
    // shows it. Fails when this object already has a live window or the
    // template is unknown.
    bool showModeless(int templateName, host::Window owner);
    // Makes the dialog, disables the owner and runs it until end().
    int runModal(int templateName, host::Window owner);
    // Stores the result and closes the dialog.
    void end(int result);

    int result() const { return result_; }
    int templateName() const { return templateName_; }

  private:
    bool build(int templateName, host::Window owner);

    const ktResources* instance_;
    int templateName_ = 0;
    bool modal_ = false;
    int result_ = 0;
    host::Window dialogOwner_{};
    // The template's font, which sets the size of the dialog units.
    ktFont font_;
};

// A line of text in a dialog.
class ktStaticText : public ktControl {
  public:
    void onPaint(host::PaintRecord paint) override;
};

}  // namespace penwick
