// The headless host: windows, painting, the queue, timers and input.
// Menus, clipboard, dialogs, shell and tablet are in headless_services.cpp.
#include "host/headless/headless_host.h"

#include <algorithm>
#include <cctype>
#include <functional>
#include <utility>

#include "host/headless/headless_records.h"
#include "host/keys.h"
#include "host/window_style.h"

namespace host::headless {

namespace {
std::uintptr_t raw(Window w) {
    return std::uintptr_t(w);
}
Rect unite(const Rect& a, const Rect& b) {
    return {std::min(a.left, b.left), std::min(a.top, b.top), std::max(a.right, b.right),
            std::max(a.bottom, b.bottom)};
}
Rect intersect(const Rect& a, const Rect& b) {
    return {std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right),
            std::min(a.bottom, b.bottom)};
}
}  // namespace

// The device context of one paint: records into the window's draw log.
class HeadlessHost::PaintContext : public RecordingContext {
  public:
    using RecordingContext::RecordingContext;
};

HeadlessHost::HeadlessHost() = default;
HeadlessHost::~HeadlessHost() = default;

HeadlessHost::WindowRecord* HeadlessHost::find(Window window) {
    return windows_.find(window);
}
const HeadlessHost::WindowRecord* HeadlessHost::find(Window window) const {
    return windows_.find(window);
}

RecordingContext::Environment HeadlessHost::environment() const {
    return {[this](Font f) {
                auto it = fonts_.find(std::uintptr_t(f));
                return it == fonts_.end() ? 0 : it->second.height;
            },
            [this](Brush b) {
                auto it = brushes_.find(std::uintptr_t(b));
                return it == brushes_.end() ? ColourRef(0) : it->second;
            }};
}

// ---- Windows --------------------------------------------------------------

Rect HeadlessHost::frameInsets(std::uint32_t style, bool withMenu) const {
    if (style & WS_CHILD) {
        int b = (style & WS_BORDER) ? 1 : 0;
        return {b, b, b, b};
    }
    int side = (style & WS_THICKFRAME) ? 4 : (style & (WS_BORDER | WS_DLGFRAME)) ? 1 : 0;
    int top = side + ((style & WS_CAPTION) == WS_CAPTION ? 24 : 0) + (withMenu ? 20 : 0);
    return {side, top, side, side};
}

Rect HeadlessHost::adjustWindowRect(const Rect& client, std::uint32_t style, bool withMenu) const {
    Rect in = frameInsets(style, withMenu);
    return {client.left - in.left, client.top - in.top, client.right + in.right,
            client.bottom + in.bottom};
}

Window HeadlessHost::createWindow(const CreateRequest& request) {
    const bool child = request.style & WS_CHILD;
    if (child && !find(request.parent)) return kNoWindow;
    if (!request.proc) return kNoWindow;
    auto record = std::make_unique<WindowRecord>();
    record->handle = windows_.newHandle();
    record->proc = request.proc;
    // Visibility, enabling and minimising live in their own fields.
    record->style = request.style & ~(WS_VISIBLE | WS_DISABLED | WS_MINIMIZE);
    record->exStyle = request.exStyle;
    record->title = request.title;
    record->id = request.id;
    if (child)
        record->parent = request.parent;
    else if (find(request.parent))
        record->owner = request.parent;
    record->rect = requestedWindowRect(request);
    record->enabled = !(request.style & WS_DISABLED);
    Window handle = record->handle;
    windows_.add(std::move(record));
    if (child) find(request.parent)->children.push_back(handle);

    LParam param = LParam(&request);
    if (sendMessage(handle, WM_NCCREATE, 0, param) == 0 ||
        sendMessage(handle, WM_CREATE, 0, param) == -1) {
        destroyWindow(handle);
        return kNoWindow;
    }
    if (!find(handle)) return kNoWindow;
    sendSize(handle);
    sendMove(handle);
    if (request.style & WS_VISIBLE) showWindow(handle, SW_SHOW);
    return handle;
}

