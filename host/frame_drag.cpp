#include "host/frame_drag.h"

#include <algorithm>

#include "host/messages.h"

namespace host {

namespace {

// The WM_SIZING edge of a border's hit-test answer; 0 for anything else.
int sizingEdge(int hit) {
    switch (hit) {
        case HTLEFT:
            return WMSZ_LEFT;
        case HTRIGHT:
            return WMSZ_RIGHT;
        case HTTOP:
            return WMSZ_TOP;
        case HTTOPLEFT:
            return WMSZ_TOPLEFT;
        case HTTOPRIGHT:
            return WMSZ_TOPRIGHT;
        case HTBOTTOM:
            return WMSZ_BOTTOM;
        case HTBOTTOMLEFT:
            return WMSZ_BOTTOMLEFT;
        case HTBOTTOMRIGHT:
            return WMSZ_BOTTOMRIGHT;
        default:
            return 0;
    }
}

Rect screenRect(const Host& host, Window window) {
    Rect r = host.windowRect(window);
    Window parent = host.parent(window);
    if (parent == kNoWindow) return r;
    Point topLeft = host.clientToScreen(parent, {r.left, r.top});
    return {topLeft.x, topLeft.y, topLeft.x + r.width(), topLeft.y + r.height()};
}

}  // namespace

bool FrameDrag::consumes(Host& host, const Message& message) {
    if (window_ != kNoWindow && !host.isWindow(window_)) window_ = kNoWindow;
    if (window_ == kNoWindow) {
        if (message.message != WM_LBUTTONDOWN || !host.isWindow(message.window)) return false;
        const int hit = int(host.sendMessage(message.window, WM_NCHITTEST, 0,
                                             makeLParam(message.point.x, message.point.y)));
        if (hit != HTCAPTION && sizingEdge(hit) == 0) return false;
        if (!host.isWindow(message.window)) return true;
        window_ = message.window;
        hit_ = hit;
        start_ = message.point;
        startRect_ = screenRect(host, window_);
        host.setCapture(window_);
        return true;
    }
    switch (message.message) {
        case WM_MOUSEMOVE:
            follow(host, message.point);
            return true;
        case WM_LBUTTONUP:
            follow(host, message.point);
            window_ = kNoWindow;
            host.releaseCapture();
            return true;
        default:
            return false;
    }
}

void FrameDrag::follow(Host& host, Point screen) {
    const int dx = screen.x - start_.x, dy = screen.y - start_.y;
    Rect r = startRect_;
    const int edge = sizingEdge(hit_);
    if (edge == 0) {
        r = {r.left + dx, r.top + dy, r.right + dx, r.bottom + dy};
    } else {
        if (hit_ == HTLEFT || hit_ == HTTOPLEFT || hit_ == HTBOTTOMLEFT) r.left += dx;
        if (hit_ == HTRIGHT || hit_ == HTTOPRIGHT || hit_ == HTBOTTOMRIGHT) r.right += dx;
        if (hit_ == HTTOP || hit_ == HTTOPLEFT || hit_ == HTTOPRIGHT) r.top += dy;
        if (hit_ == HTBOTTOM || hit_ == HTBOTTOMLEFT || hit_ == HTBOTTOMRIGHT) r.bottom += dy;
        host.sendMessage(window_, WM_SIZING, WParam(edge), LParam(&r));
        if (!host.isWindow(window_)) return;
        // An edge dragged past the opposite one stops there.
        r.right = std::max(r.right, r.left);
        r.bottom = std::max(r.bottom, r.top);
    }
    if (Window parent = host.parent(window_); parent != kNoWindow) {
        Point topLeft = host.screenToClient(parent, {r.left, r.top});
        r = {topLeft.x, topLeft.y, topLeft.x + r.width(), topLeft.y + r.height()};
    }
    host.moveWindow(window_, r, true);
}

}  // namespace host
