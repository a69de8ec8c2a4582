// The message loop of ktApp and the pre-translation of each message.
#include <utility>

#include "framework/application/accelerators.h"
#include "framework/application/app.h"
#include "framework/controls/modal_loop.h"
#include "framework/error/error_report.h"
#include "framework/text/failure.h"
#include "host/keys.h"
#include "host/messages.h"

namespace penwick {

int ktApp::messageLoop() {
    host::Host& h = host::instance();
    host::Message message;
    for (;;) {
        int count = 0;
        bool idle = true;
        while (idle && !h.peekMessage(message, host::kNoWindow, 0, 0, false)) {
            try {
                idle = onIdle(count);
                ++count;
            } catch (const ktFailure& failure) {
                reportError(failure.text(), mainWindowHandle(), true);
            } catch (...) {
                reportError("Unknown error in idle loop", mainWindowHandle(), true);
            }
        }
        if (!h.getMessage(message)) {
            pruneWindows();
            if (frames_.empty()) return int(message.wParam);
        }
        if (!preTranslateMessage(message)) {
            h.translateMessage(message);
            h.dispatchMessage(message);
        }
    }
}

namespace {

bool focusInside(host::Host& h, host::Window window) {
    for (host::Window w = h.focusWindow(); w != host::kNoWindow; w = h.parent(w))
        if (w == window) return true;
    return false;
}

bool isKeyDown(const host::Message& m, int key) {
    return m.message == host::WM_KEYDOWN && m.wParam == host::WParam(key);
}

}  // namespace

bool ktApp::preTranslateMessage(host::Message& message) {
    host::Host& h = host::instance();
    if (currentToolWindow_ != host::kNoWindow) {
        if (!h.isWindow(currentToolWindow_)) {
            currentToolWindow_ = host::kNoWindow;
        } else if (h.sendMessage(currentToolWindow_, host::WM_TOOLWINDOW_MESSAGE, 0,
                                 host::LParam(&message)) != 0) {
            return true;
        } else if (h.sendMessage(currentToolWindow_, host::WM_TOOLWINDOW_ALIVE, 0, 0) == 0) {
            host::Window finished = std::exchange(currentToolWindow_, host::kNoWindow);
            h.destroyWindow(finished);
        }
    }

    bool control = h.isKeyDown(host::VK_CONTROL);
    bool ctrlTab = isKeyDown(message, host::VK_TAB) && control;
    if (currentDialog_ != host::kNoWindow) {
        if (!h.isWindow(currentDialog_)) {
            currentDialog_ = host::kNoWindow;
        } else {
            if (ctrlTab) {
                h.setFocus(focusInside(h, currentDialog_) ? mainWindowHandle() : currentDialog_);
                return true;
            }
            if (isDialogMessage(currentDialog_, message)) return true;
            if (isKeyDown(message, 'C') && control && focusInside(h, currentDialog_)) {
                h.sendMessage(currentDialog_, host::WM_COPY, 0, 0);
                return true;
            }
        }
    }

    if (ctrlTab && ctrlTabCyclesWindows()) {
        cycleTopLevelFocus();
        return true;
    }
    return accelerators_ && translateAccelerator(message.window, *accelerators_, message);
}

void ktApp::cycleTopLevelFocus() {
    host::Host& h = host::instance();
    pruneWindows();
    if (frames_.empty()) return;
    std::size_t next = 0;
    for (std::size_t i = 0; i < frames_.size(); ++i)
        if (focusInside(h, frames_[i]->handle())) next = (i + 1) % frames_.size();
    h.setFocus(frames_[next]->handle());
}

}  // namespace penwick