void HeadlessHost::sendSize(Window window) {
    Rect c = clientRect(window);
    WindowRecord* w = find(window);
    if (!w) return;
    w->lastClientSize = {c.width(), c.height()};
    sendMessage(window, WM_SIZE, w->minimised ? SIZE_MINIMIZED : SIZE_RESTORED,
                makeLParam(c.width(), c.height()));
}

void HeadlessHost::sendMove(Window window) {
    WindowRecord* w = find(window);
    if (!w) return;
    // The client area's origin: screen coordinates for top-level windows,
    // the parent's client coordinates for children.
    Rect in = frameInsets(w->style, w->menu != kNoMenu);
    sendMessage(window, WM_MOVE, 0, makeLParam(w->rect.left + in.left, w->rect.top + in.top));
}

bool HeadlessHost::destroyWindow(Window window) {
    WindowRecord* w = find(window);
    if (!w || w->destroying) return false;
    w->destroying = true;
    // Owned popups go first, as on the platform.
    std::vector<Window> owned;
    for (auto& [handle, record] : windows_)
        if (!record->dead && record->owner == window) owned.push_back(record->handle);
    for (Window o : owned)
        destroyWindow(o);
    // The window is hidden before it goes: if it holds the keyboard focus,
    // the focus leaves it (and its children) first.
    if (windows_.isWithin(focus_, window)) setFocus(kNoWindow);
    if (WindowRecord* p = find(parent(window))) std::erase(p->children, window);
    if (capture_ == window) releaseCapture();
    sendMessage(window, WM_DESTROY, 0, 0);
    destroyTree(window);
    return true;
}

void HeadlessHost::destroyTree(Window window) {
    WindowRecord* w = find(window);
    if (!w) return;
    std::vector<Window> kids = w->children;
    for (Window k : kids) {
        if (WindowRecord* kr = find(k)) {
            kr->destroying = true;
            sendMessage(k, WM_DESTROY, 0, 0);
            destroyTree(k);
        }
    }
    std::erase_if(timers_, [&](const auto& t) { return t.first.first == raw(window); });
    tablets_.disableFor(window);
    if (focus_ == window) focus_ = kNoWindow;
    if (foreground_ == window) foreground_ = kNoWindow;
    if (capture_ == window) capture_ = kNoWindow;
    sendMessage(window, WM_NCDESTROY, 0, 0);
    if (WindowRecord* again = find(window)) again->dead = true;
    queue_.forget(window);
}

bool HeadlessHost::isWindow(Window window) const {
    return find(window) != nullptr;
}
Window HeadlessHost::parent(Window window) const {
    return windows_.parent(window);
}
Window HeadlessHost::owner(Window window) const {
    return windows_.owner(window);
}
std::vector<Window> HeadlessHost::children(Window window) const {
    return windows_.children(window);
}
WindowProc HeadlessHost::windowProc(Window window) const {
    return windows_.proc(window);
}
WindowProc HeadlessHost::setWindowProc(Window window, WindowProc proc) {
    return windows_.setProc(window, proc);
}
void* HeadlessHost::userData(Window window) const {
    return windows_.userData(window);
}
void HeadlessHost::setUserData(Window window, void* data) {
    windows_.setUserData(window, data);
}
int HeadlessHost::windowId(Window window) const {
    return windows_.id(window);
}
void HeadlessHost::setWindowId(Window window, int id) {
    windows_.setId(window, id);
}
std::uint32_t HeadlessHost::windowStyle(Window window) const {
    const WindowRecord* w = find(window);
    if (!w) return 0;
    return w->style | (w->visible ? WS_VISIBLE : 0) | (w->enabled ? 0 : WS_DISABLED) |
           (w->minimised ? WS_MINIMIZE : 0);
}
void HeadlessHost::setWindowStyle(Window window, std::uint32_t style) {
    WindowRecord* w = find(window);
    if (!w) return;
    w->style = style & ~(WS_VISIBLE | WS_DISABLED | WS_MINIMIZE);
    Rect c = clientRect(window);
    if (c.width() != w->lastClientSize.x || c.height() != w->lastClientSize.y) sendSize(window);
}

