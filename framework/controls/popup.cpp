#include "framework/controls/popup.h"

#include <utility>

#include "framework/controls/modal_loop.h"
#include "host/messages.h"

namespace penwick {

ktPopup::~ktPopup() {
    if (host::hasInstance()) enableOwner();
}

int ktPopup::onPopupHook() {
    return 1;
}

host::LResult ktPopup::windowProc(std::uint32_t message, host::WParam wParam, host::LParam lParam) {
    switch (message) {
        case host::DM_GETDEFID:
            return defaultId_;
        case host::DM_SETDEFID:
            defaultId_ = int(wParam);
            return 1;
        case host::WM_DESTROY:
            enableOwner();
            break;
        default:
            break;
    }
    return ktControl::windowProc(message, wParam, lParam);
}

void ktPopup::enableOwner() {
    host::Window owner = std::exchange(disabledOwner_, host::kNoWindow);
    if (owner != host::kNoWindow) host::instance().enableWindow(owner, true);
}

int ktPopup::runModal(host::Window owner) {
    host::Host& h = host::instance();
    popupOwner_ = owner;
    if (owner != host::kNoWindow && h.isWindow(owner) && h.isEnabled(owner)) {
        h.enableWindow(owner, false);
        disabledOwner_ = owner;
    }
    // The popup takes the keyboard, as a modal box does on every desktop.
    h.setForegroundWindow(handle());
    runModalLoop(handle());
    if (owner != host::kNoWindow) h.updateWindow(owner);
    return result_;
}

void ktPopup::close(int result) {
    result_ = result;
    enableOwner();
    destroy();
}

}  // namespace penwick
