// The headless host: window surfaces as rectangles with fixed frames, and
// painting into recorded draw logs.
// Input, timers and the virtual clock are in headless_input.cpp; popup menus,
// clipboard, dialogs, printing and shell in headless_services.cpp.
#include "host/headless/headless_host.h"

#include <algorithm>
#include <functional>

#include "host/headless/headless_surface.h"
#include "host/window_style.h"

namespace host::headless {

namespace {
Rect unite(const Rect& a, const Rect& b) {
    return {std::min(a.left, b.left), std::min(a.top, b.top), std::max(a.right, b.right),
            std::max(a.bottom, b.bottom)};
}
Rect intersect(const Rect& a, const Rect& b) {
    return {std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right),
            std::min(a.bottom, b.bottom)};
}
}  // namespace

HeadlessHost::HeadlessHost() = default;
HeadlessHost::~HeadlessHost() = default;

HeadlessHost::Surface* HeadlessHost::surface(Window window) {
    CoreWindow* w = find(window);
    return w ? static_cast<Surface*>(w->native.get()) : nullptr;
}
const HeadlessHost::Surface* HeadlessHost::surface(Window window) const {
    const CoreWindow* w = find(window);
    return w ? static_cast<const Surface*>(w->native.get()) : nullptr;
}

RecordingContext::Environment HeadlessHost::environment() const {
    return {[this](Font f) {
                auto info = fontInfo(f);
                return info ? info->height : 0;
            },
            [this](Brush b) { return brushColour(b).value_or(0); }};
}

// ---- Surfaces ---------------------------------------------------------------

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

void HeadlessHost::createSurface(CoreWindow& window, const CreateRequest& request) {
    auto s = std::make_unique<Surface>();
    s->rect = requestedWindowRect(request);
    window.native = std::move(s);
}

void HeadlessHost::destroySurface(CoreWindow& window) {
    // The record stays, so a test can still read what was drawn before.
    static_cast<Surface&>(*window.native).paintContext.reset();
}

void HeadlessHost::setSurfaceGeometry(CoreWindow& window, const Rect& rect) {
    static_cast<Surface&>(*window.native).rect = rect;
}

Rect HeadlessHost::surfaceRect(const CoreWindow& window) const {
    return static_cast<const Surface&>(*window.native).rect;
}

Point HeadlessHost::surfaceClientSize(const CoreWindow& window) const {
    const Rect& r = static_cast<const Surface&>(*window.native).rect;
    Rect in = frameInsets(window.style, window.menu != kNoMenu);
    return {r.width() - in.left - in.right, r.height() - in.top - in.bottom};
}

Point HeadlessHost::surfaceClientOrigin(const CoreWindow& window) const {
    const Rect& r = static_cast<const Surface&>(*window.native).rect;
    Rect in = frameInsets(window.style, window.menu != kNoMenu);
    return {r.left + in.left, r.top + in.top};
}

Point HeadlessHost::screenOrigin(Window window) const {
    const CoreWindow* w = find(window);
    if (!w) return {};
    Point origin = surfaceClientOrigin(*w);
    if (w->parent != kNoWindow) {
        Point p = screenOrigin(w->parent);
        origin.x += p.x;
        origin.y += p.y;
    }
    return origin;
}

Point HeadlessHost::clientToScreen(Window window, Point p) const {
    Point o = screenOrigin(window);
    return {p.x + o.x, p.y + o.y};
}

Point HeadlessHost::screenToClient(Window window, Point p) const {
    Point o = screenOrigin(window);
    return {p.x - o.x, p.y - o.y};
}

void HeadlessHost::showSurface(CoreWindow& window, int command) {
    auto& s = static_cast<Surface&>(*window.native);
    s.visible = command != SW_HIDE;
    s.minimised =
        command == SW_MINIMIZE || command == SW_SHOWMINIMIZED || command == SW_SHOWMINNOACTIVE;
}

bool HeadlessHost::surfaceShown(const CoreWindow& window) const {
    return static_cast<const Surface&>(*window.native).visible;
}

bool HeadlessHost::surfaceMinimised(const CoreWindow& window) const {
    return static_cast<const Surface&>(*window.native).minimised;
}