LResult HeadlessHost::defaultProc(Window window, std::uint32_t message, WParam, LParam lParam) {
    switch (message) {
        case WM_NCCREATE:
            return 1;
        case WM_CLOSE:
            destroyWindow(window);
            return 0;
        case WM_RBUTTONUP: {
            Point s = clientToScreen(window, {pointX(lParam), pointY(lParam)});
            sendMessage(window, WM_CONTEXTMENU, WParam(window), makeLParam(s.x, s.y));
            return 0;
        }
        case WM_SETCURSOR:
            setCursor(Cursor::arrow);
            return 1;
        case WM_QUERYENDSESSION:
            return 1;
        default:
            return 0;
    }
}

std::string HeadlessHost::windowText(Window window) const {
    const WindowRecord* w = find(window);
    return w ? w->title : std::string();
}
void HeadlessHost::setWindowText(Window window, std::string_view text) {
    if (WindowRecord* w = find(window)) w->title = std::string(text);
}

Rect HeadlessHost::clientRect(Window window) const {
    const WindowRecord* w = find(window);
    if (!w) return {};
    Rect in = frameInsets(w->style, w->menu != kNoMenu);
    return {0, 0, std::max(0, w->rect.width() - in.left - in.right),
            std::max(0, w->rect.height() - in.top - in.bottom)};
}
Rect HeadlessHost::windowRect(Window window) const {
    const WindowRecord* w = find(window);
    return w ? w->rect : Rect{};
}

Point HeadlessHost::clientOrigin(Window window) const {
    const WindowRecord* w = find(window);
    if (!w) return {};
    Rect in = frameInsets(w->style, w->menu != kNoMenu);
    Point origin{w->rect.left + in.left, w->rect.top + in.top};
    if (w->parent != kNoWindow) {
        Point p = clientOrigin(w->parent);
        origin.x += p.x;
        origin.y += p.y;
    }
    return origin;
}
Point HeadlessHost::clientToScreen(Window window, Point p) const {
    Point o = clientOrigin(window);
    return {p.x + o.x, p.y + o.y};
}
Point HeadlessHost::screenToClient(Window window, Point p) const {
    Point o = clientOrigin(window);
    return {p.x - o.x, p.y - o.y};
}

void HeadlessHost::moveWindow(Window window, const Rect& rect, bool repaint) {
    WindowRecord* w = find(window);
    if (!w) return;
    bool moved = rect.left != w->rect.left || rect.top != w->rect.top;
    w->rect = {rect.left, rect.top, std::max(rect.left, rect.right),
               std::max(rect.top, rect.bottom)};
    Rect c = clientRect(window);
    if (c.width() != w->lastClientSize.x || c.height() != w->lastClientSize.y) sendSize(window);
    if (moved) sendMove(window);
    if (repaint) invalidate(window, nullptr, true);
}

bool HeadlessHost::showWindow(Window window, int command) {
    WindowRecord* w = find(window);
    if (!w) return false;
    bool was = w->visible;
    bool show = command != SW_HIDE;
    bool minimise =
        command == SW_MINIMIZE || command == SW_SHOWMINIMIZED || command == SW_SHOWMINNOACTIVE;
    bool sizeChange = minimise != w->minimised;
    w->minimised = minimise;
    if (show != was) {
        w->visible = show;
        sendMessage(window, WM_SHOWWINDOW, show ? 1 : 0, 0);
        if (show) invalidate(window, nullptr, true);
    }
    if (sizeChange) sendSize(window);
    bool activate = show && !minimise && command != SW_SHOWNOACTIVATE && command != SW_SHOWNA &&
                    !(w->style & WS_CHILD);
    if (activate) setForegroundWindow(window);
    return was;
}

