// ktWnd services: messages, text, focus, device contexts, the back buffer,
// full screen and the menu-state update.
#include <algorithm>

#include "framework/platform/graphics.h"
#include "framework/window/window.h"
#include "host/menu.h"
#include "host/messages.h"

namespace penwick {

bool ktWnd::isValid() const {
    return handle_ != host::kNoWindow && host::instance().isWindow(handle_);
}

void ktWnd::invalidate() {
    host::instance().invalidate(handle_, nullptr, false);
}

void ktWnd::invalidate(const host::Rect& rect, bool erase) {
    host::instance().invalidate(handle_, &rect, erase);
}

host::LResult ktWnd::send(std::uint32_t message, host::WParam wParam, host::LParam lParam) {
    return host::instance().sendMessage(handle_, message, wParam, lParam);
}

bool ktWnd::post(std::uint32_t message, host::WParam wParam, host::LParam lParam) {
    return host::instance().postMessage(handle_, message, wParam, lParam);
}

host::LResult ktWnd::defaultProc(std::uint32_t message, host::WParam wParam, host::LParam lParam) {
    return previousProc_ ? previousProc_(handle_, message, wParam, lParam) : 0;
}

void ktWnd::moveTo(const host::Rect& rect) {
    host::instance().moveWindow(handle_, rect, true);
}

ktString ktWnd::getText() const {
    return ktString(host::instance().windowText(handle_));
}

void ktWnd::setText(std::string_view text) {
    if (host::instance().windowText(handle_) != text) host::instance().setWindowText(handle_, text);
}

int ktWnd::focusDepth() const {
    host::Host& h = host::instance();
    if (handle_ == host::kNoWindow) return 0;
    int depth = 1;
    for (host::Window w = h.focusWindow(); w != host::kNoWindow; w = h.parent(w), ++depth)
        if (w == handle_) return depth;
    return 0;
}

// ---- Device contexts and the back buffer ------------------------------------

host::DeviceContext* ktWnd::getDC() {
    if (backBuffer_) return backBuffer_->dc();
    std::unique_ptr<host::DeviceContext> dc = host::instance().getDC(handle_);
    if (!dc) return nullptr;
    windowDCs_.push_back(std::move(dc));
    return windowDCs_.back().get();
}

void ktWnd::releaseDC(host::DeviceContext* dc) {
    std::erase_if(windowDCs_, [dc](const auto& owned) { return owned.get() == dc; });
}

void ktWnd::setBackBuffer(bool on, bool lowColour) {
    if (!on) {
        backBuffer_.reset();
        return;
    }
    auto buffer = std::make_shared<ktBitmap>();
    host::Rect client = host::instance().clientRect(handle_);
    if (buffer->create(client.width(), client.height(), lowColour ? 8 : 32))
        backBuffer_ = std::move(buffer);
    else
        backBuffer_.reset();
}

void ktWnd::resizeBackBuffer() {
    host::Rect client = host::instance().clientRect(handle_);
    int width = std::max(client.width(), 1);
    int height = std::max(client.height(), 1);
    if (backBuffer_->isValid() && backBuffer_->width() == width && backBuffer_->height() == height)
        return;
    int bits = backBuffer_->bitsPerPixel() == 8 ? 8 : 32;
    backBuffer_->create(width, height, bits);
}

// ---- Full screen --------------------------------------------------------------

namespace {
// The caption, the system menu, the sizing border and the minimise and
// maximise boxes taken away.
constexpr std::uint32_t kFullScreenStyleMask = 0xFF30FFFF;
}  // namespace

bool ktWnd::setFullScreen(bool on) {
    host::Host& h = host::instance();
    if (!isValid()) return false;
    if (on && !isFullScreen()) {
        restoreRect_ = h.windowRect(handle_);
        savedStyle_ = h.windowStyle(handle_);
        savedMenu_ = h.windowMenu(handle_);
        if (savedMenu_ != host::kNoMenu) h.setWindowMenu(handle_, host::kNoMenu);
        h.setWindowStyle(handle_, savedStyle_ & kFullScreenStyleMask);
        host::Rect screen;
        if (std::optional<host::Rect> monitor = h.monitorRect(handle_))
            screen = *monitor;
        else if (std::optional<host::DisplayMode> mode = displayMode())
            screen = {0, 0, mode->width, mode->height};
        h.moveWindow(handle_, screen, true);
        return true;
    }
    if (!on && isFullScreen()) {
        h.setWindowStyle(handle_, savedStyle_);
        if (savedMenu_ != host::kNoMenu) h.setWindowMenu(handle_, savedMenu_);
        h.moveWindow(handle_, restoreRect_, true);
        host::Rect client = h.clientRect(handle_);
        post(host::WM_SIZE, host::SIZE_RESTORED, host::makeLParam(client.width(), client.height()));
        savedStyle_ = 0;
        savedMenu_ = host::kNoMenu;
        return true;
    }
    return false;
}

// ---- Menu update --------------------------------------------------------------

namespace {
constexpr std::size_t kMenuTextLimit = 260;
}

void ktWnd::updateMenu(host::Menu menu, bool recurse) {
    host::Host& h = host::instance();
    int count = h.menuItemCount(menu);
    for (int position = 0; position < count; ++position) {
        std::optional<host::MenuItem> item = h.menuItem(menu, position);
        if (!item) continue;
        if (item->flags & host::MF_POPUP) {
            if (recurse) updateMenu(item->subMenu, true);
            continue;
        }
        if ((item->flags & host::MF_SEPARATOR) || item->id > 0xFFFF) continue;
        CommandState state;
        state.id = item->id;
        state.flags = ((item->flags & host::MF_GRAYED) ? 0 : CommandState::kEnabled) |
                      ((item->flags & host::MF_CHECKED) ? CommandState::kChecked : 0);
        state.text = ktString(std::string_view(item->text).substr(0, kMenuTextLimit));
        send(host::WM_UPDATE_COMMAND, 0, host::LParam(&state));
        if (state.flags & CommandState::kTextChanged)
            h.setMenuItemText(menu, position, state.text.view());
        h.setMenuItemChecked(menu, position, state.checked());
        h.setMenuItemEnabled(menu, position, state.enabled());
    }
}

}  // namespace penwick
