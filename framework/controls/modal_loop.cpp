#include "framework/controls/modal_loop.h"

#include <algorithm>
#include <cctype>
#include <vector>

#include "framework/controls/button.h"
#include "host/dialogs.h"
#include "host/host.h"
#include "host/keys.h"
#include "host/messages.h"
#include "host/window_style.h"

namespace penwick {

int runModalLoop(host::Window window) {
    host::Host& h = host::instance();
    host::Message message;
    while (h.isWindow(window)) {
        if (!h.getMessage(message)) {
            int code = int(message.wParam);
            h.postQuitMessage(code);
            return code;
        }
        if (message.message == host::WM_KEYDOWN && message.wParam == 'C' &&
            h.isKeyDown(host::VK_CONTROL)) {
            h.sendMessage(window, host::WM_COPY, 0, 0);
            continue;
        }
        if (isDialogMessage(window, message)) continue;
        h.dispatchMessage(message);
        h.translateMessage(message);
    }
    return 0;
}

namespace {

bool isInside(host::Host& h, host::Window window, host::Window dialog) {
    for (host::Window w = window; w != host::kNoWindow; w = h.parent(w))
        if (w == dialog) return true;
    return false;
}

std::vector<host::Window> tabStops(host::Host& h, host::Window dialog) {
    std::vector<host::Window> stops;
    for (host::Window child : h.children(dialog))
        if ((h.windowStyle(child) & host::WS_TABSTOP) && h.isEnabled(child) && h.isVisible(child))
            stops.push_back(child);
    return stops;
}

void moveFocus(host::Host& h, host::Window dialog, bool backwards) {
    std::vector<host::Window> stops = tabStops(h, dialog);
    if (stops.empty()) return;
    auto at = std::find(stops.begin(), stops.end(), h.focusWindow());
    std::ptrdiff_t n = std::ptrdiff_t(stops.size());
    std::ptrdiff_t i = at == stops.end() ? (backwards ? 0 : -1) : at - stops.begin();
    i = ((i + (backwards ? -1 : 1)) % n + n) % n;
    h.setFocus(stops[std::size_t(i)]);
}

bool isPushButton(host::Host& h, host::Window window) {
    host::LResult code = h.sendMessage(window, host::WM_GETDLGCODE, 0, 0);
    return code == host::DLGC_DEFPUSHBUTTON || code == host::DLGC_UNDEFPUSHBUTTON;
}

void enterKey(host::Host& h, host::Window dialog) {
    host::Window focus = h.focusWindow();
    int id = 0;
    if (focus != dialog && isInside(h, focus, dialog) && isPushButton(h, focus))
        id = h.windowId(focus);
    else
        id = int(h.sendMessage(dialog, host::DM_GETDEFID, 0, 0));
    if (id == 0) id = host::IDOK;
    if (id == -1) {  // a link: the button itself acts
        h.sendMessage(focus, BM_CLICK, 0, 0);
        return;
    }
    h.sendMessage(dialog, host::WM_COMMAND, host::makeWParam(id, 0), 0);
}

// The button whose text marks `c` as its mnemonic.
host::Window mnemonicButton(host::Host& h, host::Window dialog, int c) {
    for (host::Window child : h.children(dialog)) {
        if (!h.isEnabled(child) || !isPushButton(h, child)) continue;
        std::string text = h.windowText(child);
        for (std::size_t i = 0; i + 1 < text.size(); ++i) {
            if (text[i] != '&') continue;
            if (text[i + 1] == '&') {
                ++i;
                continue;
            }
            if (std::tolower(static_cast<unsigned char>(text[i + 1])) == std::tolower(c))
                return child;
            break;
        }
    }
    return host::kNoWindow;
}

}  // namespace

bool isDialogMessage(host::Window dialog, const host::Message& m) {
    host::Host& h = host::instance();
    if (!h.isWindow(dialog) || !isInside(h, m.window, dialog)) return false;
    bool control = h.isKeyDown(host::VK_CONTROL);
    if (m.message == host::WM_KEYDOWN && !control) {
        switch (int(m.wParam)) {
            case host::VK_TAB:
                moveFocus(h, dialog, h.isKeyDown(host::VK_SHIFT));
                return true;
            case host::VK_RETURN:
                enterKey(h, dialog);
                return true;
            case host::VK_ESCAPE:
                h.sendMessage(dialog, host::WM_COMMAND, host::makeWParam(host::IDCANCEL, 0), 0);
                return true;
            default:
                return false;
        }
    }
    if (m.message == host::WM_CHAR || m.message == host::WM_SYSCHAR) {
        int c = int(m.wParam);
        if (c == '\t' || c == '\r' || c == 0x1B) return m.message == host::WM_CHAR;
        if (control || c <= ' ') return false;
        host::Window button = mnemonicButton(h, dialog, c);
        if (button == host::kNoWindow) return false;
        h.setFocus(button);
        h.sendMessage(button, BM_CLICK, 0, 0);
        return true;
    }
    return false;
}

}  // namespace penwick