bool HeadlessHost::isVisible(Window window) const {
    for (const WindowRecord* w = find(window); w; w = find(w->parent))
        if (!w->visible) return false;
    return find(window) != nullptr;
}
bool HeadlessHost::isMinimised(Window window) const {
    const WindowRecord* w = find(window);
    return w && w->minimised;
}
bool HeadlessHost::enableWindow(Window window, bool enable) {
    WindowRecord* w = find(window);
    if (!w) return false;
    bool wasDisabled = !w->enabled;
    if (w->enabled != enable) {
        w->enabled = enable;
        sendMessage(window, WM_ENABLE, enable ? 1 : 0, 0);
    }
    return wasDisabled;
}
bool HeadlessHost::isEnabled(Window window) const {
    const WindowRecord* w = find(window);
    return w && w->enabled;
}
bool HeadlessHost::setForegroundWindow(Window window) {
    if (!find(window)) return false;
    if (foreground_ == window) return true;
    Window old = foreground_;
    foreground_ = window;
    if (find(old)) sendMessage(old, WM_ACTIVATE, WA_INACTIVE, LParam(window));
    sendMessage(window, WM_ACTIVATE, WA_ACTIVE, LParam(old));
    return true;
}
Window HeadlessHost::setFocus(Window window) {
    Window old = focus_;
    if (window == old) return old;
    if (window != kNoWindow && !find(window)) return old;
    focus_ = window;
    if (find(old)) sendMessage(old, WM_KILLFOCUS, WParam(window), 0);
    if (find(window)) sendMessage(window, WM_SETFOCUS, WParam(old), 0);
    return old;
}
Window HeadlessHost::setCapture(Window window) {
    Window old = capture_;
    if (old == window) return old;
    capture_ = find(window) ? window : kNoWindow;
    if (find(old)) sendMessage(old, WM_CAPTURECHANGED, 0, LParam(capture_));
    return old;
}
void HeadlessHost::releaseCapture() {
    Window old = std::exchange(capture_, kNoWindow);
    if (find(old)) sendMessage(old, WM_CAPTURECHANGED, 0, 0);
}
void HeadlessHost::setWindowIcon(Window window, Icon icon, bool small) {
    if (WindowRecord* w = find(window)) (small ? w->smallIcon : w->largeIcon) = icon;
}
Icon HeadlessHost::windowIcon(Window window, bool small) const {
    const WindowRecord* w = find(window);
    return w ? (small ? w->smallIcon : w->largeIcon) : kNoIcon;
}
std::optional<Rect> HeadlessHost::monitorRect(Window window) const {
    if (!monitorAvailable_ || !find(window) || !displayMode_) return std::nullopt;
    return Rect{0, 0, displayMode_->width, displayMode_->height};
}
void HeadlessHost::acceptFiles(Window window, bool accept) {
    if (WindowRecord* w = find(window)) w->acceptsFiles = accept;
}
std::vector<std::string> HeadlessHost::droppedFiles(WParam drop) const {
    auto it = drops_.find(drop);
    return it == drops_.end() ? std::vector<std::string>{} : it->second;
}
void HeadlessHost::finishDrop(WParam drop) {
    drops_.erase(drop);
}

// ---- Painting ---------------------------------------------------------------

void HeadlessHost::invalidate(Window window, const Rect* rect, bool erase) {
    WindowRecord* w = find(window);
    if (!w) return;
    Rect client = clientRect(window);
    Rect r = rect ? intersect(*rect, client) : client;
    if (r.isEmpty()) return;
    w->dirty = w->dirty ? unite(*w->dirty, r) : r;
    w->eraseDue = w->eraseDue || erase;
}

std::optional<Rect> HeadlessHost::dirtyRect(Window window) const {
    const WindowRecord* w = find(window);
    return w ? w->dirty : std::nullopt;
}

std::vector<DrawOp>& HeadlessHost::drawLog(Window window) {
    static std::vector<DrawOp> none;
    WindowRecord* w = find(window);
    if (!w) {
        none.clear();
        return none;
    }
    return w->drawLog;
}

void HeadlessHost::updateWindow(Window window) {
    if (isVisible(window)) paint(window);
}

