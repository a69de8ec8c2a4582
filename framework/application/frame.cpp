#include "framework/application/frame.h"

#include "host/messages.h"
#include "host/window_style.h"

namespace penwick {

bool ktFrame::onIdle(int) {
    return false;
}
bool ktFrame::queryClose(int) {
    return true;
}

host::LResult ktFrame::windowProc(std::uint32_t message, host::WParam wParam, host::LParam lParam) {
    host::Host& h = host::instance();
    switch (message) {
        case host::WM_CLOSE:
            if (minimiseOnClose_ && !h.isMinimised(handle()))
                h.showWindow(handle(), host::SW_MINIMIZE);
            else if (queryClose(0))
                onClose();
            return 1;
        case host::WM_QUERYENDSESSION:
            return queryClose(0) ? 1 : 0;
        case host::WM_ENDSESSION:
            if (wParam != 0) onClose();
            return 1;
        default:
            return ktWnd::windowProc(message, wParam, lParam);
    }
}

void ktFrame::onDestroy() {
    host::instance().postQuitMessage(0);
}

}  // namespace penwick
