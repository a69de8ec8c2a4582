#include "framework/controls/dialog.h"

#include "framework/controls/button.h"
#include "framework/controls/modal_loop.h"
#include "host/messages.h"
#include "host/window_style.h"

namespace penwick {

namespace {

// Dialog units to pixels for a font: a quarter of the average character
// width horizontally, an eighth of the line height vertically.
struct BaseUnits {
    int x = 6;
    int y = 13;
};

BaseUnits baseUnits(host::Font font) {
    BaseUnits units;
    std::unique_ptr<host::DeviceContext> dc = host::instance().getDC(host::kNoWindow);
    if (!dc) return units;
    constexpr std::string_view kAlphabet = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";
    host::Font old = dc->selectFont(font);
    host::Rect r = dc->measureText(kAlphabet, {0, 0, 10000, 0}, host::DT_SINGLELINE);
    dc->selectFont(old);
    if (r.width() > 0) units.x = (r.width() / 26 + 1) / 2;
    if (r.height() > 0) units.y = r.height();
    return units;
}

// Points to pixels at 96 pixels per inch.
int pointsToPixels(int points) {
    return (points * 96 + 36) / 72;
}

}  // namespace

host::LResult ktDialog::dialogProc(std::uint32_t message, host::WParam wParam,
                                   host::LParam lParam) {
    switch (message) {
        case host::WM_DESTROY:
            onDestroy();
            return 1;
        case host::WM_NCDESTROY:
            ktWnd::windowProc(message, wParam, lParam);
            return 1;
        case WM_INITDIALOG:
            return onInitDialog();
        case host::WM_COMMAND:
            return ktWnd::windowProc(message, wParam, lParam);
        default:
            return 0;
    }
}

host::LResult ktDialog::windowProc(std::uint32_t message, host::WParam wParam,
                                   host::LParam lParam) {
    switch (message) {
        case host::WM_DESTROY:
        case host::WM_NCDESTROY:
        case WM_INITDIALOG:
        case host::WM_COMMAND:
            return dialogProc(message, wParam, lParam);
        default:
            break;
    }
    if (host::LResult answer = dialogProc(message, wParam, lParam)) return answer;
    return ktWnd::windowProc(message, wParam, lParam);
}

int ktDialog::onCommand(int id) {
    switch (id) {
        case 1:
            accept();
            return 1;
        case 2:
            cancel();
            return 1;
        case 8:
            onClose();
            return 1;
        default:
            return 0;
    }
}

void ktDialog::onClose() {
    cancel();
}

void ktDialog::onPaint(host::PaintRecord paint) {
    if (!paint.dc) return;
    fillWithButtonFace(*paint.dc, handle());
}

bool ktDialog::build(int templateName, host::Window owner) {
    host::Host& h = host::instance();
    if (isValid() || !instance_) return false;
    auto found = instance_->dialogs.find(templateName);
    if (found == instance_->dialogs.end()) return false;
    const DialogTemplate& t = found->second;
    templateName_ = templateName;
    dialogOwner_ = owner;

    if (!font_.create(t.fontFace, pointsToPixels(t.fontPoints), false, false))
        font_.create("Sans", pointsToPixels(t.fontPoints), false, false);
    BaseUnits units = baseUnits(font_.handle());
    auto px = [&](int du) { return du * units.x / 4; };
    auto py = [&](int du) { return du * units.y / 8; };

    std::uint32_t style = t.style & ~host::WS_VISIBLE;
    host::Rect frame = h.adjustWindowRect({0, 0, px(t.width), py(t.height)}, style, false);
    // Centred on the owner, else on the screen.
    host::Rect around{0, 0, 1024, 768};
    if (owner != host::kNoWindow && h.isWindow(owner))
        around = h.windowRect(owner);
    else if (std::optional<host::DisplayMode> mode = h.displayMode())
        around = {0, 0, mode->width, mode->height};
    int x = around.left + (around.width() - frame.width()) / 2;
    int y = around.top + (around.height() - frame.height()) / 2;
    if (!create(nullptr, t.caption, style, 0, owner, x, y, frame.width(), frame.height(), 0))
        return false;

    host::Window focus = host::kNoWindow;
    for (const DialogItem& item : t.items) {
        ktControl* control = nullptr;
        std::uint32_t itemStyle = host::WS_CHILD | host::WS_VISIBLE;
        if (item.kind == DialogItem::Kind::button) {
            auto* button = makeSelfOwned<ktButton>();
            if (item.defaultButton) button->setFlags(ktButton::kDefault);
            itemStyle |= host::WS_TABSTOP;
            control = button;
        } else {
            control = makeSelfOwned<ktStaticText>();
        }
        if (!control->create(nullptr, item.text, itemStyle, 0, handle(), px(item.x), py(item.y),
                             px(item.width), py(item.height), item.id)) {
            discard(control);
            continue;
        }
        if (item.kind == DialogItem::Kind::button &&
            (focus == host::kNoWindow || item.defaultButton))
            focus = control->handle();
    }
    if (send(WM_INITDIALOG, host::WParam(focus), 0) != 0 && focus != host::kNoWindow)
        h.setFocus(focus);
    if (isValid() && (t.style & host::WS_VISIBLE)) h.showWindow(handle(), host::SW_SHOW);
    return isValid();
}

bool ktDialog::showModeless(int templateName, host::Window owner) {
    modal_ = false;
    return build(templateName, owner);
}

int ktDialog::runModal(int templateName, host::Window owner) {
    host::Host& h = host::instance();
    modal_ = true;
    if (!build(templateName, owner)) return -1;
    bool disabled = owner != host::kNoWindow && h.isEnabled(owner);
    if (disabled) h.enableWindow(owner, false);
    runModalLoop(handle());
    if (disabled && h.isWindow(owner)) h.enableWindow(owner, true);
    return result_;
}

void ktDialog::end(int result) {
    result_ = result;
    destroy();
}

void ktStaticText::onPaint(host::PaintRecord paint) {
    if (!paint.dc) return;
    host::Host& h = host::instance();
    host::DeviceContext& dc = *paint.dc;
    fillWithButtonFace(dc, handle());
    host::Font oldFont = dc.selectFont(font());
    dc.setTextColour(h.systemColour(host::COLOR_BTNTEXT));
    dc.setTransparentText(true);
    dc.drawText(getText().view(), h.clientRect(handle()), host::DT_LEFT | host::DT_NOPREFIX);
    dc.selectFont(oldFont);
}

}  // namespace penwick
