#include "framework/controls/button.h"

#include "framework/platform/shell.h"
#include "host/keys.h"
#include "host/messages.h"

namespace penwick {

namespace {
constexpr std::uintptr_t kHotTimer = 1;
constexpr std::uint32_t kHotTimerMs = 50;
constexpr std::uint32_t kClickHoldMs = 100;

constexpr host::ColourRef kBlack = 0x000000;
constexpr host::ColourRef kLinkColour = 0xFF0000;  // blue
constexpr host::ColourRef kLinkHotColour = 0xFF8080;
constexpr host::ColourRef kLinkPressedColour = 0x0080FF;
constexpr host::ColourRef kYellow = 0x00FFFF;

void fill(host::DeviceContext& dc, const host::Rect& rect, host::ColourRef colour) {
    host::Host& h = host::instance();
    host::Brush brush = h.createSolidBrush(colour);
    host::Brush old = dc.selectBrush(brush);
    dc.fillRect(rect);
    dc.selectBrush(old);
    h.deleteBrush(brush);
}
}  // namespace

void ktButton::onPress() {}

void ktButton::onClick() {
    host::Host& h = host::instance();
    if (h.isKeyDown(host::VK_SHIFT)) return;
    flags_ |= kClickedOnce;
    if (!linkTarget_.isEmpty()) {
        shellRun(linkTarget_.view());
        return;
    }
    int id = h.windowId(handle());
    if (id == -1) return;
    host::Window target = owner() != host::kNoWindow ? owner() : h.parent(handle());
    h.sendMessage(target, host::WM_COMMAND, host::makeWParam(id, 0), host::LParam(handle()));
}

void ktButton::setPressed(bool pressed) {
    std::uint32_t flags = pressed ? flags_ | kPressed : flags_ & ~kPressed;
    if (flags == flags_) return;
    flags_ = flags;
    invalidate();
}

// Pressed to released: toggle buttons flip their check, then the click.
void ktButton::release() {
    flags_ &= ~kPressed;
    if (flags_ & kTogglesOnRelease) flags_ ^= kChecked;
    invalidate();
    onClick();
}

bool ktButton::pointerInside() const {
    host::Host& h = host::instance();
    host::Point p = h.screenToClient(handle(), h.cursorPos());
    host::Rect c = h.clientRect(handle());
    return p.x >= c.left && p.x < c.right && p.y >= c.top && p.y < c.bottom;
}

host::LResult ktButton::windowProc(std::uint32_t message, host::WParam wParam,
                                   host::LParam lParam) {
    using namespace host;
    Host& h = instance();
    switch (message) {
        case WM_KEYDOWN:
            if (wParam != WParam(VK_SPACE)) break;
            if (!(flags_ & kPressed)) {
                setPressed(true);
                onPress();
            }
            return 0;
        case WM_KEYUP:
            if (wParam != WParam(VK_SPACE)) break;
            if (flags_ & kPressed) release();
            return 0;
        case WM_LBUTTONDOWN:
        case WM_LBUTTONDBLCLK:
            flags_ |= kPressed;
            invalidate();
            onPress();
            h.setFocus(handle());
            h.setCapture(handle());
            return 0;
        case WM_MOUSEMOVE: {
            Point p{pointX(lParam), pointY(lParam)};
            Rect c = h.clientRect(handle());
            bool inside = p.x >= c.left && p.x < c.right && p.y >= c.top && p.y < c.bottom;
            if (h.captureWindow() == handle()) setPressed(inside);
            if (inside && !(flags_ & kHot)) {
                flags_ |= kHot;
                invalidate();
                h.setTimer(handle(), kHotTimer, kHotTimerMs);
            }
            return 0;
        }
        case WM_LBUTTONUP:
            if (h.captureWindow() != handle()) return 0;
            h.releaseCapture();
            if (flags_ & kPressed) release();
            return 0;
        case WM_TIMER:
            if (wParam != kHotTimer) break;
            if (!pointerInside()) {
                flags_ &= ~kHot;
                h.killTimer(handle(), kHotTimer);
                invalidate();
            }
            return 0;
        case WM_SETCURSOR:
            if (style_ != kLinkLook) break;
            h.setCursor(Cursor::hand);
            return 1;
        case WM_SETFOCUS:
        case WM_KILLFOCUS:
        case WM_ENABLE:
            invalidate();
            return 0;
        case WM_GETDLGCODE:
            return (flags_ & kDefault) ? DLGC_DEFPUSHBUTTON : DLGC_UNDEFPUSHBUTTON;
        case BM_CLICK:
            flags_ |= kPressed;
            invalidate();
            h.updateWindow(handle());
            onPress();
            h.sleep(kClickHoldMs);
            release();
            return 0;
        default:
            break;
    }
    return ktControl::windowProc(message, wParam, lParam);
}

// ---- Painting -----------------------------------------------------------------

void ktButton::onPaint(host::PaintRecord paint) {
    if (!paint.dc) return;
    host::Host& h = host::instance();
    host::DeviceContext& dc = *paint.dc;
    host::Rect rect = h.clientRect(handle());
    ktString text = getText();
    host::Font oldFont = dc.selectFont(font());
    if (style_ == kLinkLook)
        paintLink(dc, rect, text);
    else
        paintPushButton(dc, rect, text);
    dc.selectFont(oldFont);
}

namespace {
constexpr std::uint32_t kTextFlags =
    host::DT_CENTER | host::DT_VCENTER | host::DT_SINGLELINE | host::DT_END_ELLIPSIS;
}

void ktButton::paintLink(host::DeviceContext& dc, const host::Rect& rect, const ktString& text) {
    host::Host& h = host::instance();
    host::ColourRef colour = kLinkColour;
    if (!h.isEnabled(handle()))
        colour = mixColours(kBlack, h.systemColour(host::COLOR_BTNFACE), 0.5);
    else if (flags_ & kPressed)
        colour = kLinkPressedColour;
    else if (flags_ & kHot)
        colour = kLinkHotColour;
    dc.setTextColour(colour);
    dc.setTransparentText(true);
    dc.drawText(text.view(), rect, kTextFlags);
}

void ktButton::paintPushButton(host::DeviceContext& dc, host::Rect rect, const ktString& text) {
    host::Host& h = host::instance();
    host::ColourRef face = h.systemColour(host::COLOR_BTNFACE);
    if (flags_ & kHot) face = mixColours(face, kYellow, 0.25);
    host::ColourRef textColour = h.isEnabled(handle())
                                     ? kBlack
                                     : mixColours(kBlack, h.systemColour(host::COLOR_BTNFACE), 0.5);
    if (flags_ & kDefault) {
        fill(dc, rect, kBlack);
        rect = {rect.left + 1, rect.top + 1, rect.right - 1, rect.bottom - 1};
    }
    fill(dc, rect, face);
    bool pressed = flags_ & kPressed;
    dc.drawEdge(rect, pressed ? host::Edge::sunken : host::Edge::raised);
    host::Rect textRect = rect;
    if (pressed || (flags_ & kChecked)) {
        textRect.left += 1;
        textRect.top += 1;
        textRect.right += 1;
        textRect.bottom += 1;
    }
    dc.setTextColour(textColour);
    dc.setTransparentText(true);
    dc.drawText(text.view(), textRect, kTextFlags);
    if (focusDepth() == 1)
        dc.drawFocusRect({rect.left + 3, rect.top + 3, rect.right - 3, rect.bottom - 3});
}

}  // namespace penwick
