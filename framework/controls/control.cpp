#include "framework/controls/control.h"

#include "host/keys.h"
#include "host/messages.h"

namespace penwick {

namespace {
struct FontChoice {
    const char* face;
    int height;
};
constexpr FontChoice kDialogFonts[] = {{"MS Shell Dlg", 14}, {"MS Sans Serif", 8}};
constexpr int kEdgeGrip = 3;  // pixels
}  // namespace

ktControl::ktControl() {
    if (!host::hasInstance()) return;
    for (const FontChoice& choice : kDialogFonts)
        if (font_.create(choice.face, choice.height, false, false)) break;
}

void ktControl::onClose() {
    destroy();
}

int ktControl::layoutHitTest(const host::Rect& r, host::Point p) {
    if (p.x < r.left + kEdgeGrip) return host::HTLEFT;
    if (p.y < r.top + kEdgeGrip) return host::HTTOP;
    if (p.x >= r.right - kEdgeGrip) return host::HTRIGHT;
    if (p.y < r.bottom - kEdgeGrip) return host::HTCAPTION;
    return host::HTBOTTOM;
}

int ktControl::snapToGrid(int x) {
    int remainder = ((x + 4) % 8 + 8) % 8;
    return x - remainder + 4;
}

host::LResult ktControl::windowProc(std::uint32_t message, host::WParam wParam,
                                    host::LParam lParam) {
    host::Host& h = host::instance();
    bool layoutKeys = h.isKeyDown(host::VK_CONTROL) && h.isKeyDown(host::VK_SHIFT);
    if (message == host::WM_NCHITTEST && layoutKeys) {
        host::Rect r = h.windowRect(handle());
        if (host::Window parent = h.parent(handle()); parent != host::kNoWindow) {
            host::Point topLeft = h.clientToScreen(parent, {r.left, r.top});
            r = {topLeft.x, topLeft.y, topLeft.x + r.width(), topLeft.y + r.height()};
        }
        return layoutHitTest(r, {host::pointX(lParam), host::pointY(lParam)});
    }
    if (message == host::WM_SIZING && lParam != 0) {
        auto& r = *reinterpret_cast<host::Rect*>(lParam);
        int edge = int(wParam);
        if (edge == host::WMSZ_LEFT || edge == host::WMSZ_TOPLEFT || edge == host::WMSZ_BOTTOMLEFT)
            r.left = snapToGrid(r.left);
        if (edge == host::WMSZ_RIGHT || edge == host::WMSZ_TOPRIGHT ||
            edge == host::WMSZ_BOTTOMRIGHT)
            r.right = snapToGrid(r.right);
        if (edge == host::WMSZ_TOP || edge == host::WMSZ_TOPLEFT || edge == host::WMSZ_TOPRIGHT)
            r.top = snapToGrid(r.top);
        if (edge == host::WMSZ_BOTTOM || edge == host::WMSZ_BOTTOMLEFT ||
            edge == host::WMSZ_BOTTOMRIGHT)
            r.bottom = snapToGrid(r.bottom);
        return 1;
    }
    return ktWnd::windowProc(message, wParam, lParam);
}

host::ColourRef mixColours(host::ColourRef a, host::ColourRef b, double t) {
    host::ColourRef out = 0;
    for (int shift = 0; shift < 32; shift += 8) {
        double x = double((a >> shift) & 0xFF);
        double y = double((b >> shift) & 0xFF);
        out |= host::ColourRef((1 - t) * x + t * y) << shift;
    }
    return out;
}

void fillWithButtonFace(host::DeviceContext& dc, host::Window window) {
    host::Host& h = host::instance();
    host::Brush face = h.createSolidBrush(h.systemColour(host::COLOR_BTNFACE));
    host::Brush old = dc.selectBrush(face);
    dc.fillRect(h.clientRect(window));
    dc.selectBrush(old);
    h.deleteBrush(face);
}

}  // namespace penwick