std::optional<Rect> HeadlessHost::monitorRect(Window window) const {
    if (!monitorAvailable_ || !isWindow(window) || !displayMode_) return std::nullopt;
    return Rect{0, 0, displayMode_->width, displayMode_->height};
}

// ---- Painting ---------------------------------------------------------------

void HeadlessHost::invalidate(Window window, const Rect* rect, bool erase) {
    CoreWindow* w = find(window);
    if (!w) return;
    auto& s = static_cast<Surface&>(*w->native);
    Rect client = clientRect(window);
    Rect r = rect ? intersect(*rect, client) : client;
    if (r.isEmpty()) return;
    s.dirty = s.dirty ? unite(*s.dirty, r) : r;
    w->eraseDue = w->eraseDue || erase;
}

std::optional<Rect> HeadlessHost::dirtyRect(Window window) const {
    const Surface* s = surface(window);
    return s ? s->dirty : std::nullopt;
}

std::vector<DrawOp>& HeadlessHost::drawLog(Window window) {
    static std::vector<DrawOp> none;
    Surface* s = surface(window);
    if (!s) {
        none.clear();
        return none;
    }
    return s->drawLog;
}

void HeadlessHost::updateWindow(Window window) {
    if (isVisible(window)) paint(window);
}

bool HeadlessHost::paint(Window window) {
    Surface* s = surface(window);
    if (!s || !s->dirty || !isVisible(window)) return false;
    sendMessage(window, WM_PAINT, 0, 0);
    // A procedure that never called beginPaint leaves nothing invalid either,
    // which the platform's default painting does too.
    if (CoreWindow* again = find(window)) {
        static_cast<Surface&>(*again->native).dirty.reset();
        again->eraseDue = false;
    }
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
    for (const auto& [handle, record] : windows())
        if (!record->dead && record->parent == kNoWindow) visit(record->handle);
    for (Window w : order)
        count += paint(w) ? 1 : 0;
    return count;
}

PaintRecord HeadlessHost::beginPaint(Window window) {
    CoreWindow* w = find(window);
    if (!w) return {};
    auto& s = static_cast<Surface&>(*w->native);
    PaintRecord record;
    record.paint = s.dirty.value_or(Rect{});
    Rect client = clientRect(window);
    s.paintContext = std::make_unique<RecordingContext>(environment(), client.width(),
                                                        client.height(), client.width() * 254 / 960,
                                                        client.height() * 254 / 960, &s.drawLog);
    record.dc = s.paintContext.get();
    if (w->eraseDue) {
        w->eraseDue = false;
        record.erase = sendMessage(window, WM_ERASEBKGND, WParam(record.dc), 0) == 0;
    }
    if (Surface* again = surface(window)) again->dirty.reset();
    return record;
}

void HeadlessHost::endPaint(Window window, const PaintRecord&) {
    if (Surface* s = surface(window)) s->paintContext.reset();
}

std::unique_ptr<DeviceContext> HeadlessHost::getDC(Window window) {
    if (Surface* s = surface(window)) {
        Rect c = clientRect(window);
        return std::make_unique<RecordingContext>(environment(), c.width(), c.height(),
                                                  c.width() * 254 / 960, c.height() * 254 / 960,
                                                  &s->drawLog);
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
                                                           const Rect* frame,
                                                           std::string_view description) {
    pictures_.push_back(
        {frame ? std::optional<Rect>(*frame) : std::nullopt, std::string(description)});
    if (!picturesAvailable_) return nullptr;
    return std::make_unique<RecordingContext>(
        environment(), reference.deviceCaps(HORZRES), reference.deviceCaps(VERTRES),
        reference.deviceCaps(HORZSIZE), reference.deviceCaps(VERTSIZE), nullptr);
}

void HeadlessHost::setFontAvailable(std::string face, bool available) {
    fontAvailable_[std::move(face)] = available;
}

bool HeadlessHost::fontAvailable(std::string_view face) const {
    auto it = fontAvailable_.find(face);
    return it == fontAvailable_.end() || it->second;
}

Icon HeadlessHost::stockIcon(StockIcon which) {
    return Icon(0x10 + int(which));
}

Icon HeadlessHost::programIcon() {
    return Icon(128);
}

}  // namespace host::headless
