#pragma once
// The framework's own message box: a text, an icon and a row of buttons
// described by a short text, one button per line, left to right:
//
//   [*]number label        a button sending command `number` (decimal, 0x
//                          hexadecimal or 0b binary); "&" marks the mnemonic
//   [*]:target<TAB>label   a link button (id -1) opening `target`
//
// A leading "*" marks the default button. Examples: "*1 &OK",
// "*1 &OK\n2 &Cancel", ":https://example.org\t &Web...\n*1 &OK".
// Commands 1 to 9 close the box with that result, the close box with 2.
// The context menu (and Ctrl+C in the modal loop) copies the whole box to
// the clipboard as text.

#include <vector>

#include "framework/controls/popup.h"

namespace penwick {

struct ButtonSpec {
    int id = 0;
    ktString label;
    ktString target;  // links only
    bool isDefault = false;
};
std::vector<ButtonSpec> parseButtonSpecs(std::string_view specification);

// Where everything of a box goes, in client coordinates.
struct MessageBoxLayout {
    int width = 0;    // client width
    int height = 0;   // client height, the button row included
    host::Rect text;  // where the text is drawn
    host::Point icon;
    std::vector<host::Rect> buttons;
};
// The text width wrapping aims at for a display `displayWidth` wide.
int messageBoxWrapWidth(int displayWidth);
// The layout for a measured text of `textWidth` x `textHeight` pixels.
MessageBoxLayout layoutMessageBox(int textWidth, int textHeight, bool withIcon, int buttonCount);

class ktMessageBox : public ktPopup {
  public:
    ktMessageBox(std::string_view text, std::string_view buttons = "*1 &OK",
                 host::Icon icon = host::kNoIcon);

    // Measures, lays out, makes the window centred on the screen (owned by
    // `owner`) and its buttons. False when the window cannot be made.
    bool create(std::string_view title, host::Window owner);

    host::LResult windowProc(std::uint32_t message, host::WParam wParam,
                             host::LParam lParam) override;
    void onPaint(host::PaintRecord paint) override;
    int onCommand(int id) override;
    void onClose() override;

    // The box as text: title, message and button labels between lines of 50
    // dashes, word-wrapped at 50 columns.
    ktString copyText() const;
    const MessageBoxLayout& layout() const { return layout_; }
    host::Icon icon() const { return icon_; }

  private:
    void showContextMenu(host::LParam screenPoint);

    host::Icon icon_;
    ktString title_;
    ktString text_;
    ktString buttons_;
    MessageBoxLayout layout_;
};

// A drop-in for the system message box (MB_* type); answers the id of the
// button that closed it, 0 when the box could not be made.
int messageBox(host::Window owner, std::string_view text, std::string_view title,
               std::uint32_t type);
// A modeless box that deletes itself when closed; its window, or none.
host::Window showMessageBox(host::Window owner, std::string_view text, std::string_view title,
                            std::string_view buttons);

}  // namespace penwick