bool HeadlessHost::paint(Window window) {
    WindowRecord* w = find(window);
    if (!w || !w->dirty || !isVisible(window)) return false;
    sendMessage(window, WM_PAINT, 0, 0);
    // A procedure that never called beginPaint leaves nothing invalid either,
    // which the platform's default painting does too.
    if (WindowRecord* again = find(window)) again->dirty.reset(), again->eraseDue = false;
    return true;
}

int HeadlessHost::paint() {
    int count = 0;
    std::vector<Window> order;
    std::function<void(Window)> visit = [&](Window w) {
        order.push_back(w);
        for (Window c : children(w))
            visit(c);
    };
    for (auto& [handle, record] : windows_)
        if (!record->dead && record->parent == kNoWindow) visit(record->handle);
    for (Window w : order)
        count += paint(w) ? 1 : 0;
    return count;
}

PaintRecord HeadlessHost::beginPaint(Window window) {
    WindowRecord* w = find(window);
    if (!w) return {};
    PaintRecord record;
    record.paint = w->dirty.value_or(Rect{});
    Rect client = clientRect(window);
    w->paintContext = std::make_unique<RecordingContext>(
        environment(), client.width(), client.height(), client.width() * 254 / 960,
        client.height() * 254 / 960, &w->drawLog);
    record.dc = w->paintContext.get();
    if (w->eraseDue) {
        w->eraseDue = false;
        record.erase = sendMessage(window, WM_ERASEBKGND, WParam(record.dc), 0) == 0;
    }
    if (WindowRecord* again = find(window)) again->dirty.reset();
    return record;
}

void HeadlessHost::endPaint(Window window, const PaintRecord&) {
    if (WindowRecord* w = find(window)) w->paintContext.reset();
}

std::unique_ptr<DeviceContext> HeadlessHost::getDC(Window window) {
    if (WindowRecord* w = find(window)) {
        Rect c = clientRect(window);
        return std::make_unique<RecordingContext>(environment(), c.width(), c.height(),
                                                  c.width() * 254 / 960, c.height() * 254 / 960,
                                                  &w->drawLog);
    }
    if (window != kNoWindow || !displayMode_) return nullptr;
    return std::make_unique<RecordingContext>(environment(), displayMode_->width,
                                              displayMode_->height, 508, 286, nullptr);
}

std::unique_ptr<DeviceContext> HeadlessHost::createMemoryContext(const PixelView& pixels) {
    if (!pixels.bits || pixels.width <= 0 || pixels.height <= 0) return nullptr;
    return std::make_unique<RecordingContext>(environment(), pixels, nullptr);
}

std::unique_ptr<DeviceContext> HeadlessHost::createPicture(const DeviceContext& reference,
                                                           const Rect*, std::string_view) {
    return std::make_unique<RecordingContext>(
        environment(), reference.deviceCaps(HORZRES), reference.deviceCaps(VERTRES),
        reference.deviceCaps(HORZSIZE), reference.deviceCaps(VERTSIZE), nullptr);
}

Brush HeadlessHost::createSolidBrush(ColourRef colour) {
    Brush b{nextObject_++};
    brushes_[std::uintptr_t(b)] = colour & 0xFFFFFF;
    return b;
}
void HeadlessHost::deleteBrush(Brush brush) {
    brushes_.erase(std::uintptr_t(brush));
}

void HeadlessHost::setFontAvailable(std::string face, bool available) {
    fontAvailable_[std::move(face)] = available;
}
Font HeadlessHost::createFont(std::string_view face, int height, bool italic, bool bold) {
    auto it = fontAvailable_.find(std::string(face));
    if (it != fontAvailable_.end() && !it->second) return kNoFont;
    Font f{nextObject_++};
    fonts_[std::uintptr_t(f)] = {std::string(face), height, italic, bold};
    return f;
}
void HeadlessHost::deleteFont(Font font) {
    fonts_.erase(std::uintptr_t(font));
}
std::optional<HeadlessHost::FontInfo> HeadlessHost::fontInfo(Font font) const {
    auto it = fonts_.find(std::uintptr_t(font));
    if (it == fonts_.end()) return std::nullopt;
    return it->second;
}
Icon HeadlessHost::stockIcon(StockIcon which) {
    return Icon(0x10 + int(which));
}
Icon HeadlessHost::programIcon() {
    return Icon(128);
}

