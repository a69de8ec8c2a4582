#include "framework/application/accelerators.h"

#include "framework/text/format.h"
#include "host/host.h"
#include "host/keys.h"
#include "host/messages.h"

namespace penwick {

bool translateAccelerator(host::Window window, const AcceleratorTable& table,
                          const host::Message& m) {
    host::Host& h = host::instance();
    if (window == host::kNoWindow || !h.isWindow(window)) return false;
    bool key = m.message == host::WM_KEYDOWN || m.message == host::WM_SYSKEYDOWN;
    bool character = m.message == host::WM_CHAR || m.message == host::WM_SYSCHAR;
    if (!key && !character) return false;
    bool shift = h.isKeyDown(host::VK_SHIFT);
    bool control = h.isKeyDown(host::VK_CONTROL);
    bool alt = h.isKeyDown(host::VK_MENU) || m.message == host::WM_SYSCHAR;
    for (const Accelerator& a : table) {
        bool virtualKey = a.flags & Accelerator::kVirtKey;
        if (a.key != m.wParam) continue;
        if (virtualKey) {
            if (!key || shift != bool(a.flags & Accelerator::kShift) ||
                control != bool(a.flags & Accelerator::kControl) ||
                alt != bool(a.flags & Accelerator::kAlt))
                continue;
        } else {
            // The character already carries Shift and Ctrl; only Alt tells.
            if (!character || alt != bool(a.flags & Accelerator::kAlt)) continue;
        }
        h.sendMessage(window, host::WM_COMMAND, host::makeWParam(a.command, 1), 0);
        return true;
    }
    return false;
}

ktString acceleratorText(const Accelerator& a) {
    const char* control = (a.flags & Accelerator::kControl) ? "Ctrl+" : "";
    const char* alt = (a.flags & Accelerator::kAlt) ? "Alt+" : "";
    const char* shift = (a.flags & Accelerator::kShift) ? "Shift+" : "";
    if (a.flags & Accelerator::kVirtKey)
        return format("%s%s%s%s", control, alt, shift, host::keyName(a.key).c_str());
    return format("%s%s%s%c", control, alt, shift, char(a.key));
}

}  // namespace penwick
