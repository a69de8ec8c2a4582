// The host core: windows, their life, focus, capture, activation, enabling
// and the default window behaviour.
#include <algorithm>
#include <utility>

#include "host/host_core.h"
#include "host/window_style.h"

namespace host {

namespace {
// Visibility, enabling and minimising live in their own state, never in the
// style word a window keeps.
constexpr std::uint32_t kStateBits = WS_VISIBLE | WS_DISABLED | WS_MINIMIZE;
}  // namespace

HostCore::HostCore() = default;
HostCore::~HostCore() = default;

void HostCore::dropSurfaces() {
    for (auto& [handle, record] : windows_)
        record->native.reset();
}

// ---- Life -------------------------------------------------------------------

Window HostCore::createWindow(const CreateRequest& request) {
    const bool child = request.style & WS_CHILD;
    const CoreWindow* parentRecord = find(request.parent);
    if (child && !parentRecord) return kNoWindow;
    if (!request.proc) return kNoWindow;
    auto record = std::make_unique<CoreWindow>();
    record->handle = windows_.newHandle();
    record->proc = request.proc;
    record->style = request.style & ~kStateBits;
    record->exStyle = request.exStyle;
    record->title = request.title;
    record->id = request.id;
    if (child)
        record->parent = request.parent;
    else if (parentRecord)
        record->owner = request.parent;
    record->enabled = !(request.style & WS_DISABLED);
    record->acceptsFiles = request.exStyle & WS_EX_ACCEPTFILES;
    createSurface(*record, request);
    const Window handle = record->handle;
    windows_.add(std::move(record));
    if (child) find(request.parent)->children.push_back(handle);

    const LParam param = LParam(&request);
    if (sendMessage(handle, WM_NCCREATE, 0, param) == 0 ||
        sendMessage(handle, WM_CREATE, 0, param) == -1) {
        destroyWindow(handle);
        return kNoWindow;
    }
    if (CoreWindow* w = find(handle)) sendSizeIfChanged(*w, true);
    if (CoreWindow* w = find(handle)) sendMoveIfChanged(*w, true);
    if ((request.style & WS_VISIBLE) && find(handle)) showWindow(handle, SW_SHOW);
    return find(handle) ? handle : kNoWindow;
}

bool HostCore::destroyWindow(Window window) {
    CoreWindow* w = find(window);
    if (!w || w->destroying) return false;
    w->destroying = true;
    // Owned popups go first, as on the platform.
    std::vector<Window> owned;
    for (const auto& [handle, record] : windows_)
        if (!record->dead && record->owner == window) owned.push_back(record->handle);
    for (Window o : owned)
        destroyWindow(o);
    // The window is hidden before it goes: if it holds the keyboard focus,
    // the focus leaves it (and its children) first.
    if (windows_.isWithin(focus_, window)) setFocus(kNoWindow);
    if (CoreWindow* p = find(parent(window))) std::erase(p->children, window);
    if (windows_.isWithin(capture_, window)) releaseCapture();
    sendMessage(window, WM_DESTROY, 0, 0);
    destroyTree(window);
    return true;
}

void HostCore::destroyTree(Window window) {
    CoreWindow* w = find(window);
    if (!w) return;
    const std::vector<Window> kids = w->children;
    for (Window k : kids) {
        if (CoreWindow* kr = find(k)) {
            kr->destroying = true;
            sendMessage(k, WM_DESTROY, 0, 0);
            destroyTree(k);
        }
    }
    forgetTimersOf(window);
    tablets_.disableFor(window);
    if (focus_ == window) focus_ = kNoWindow;
    if (foreground_ == window) foreground_ = kNoWindow;
    if (capture_ == window) capture_ = kNoWindow;
    sendMessage(window, WM_NCDESTROY, 0, 0);
    if (CoreWindow* again = find(window)) {
        again->dead = true;
        destroySurface(*again);
    }
    queue_.forget(window);
}

// ---- Plain records ----------------------------------------------------------

bool HostCore::isWindow(Window window) const {
    return find(window) != nullptr;
}
Window HostCore::parent(Window window) const {
    return windows_.parent(window);
}
Window HostCore::owner(Window window) const {
    return windows_.owner(window);
}
std::vector<Window> HostCore::children(Window window) const {
    return windows_.children(window);
}
WindowProc HostCore::windowProc(Window window) const {
    return windows_.proc(window);
}
WindowProc HostCore::setWindowProc(Window window, WindowProc proc) {
    return windows_.setProc(window, proc);
}
void* HostCore::userData(Window window) const {
    return windows_.userData(window);
}
void HostCore::setUserData(Window window, void* data) {
    windows_.setUserData(window, data);
}
int HostCore::windowId(Window window) const {
    return windows_.id(window);
}
void HostCore::setWindowId(Window window, int id) {
    windows_.setId(window, id);
}

std::uint32_t HostCore::windowStyle(Window window) const {
    const CoreWindow* w = find(window);
    if (!w) return 0;
    return w->style | (surfaceShown(*w) ? WS_VISIBLE : 0) | (w->enabled ? 0 : WS_DISABLED) |
           (surfaceMinimised(*w) ? WS_MINIMIZE : 0);
}

void HostCore::setWindowStyle(Window window, std::uint32_t style) {
    CoreWindow* w = find(window);
    if (!w) return;
    // A window stays a child or a top-level window for its whole life.
    w->style = (w->style & WS_CHILD) | (style & ~(kStateBits | WS_CHILD));
    surfaceStyleChanged(*w);
    sendSizeIfChanged(*w, false);
}

std::string HostCore::windowText(Window window) const {
    const CoreWindow* w = find(window);
    return w ? w->title : std::string();
}
void HostCore::setWindowText(Window window, std::string_view text) {
    CoreWindow* w = find(window);
    if (!w) return;
    w->title = std::string(text);
    surfaceTitleChanged(*w);
}

void HostCore::setWindowIcon(Window window, Icon icon, bool small) {
    CoreWindow* w = find(window);
    if (!w) return;
    (small ? w->smallIcon : w->largeIcon) = icon;
    surfaceIconChanged(*w);
}
Icon HostCore::windowIcon(Window window, bool small) const {
    const CoreWindow* w = find(window);
    return w ? (small ? w->smallIcon : w->largeIcon) : kNoIcon;
}

void HostCore::acceptFiles(Window window, bool accept) {
    CoreWindow* w = find(window);
    if (!w) return;
    w->acceptsFiles = accept;
    surfaceDropsChanged(*w);
}

void HostCore::setDevicePixels(Window window, bool on) {
    CoreWindow* w = find(window);
    if (!w || w->devicePixels == on) return;
    w->devicePixels = on;
    surfaceUnitsChanged(*w);
    sendSizeIfChanged(*w, false);
    if (find(window)) invalidate(window, nullptr, true);
}

// ---- Geometry ---------------------------------------------------------------

Rect HostCore::clientRect(Window window) const {
    const CoreWindow* w = find(window);
    if (!w) return {};
    Point size = surfaceClientSize(*w);
    return {0, 0, std::max(size.x, 0), std::max(size.y, 0)};
}

Rect HostCore::windowRect(Window window) const {
    const CoreWindow* w = find(window);
    return w ? surfaceRect(*w) : Rect{};
}

void HostCore::moveWindow(Window window, const Rect& rect, bool repaint) {
    CoreWindow* w = find(window);
    if (!w) return;
    setSurfaceGeometry(*w, {rect.left, rect.top, std::max(rect.left, rect.right),
                            std::max(rect.top, rect.bottom)});
    sendSizeIfChanged(*w, false);
    if ((w = find(window))) sendMoveIfChanged(*w, false);
    if (repaint && find(window)) invalidate(window, nullptr, true);
}

void HostCore::sendSizeIfChanged(CoreWindow& w, bool force) {
    const Rect c = clientRect(w.handle);
    const WParam type = surfaceMinimised(w)   ? SIZE_MINIMIZED
                        : surfaceMaximised(w) ? SIZE_MAXIMIZED
                                              : SIZE_RESTORED;
    const bool same = c.width() == w.lastClientSize.x && c.height() == w.lastClientSize.y &&
                      type == w.lastSizeType;
    if (same && !force) return;
    w.lastClientSize = {c.width(), c.height()};
    w.lastSizeType = type;
    sendMessage(w.handle, WM_SIZE, type, makeLParam(c.width(), c.height()));
}

void HostCore::sendMoveIfChanged(CoreWindow& w, bool force) {
    const Point origin = surfaceClientOrigin(w);
    if (!force && origin == w.lastOrigin) return;
    w.lastOrigin = origin;
    sendMessage(w.handle, WM_MOVE, 0, makeLParam(origin.x, origin.y));
}

// ---- Showing and enabling ---------------------------------------------------

bool HostCore::showWindow(Window window, int command) {
    CoreWindow* w = find(window);
    if (!w) return false;
    const bool was = surfaceShown(*w);
    const bool show = command != SW_HIDE;
    const bool child = w->style & WS_CHILD;
    const bool minimise =
        command == SW_MINIMIZE || command == SW_SHOWMINIMIZED || command == SW_SHOWMINNOACTIVE;
    const bool noActivate = command == SW_SHOWNOACTIVATE || command == SW_SHOWNA || minimise;
    showSurface(*w, command);
    if (show != was) {
        sendMessage(window, WM_SHOWWINDOW, show ? 1 : 0, 0);
        if (show && find(window)) invalidate(window, nullptr, true);
    }
    if ((w = find(window))) sendSizeIfChanged(*w, false);
    if (show && !child && !noActivate && find(window)) setForegroundWindow(window);
    return was;
}

bool HostCore::isVisible(Window window) const {
    // Shown, and every parent too (a window the display has not mapped yet
    // still counts as shown).
    if (!find(window)) return false;
    for (const CoreWindow* w = find(window); w; w = find(w->parent))
        if (!surfaceShown(*w)) return false;
    return true;
}

bool HostCore::isMinimised(Window window) const {
    const CoreWindow* w = find(window);
    return w && surfaceMinimised(*w);
}

bool HostCore::enableWindow(Window window, bool enable) {
    CoreWindow* w = find(window);
    if (!w) return false;
    const bool wasDisabled = !w->enabled;
    if (w->enabled != enable) {
        w->enabled = enable;
        surfaceEnabledChanged(*w);
        sendMessage(window, WM_ENABLE, enable ? 1 : 0, 0);
    }
    return wasDisabled;
}

bool HostCore::isEnabled(Window window) const {
    const CoreWindow* w = find(window);
    return w && w->enabled;
}

bool HostCore::takesInput(Window window) const {
    // Children of a disabled window are disabled with it, though their own
    // state stays as it was; owned windows are not.
    if (!find(window)) return false;
    for (const CoreWindow* w = find(window); w; w = find(w->parent))
        if (!w->enabled) return false;
    return true;
}

// ---- Activation, focus and capture -----------------------------------------

void HostCore::activationChanged(Window window, bool active) {
    if (active) {
        if (foreground_ == window) return;
        const Window old = std::exchange(foreground_, window);
        if (find(old)) sendMessage(old, WM_ACTIVATE, WA_INACTIVE, LParam(window));
        if (find(window)) sendMessage(window, WM_ACTIVATE, WA_ACTIVE, LParam(old));
    } else if (foreground_ == window) {
        foreground_ = kNoWindow;
        sendMessage(window, WM_ACTIVATE, WA_INACTIVE, 0);
    }
}

bool HostCore::setForegroundWindow(Window window) {
    CoreWindow* w = find(window);
    if (!w) return false;
    raiseSurface(*w);
    // Only a top-level window is active. The native activation may come
    // later or never (no window manager); the program learns of it now.
    Window topLevel = window;
    while (find(parent(topLevel)))
        topLevel = parent(topLevel);
    activationChanged(topLevel, true);
    return true;
}

void HostCore::focusArrived(Window window) {
    const Window old = focus_;
    if (window == old) return;
    focus_ = window;
    if (find(old)) sendMessage(old, WM_KILLFOCUS, WParam(window), 0);
    if (find(window)) sendMessage(window, WM_SETFOCUS, WParam(old), 0);
}

Window HostCore::setFocus(Window window) {
    const Window old = focus_;
    if (window == old) return old;
    if (window != kNoWindow && !find(window)) return old;
    focusArrived(window);
    if (CoreWindow* w = find(window); w && focus_ == window) nativeFocus(*w);
    return old;
}

Window HostCore::setCapture(Window window) {
    const Window old = capture_;
    if (old == window) return old;
    CoreWindow* w = find(window);
    capture_ = w ? window : kNoWindow;
    if (CoreWindow* o = find(old)) grabMouse(*o, false);
    if (w) grabMouse(*w, true);
    if (find(old)) sendMessage(old, WM_CAPTURECHANGED, 0, LParam(capture_));
    return old;
}

void HostCore::releaseCapture() {
    const Window old = std::exchange(capture_, kNoWindow);
    CoreWindow* o = find(old);
    if (!o) return;
    grabMouse(*o, false);
    sendMessage(old, WM_CAPTURECHANGED, 0, 0);
}

// ---- Default behaviour ------------------------------------------------------

LResult HostCore::defaultProc(Window window, std::uint32_t message, WParam, LParam lParam) {
    switch (message) {
        case WM_NCCREATE:
            return 1;
        case WM_CLOSE:
            destroyWindow(window);
            return 0;
        case WM_RBUTTONUP: {
            const Point s = clientToScreen(window, {pointX(lParam), pointY(lParam)});
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

}  // namespace host