// ---- Messages ---------------------------------------------------------------

void HeadlessHost::queue(Window window, std::uint32_t message, WParam wParam, LParam lParam,
                         KeyChanges keyChanges) {
    queue_.post({window, message, wParam, lParam, std::uint32_t(now_), cursorPos_},
                std::move(keyChanges));
}

bool HeadlessHost::postMessage(Window window, std::uint32_t message, WParam wParam, LParam lParam) {
    if (window != kNoWindow && !find(window)) return false;
    queue(window, message, wParam, lParam);
    return true;
}

LResult HeadlessHost::sendMessage(Window window, std::uint32_t message, WParam wParam,
                                  LParam lParam) {
    return windows_.send(window, message, wParam, lParam);
}

void HeadlessHost::postQuitMessage(int exitCode) {
    queue(kNoWindow, WM_QUIT, WParam(exitCode), 0);
}

bool HeadlessHost::take(Message& message, Window window, std::uint32_t first, std::uint32_t last,
                        bool remove) {
    const MessageFilter filter{window, first, last};
    auto applyKeys = [&](const KeyChanges& changes) {
        for (auto [key, down] : changes)
            keys_[key & 0xFF] = down;
    };
    // A mouse message that belongs to a frame drag is used up on the way.
    while (queue_.take(message, filter, remove, applyKeys))
        if (!remove || !frameDrag_.consumes(*this, message)) return true;
    return takePendingTimer(timers_, filter, remove, message, [&](Message& m) {
        m.time = std::uint32_t(now_);
        m.point = cursorPos_;
    });
}

bool HeadlessHost::peekMessage(Message& message, Window window, std::uint32_t first,
                               std::uint32_t last, bool remove) {
    return take(message, window, first, last, remove);
}

bool HeadlessHost::getMessage(Message& message) {
    while (!take(message, kNoWindow, 0, 0, true)) {
        if (idleSteps_.empty()) {
            message = Message{kNoWindow,           WM_QUIT,   WParam(kStarvedExitCode), 0,
                              std::uint32_t(now_), cursorPos_};
            return false;
        }
        auto step = std::move(idleSteps_.front());
        idleSteps_.pop_front();
        step();
    }
    return message.message != WM_QUIT;
}

bool HeadlessHost::translateMessage(const Message& m) {
    if (m.message != WM_KEYDOWN && m.message != WM_SYSKEYDOWN) return false;
    int vk = int(m.wParam);
    bool shift = keys_[VK_SHIFT];
    int code = 0;
    if (vk >= 'A' && vk <= 'Z')
        code = shift ? vk : std::tolower(vk);
    else if (vk >= '0' && vk <= '9')
        code = shift ? ")!@#$%^&*("[vk - '0'] : vk;
    else if (vk >= VK_NUMPAD0 && vk <= VK_NUMPAD0 + 9)
        code = '0' + vk - VK_NUMPAD0;
    else if (vk == VK_SPACE || vk == VK_RETURN || vk == VK_BACK || vk == VK_ESCAPE || vk == VK_TAB)
        code = vk;
    else if (vk == VK_ADD)
        code = '+';
    else if (vk == VK_SUBTRACT)
        code = '-';
    else if (vk == VK_MULTIPLY)
        code = '*';
    else if (vk == VK_DIVIDE)
        code = '/';
    else if (vk == VK_OEM_2)
        code = shift ? '?' : '/';
    else if (vk == VK_OEM_PERIOD)
        code = shift ? '>' : '.';
    else if (vk == VK_OEM_COMMA)
        code = shift ? '<' : ',';
    else if (vk == VK_OEM_MINUS)
        code = shift ? '_' : '-';
    else if (vk == VK_OEM_PLUS)
        code = shift ? '+' : '=';
    if (code == 0) return false;
    if (keys_[VK_CONTROL] && code >= 'a' && code <= 'z')
        code -= 'a' - 1;  // Ctrl+A = 1
    else if (keys_[VK_CONTROL] && code >= 'A' && code <= 'Z')
        code -= 'A' - 1;
    std::uint32_t charMessage = m.message == WM_SYSKEYDOWN ? WM_SYSCHAR : WM_CHAR;
    // The character comes next, ahead of anything queued after the key.
    queue_.postFirst({m.window, charMessage, WParam(code), m.lParam, m.time, m.point});
    return true;
}

LResult HeadlessHost::dispatchMessage(const Message& m) {
    if (m.window == kNoWindow) return 0;
    bool mouse = m.message >= WM_MOUSEMOVE && m.message <= WM_MBUTTONUP;
    if (mouse && capture_ == kNoWindow)
        sendMessage(m.window, WM_SETCURSOR, WParam(m.window), makeLParam(HTCLIENT, int(m.message)));
    return sendMessage(m.window, m.message, m.wParam, m.lParam);
}

// ---- Timers -----------------------------------------------------------------

bool HeadlessHost::setTimer(Window window, std::uintptr_t id, std::uint32_t periodMs) {
    if (!find(window)) return false;
    Timer& t = timers_[{raw(window), id}];
    t.period = std::max<std::uint32_t>(periodMs, 1);
    t.due = now_ + t.period;
    t.pending = false;
    return true;
}

bool HeadlessHost::killTimer(Window window, std::uintptr_t id) {
    return timers_.erase({raw(window), id}) > 0;
}

void HeadlessHost::advance(std::int64_t milliseconds) {
    now_ += std::max<std::int64_t>(milliseconds, 0);
    for (auto& [key, timer] : timers_) {
        if (timer.due > now_) continue;
        timer.pending = true;
        // Missed periods collapse into the one pending message.
        timer.due += ((now_ - timer.due) / timer.period + 1) * timer.period;
    }
}

// ---- Input ------------------------------------------------------------------

bool HeadlessHost::isKeyDown(int virtualKey) const {
    return keys_[virtualKey & 0xFF];
}

WParam HeadlessHost::heldButtons() const {
    return (pendingKeys_[VK_LBUTTON] ? MK_LBUTTON : 0) |
           (pendingKeys_[VK_RBUTTON] ? MK_RBUTTON : 0) |
           (pendingKeys_[VK_MBUTTON] ? MK_MBUTTON : 0);
}

void HeadlessHost::postMouse(Window window, std::uint32_t message, Point client, Modifiers mods,
                             WParam) {
    Point screen = clientToScreen(window, client);
    Window target = capture_ != kNoWindow ? capture_ : window;
    Point p = screenToClient(target, screen);
    cursorPos_ = screen;
    std::vector<std::pair<int, bool>> changes = {{VK_SHIFT, mods.shift},
                                                 {VK_CONTROL, mods.control},
                                                 {VK_MENU, mods.alt},
                                                 {VK_LBUTTON, pendingKeys_[VK_LBUTTON]},
                                                 {VK_RBUTTON, pendingKeys_[VK_RBUTTON]},
                                                 {VK_MBUTTON, pendingKeys_[VK_MBUTTON]}};
    pendingKeys_[VK_SHIFT] = mods.shift;
    pendingKeys_[VK_CONTROL] = mods.control;
    pendingKeys_[VK_MENU] = mods.alt;
    WParam flags = heldButtons() | (mods.shift ? MK_SHIFT : 0) | (mods.control ? MK_CONTROL : 0);
    queue(target, message, flags, makeLParam(p.x, p.y), std::move(changes));
}

namespace {
int buttonKey(MouseButton b) {
    return b == MouseButton::left ? VK_LBUTTON : b == MouseButton::right ? VK_RBUTTON : VK_MBUTTON;
}
std::uint32_t buttonMessage(MouseButton b, bool down) {
    switch (b) {
        case MouseButton::left:
            return down ? WM_LBUTTONDOWN : WM_LBUTTONUP;
        case MouseButton::right:
            return down ? WM_RBUTTONDOWN : WM_RBUTTONUP;
        default:
            return down ? WM_MBUTTONDOWN : WM_MBUTTONUP;
    }
}
}  // namespace

void HeadlessHost::mousePress(Window window, MouseButton button, Point client, Modifiers mods) {
    pendingKeys_[buttonKey(button)] = true;
    postMouse(window, buttonMessage(button, true), client, mods, 0);
}
void HeadlessHost::mouseMove(Window window, Point client, Modifiers mods) {
    postMouse(window, WM_MOUSEMOVE, client, mods, 0);
}
void HeadlessHost::mouseRelease(Window window, MouseButton button, Point client, Modifiers mods) {
    pendingKeys_[buttonKey(button)] = false;
    postMouse(window, buttonMessage(button, false), client, mods, 0);
}

void HeadlessHost::keyDown(int vk, Modifiers mods) {
    bool repeat = pendingKeys_[vk & 0xFF];
    pendingKeys_[vk & 0xFF] = true;
    pendingKeys_[VK_SHIFT] = mods.shift || vk == VK_SHIFT;
    pendingKeys_[VK_CONTROL] = mods.control || vk == VK_CONTROL;
    pendingKeys_[VK_MENU] = mods.alt || vk == VK_MENU;
    std::vector<std::pair<int, bool>> changes = {{VK_SHIFT, pendingKeys_[VK_SHIFT]},
                                                 {VK_CONTROL, pendingKeys_[VK_CONTROL]},
                                                 {VK_MENU, pendingKeys_[VK_MENU]},
                                                 {vk, true}};
    LParam lParam = 1 | (repeat ? kKeyPreviouslyDown : 0);
    std::uint32_t message =
        (mods.alt || vk == VK_F10) && !mods.control ? WM_SYSKEYDOWN : WM_KEYDOWN;
    queue(focus_, message, WParam(vk), lParam, std::move(changes));
}

void HeadlessHost::keyUp(int vk, Modifiers mods) {
    pendingKeys_[vk & 0xFF] = false;
    pendingKeys_[VK_SHIFT] = mods.shift && vk != VK_SHIFT;
    pendingKeys_[VK_CONTROL] = mods.control && vk != VK_CONTROL;
    pendingKeys_[VK_MENU] = mods.alt && vk != VK_MENU;
    std::vector<std::pair<int, bool>> changes = {{VK_SHIFT, pendingKeys_[VK_SHIFT]},
                                                 {VK_CONTROL, pendingKeys_[VK_CONTROL]},
                                                 {VK_MENU, pendingKeys_[VK_MENU]},
                                                 {vk, false}};
    LParam lParam = 1 | kKeyPreviouslyDown | kKeyReleased;
    std::uint32_t message = mods.alt && !mods.control ? WM_SYSKEYUP : WM_KEYUP;
    queue(focus_, message, WParam(vk), lParam, std::move(changes));
}

void HeadlessHost::wheel(int delta, Point screen, Modifiers mods) {
    cursorPos_ = screen;
    pendingKeys_[VK_SHIFT] = mods.shift;
    pendingKeys_[VK_CONTROL] = mods.control;
    pendingKeys_[VK_MENU] = mods.alt;
    WParam flags = heldButtons() | (mods.shift ? MK_SHIFT : 0) | (mods.control ? MK_CONTROL : 0);
    queue(focus_, WM_MOUSEWHEEL, makeWParam(int(flags), delta), makeLParam(screen.x, screen.y),
          {{VK_SHIFT, mods.shift}, {VK_CONTROL, mods.control}, {VK_MENU, mods.alt}});
}

bool HeadlessHost::dropFiles(Window window, std::vector<std::string> files) {
    WindowRecord* w = find(window);
    if (!w || !w->acceptsFiles) return false;
    WParam drop = nextDrop_++;
    drops_[drop] = std::move(files);
    queue(window, WM_DROPFILES, drop, 0);
    return true;
}

void HeadlessHost::clickClose(Window window) {
    sendMessage(window, WM_CLOSE, 0, 0);
}

}  // namespace host::headless
