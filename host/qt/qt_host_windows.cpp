// The Qt host: construction, windows, painting and device contexts.
// Messages, timers and input are in qt_host_queue.cpp; menus, clipboard,
// dialogs, printing, shell and tablet in qt_host_services.cpp.
#include <QApplication>
#include <QFont>
#include <QFontInfo>
#include <QFontMetrics>
#include <QIcon>
#include <QMenuBar>
#include <QPaintEvent>
#include <QScreen>
#include <QStyle>
#include <QWindow>
#include <algorithm>
#include <utility>

#include "host/qt/painter_context.h"
#include "host/qt/qt_host.h"
#include "host/qt/qt_records.h"
#include "host/window_style.h"

namespace host::qt {

namespace {
std::uintptr_t raw(Window w) {
    return std::uintptr_t(w);
}
QRect qtRect(const Rect& r) {
    return QRect(r.left, r.top, r.width(), r.height());
}
Rect hostRect(const QRect& r) {
    return {r.left(), r.top(), r.left() + r.width(), r.top() + r.height()};
}

// Qt window flags for a top-level window of `style`.
Qt::WindowFlags topLevelFlags(std::uint32_t style, bool owned) {
    Qt::WindowFlags f = owned ? Qt::Dialog : Qt::Window;
    if ((style & WS_CAPTION) != WS_CAPTION) {
        // No title bar: the window draws all of itself (splash screens, full
        // screen).
        return f | Qt::FramelessWindowHint;
    }
    f |= Qt::CustomizeWindowHint | Qt::WindowTitleHint;
    if (style & WS_SYSMENU) f |= Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;
    if (style & WS_MINIMIZEBOX) f |= Qt::WindowMinimizeButtonHint;
    if (style & WS_MAXIMIZEBOX) f |= Qt::WindowMaximizeButtonHint;
    return f;
}

// A context that draws on a window outside painting: into a transparent layer
// that the window shows over its next paint, which is asked for at once.
class OverlayContext : public PainterContext {
  public:
    OverlayContext(QtHost& host, Window window, QSize size, DeviceCaps caps,
                   std::function<void(Window, const QImage&)> done)
        : PainterContext(host, caps),
          window_(window),
          image_(size.expandedTo(QSize(1, 1)), QImage::Format_ARGB32_Premultiplied),
          done_(std::move(done)) {
        image_.fill(Qt::transparent);
        painter().begin(&image_);
    }
    ~OverlayContext() override {
        painter().end();
        done_(window_, image_);
    }

  private:
    Window window_;
    QImage image_;
    std::function<void(Window, const QImage&)> done_;
};

// A context on the program's own pixels. 32-bit pixels are drawn on in place;
// 8-bit ones through a 32-bit copy that is turned back into the nearest
// colour-table entries when the context goes.
class MemoryContext : public PainterContext {
  public:
    MemoryContext(QtHost& host, const PixelView& pixels)
        : PainterContext(host, {}), pixels_(pixels) {
        if (pixels.bitsPerPixel == 32) {
            image_ = QImage(pixels.bits, pixels.width, pixels.height, pixels.stride,
                            QImage::Format_RGB32);
        } else {
            image_ = imageOf(pixels).convertToFormat(QImage::Format_RGB32);
        }
        // The 96-pixels-per-inch display size, like a memory context of the
        // screen.
        image_.setDotsPerMeterX(3780);
        image_.setDotsPerMeterY(3780);
        DeviceCaps caps = paintDeviceCaps(image_);
        caps.bitsPerPixel = pixels.bitsPerPixel;
        caps.dpiX = caps.dpiY = 96;
        setCaps(caps);
        painter().begin(&image_);
    }
    ~MemoryContext() override {
        painter().end();
        if (pixels_.bitsPerPixel != 8) return;
        QList<QRgb> table = imageOf(pixels_).colorTable();
        std::map<QRgb, std::uint8_t> nearest;
        for (int y = 0; y < pixels_.height; ++y) {
            const QRgb* from = reinterpret_cast<const QRgb*>(image_.constScanLine(y));
            std::uint8_t* to = pixels_.bits + std::size_t(y) * pixels_.stride;
            for (int x = 0; x < pixels_.width; ++x) {
                QRgb c = from[x] & 0xFFFFFF;
                auto it = nearest.find(c);
                if (it == nearest.end()) it = nearest.emplace(c, closest(table, c)).first;
                to[x] = it->second;
            }
        }
    }

  private:
    static std::uint8_t closest(const QList<QRgb>& table, QRgb c) {
        int best = 0, bestDistance = INT32_MAX;
        for (int i = 0; i < table.size(); ++i) {
            int dr = qRed(table[i]) - qRed(c), dg = qGreen(table[i]) - qGreen(c),
                db = qBlue(table[i]) - qBlue(c);
            int d = dr * dr + dg * dg + db * db;
            if (d < bestDistance) best = i, bestDistance = d;
        }
        return std::uint8_t(best);
    }
    PixelView pixels_;
    QImage image_;
};

}  // namespace

// ---- Construction -----------------------------------------------------------

QtHost::QtHost(int argc, char** argv) : argc_(argc) {
    if (!QApplication::instance()) {
        static char name[] = "penwick";
        static char* defaultArgv[] = {name, nullptr};
        if (argc_ <= 0 || !argv) argc_ = 1, argv = defaultArgv;
        application_ = std::make_unique<QApplication>(argc_, argv);
    }
    // The program's own loop decides when to end, on WM_QUIT.
    QApplication::setQuitOnLastWindowClosed(false);
}

QtHost::~QtHost() {
    closing_ = true;
    for (auto& [handle, record] : windows_)
        if (record->outer && !record->outer->parentWidget()) delete record->outer.data();
    for (auto& [qtId, key] : timerKeys_)
        QObject::killTimer(qtId);
}

QtHost::WindowRecord* QtHost::find(Window window) {
    return windows_.find(window);
}
const QtHost::WindowRecord* QtHost::find(Window window) const {
    return windows_.find(window);
}

QWidget* QtHost::clientWidget(Window window) const {
    const WindowRecord* w = find(window);
    return w ? w->client.data() : nullptr;
}
QWidget* QtHost::outerWidget(Window window) const {
    const WindowRecord* w = find(window);
    return w ? w->outer.data() : nullptr;
}

// ---- Windows ----------------------------------------------------------------

void QtHost::layoutFrame(WindowRecord& w) {
    if (!w.outer || !w.client) return;
    QRect inside = w.outer->rect();
    if ((w.style & WS_CHILD) && (w.style & WS_BORDER)) inside.adjust(1, 1, -1, -1);
    if (w.menuBar) {
        int h = w.menuBar->sizeHint().height();
        w.menuBar->setGeometry(inside.left(), inside.top(), inside.width(), h);
        inside.setTop(inside.top() + h);
    }
    w.client->setGeometry(inside);
}

void QtHost::sendSizeIfChanged(WindowRecord& w, bool force) {
    Rect c = clientRect(w.handle);
    if (!force && c.width() == w.lastClientSize.x && c.height() == w.lastClientSize.y) return;
    w.lastClientSize = {c.width(), c.height()};
    WParam type = SIZE_RESTORED;
    if (w.outer && w.outer->isMinimized())
        type = SIZE_MINIMIZED;
    else if (w.outer && w.outer->isMaximized())
        type = SIZE_MAXIMIZED;
    sendMessage(w.handle, WM_SIZE, type, makeLParam(c.width(), c.height()));
}

void QtHost::sendMoveIfChanged(WindowRecord& w, bool force) {
    if (!w.client) return;
    // The client area's origin: screen coordinates for top-level windows,
    // the parent's client coordinates for children.
    QPoint origin = w.client->mapTo(w.outer, QPoint(0, 0)) + w.outer->pos();
    if (!(w.style & WS_CHILD)) origin = w.client->mapToGlobal(QPoint(0, 0));
    Point o{origin.x(), origin.y()};
    if (!force && o == w.lastOrigin) return;
    w.lastOrigin = o;
    sendMessage(w.handle, WM_MOVE, 0, makeLParam(o.x, o.y));
}

Window QtHost::createWindow(const CreateRequest& request) {
    const bool child = request.style & WS_CHILD;
    WindowRecord* parentRecord = find(request.parent);
    if (child && !parentRecord) return kNoWindow;
    if (!request.proc) return kNoWindow;
    auto record = std::make_unique<WindowRecord>();
    WindowRecord& w = *record;
    w.handle = windows_.newHandle();
    w.proc = request.proc;
    w.style = request.style & ~(WS_VISIBLE | WS_DISABLED | WS_MINIMIZE);
    w.exStyle = request.exStyle;
    w.id = request.id;
    if (child)
        w.parent = request.parent;
    else if (parentRecord)
        w.owner = request.parent;

    QWidget* qtParent = nullptr;
    if (child)
        qtParent = parentRecord->client.data();
    else if (parentRecord)
        qtParent = parentRecord->outer.data();
    Qt::WindowFlags flags = child ? Qt::Widget : topLevelFlags(w.style, parentRecord != nullptr);
    w.outer = new FrameWidget(*this, w.handle, qtParent, flags);
    w.outer->borderDrawn = child && (w.style & WS_BORDER);
    w.client = new ClientWidget(*this, w.handle, w.outer);
    w.outer->setWindowTitle(QString::fromStdString(request.title));
    w.outer->setAttribute(Qt::WA_DeleteOnClose, false);
    if (request.exStyle & WS_EX_ACCEPTFILES) w.acceptsFiles = true, w.client->setAcceptDrops(true);

    w.outer->setGeometry(qtRect(requestedWindowRect(request)));
    w.enabled = !(request.style & WS_DISABLED);
    layoutFrame(w);

    Window handle = w.handle;
    windows_.add(std::move(record));
    if (child) parentRecord->children.push_back(handle);

    LParam param = LParam(&request);
    if (sendMessage(handle, WM_NCCREATE, 0, param) == 0 ||
        sendMessage(handle, WM_CREATE, 0, param) == -1) {
        destroyWindow(handle);
        return kNoWindow;
    }
    WindowRecord* again = find(handle);
    if (!again) return kNoWindow;
    sendSizeIfChanged(*again, true);
    if ((again = find(handle))) sendMoveIfChanged(*again, true);
    if ((request.style & WS_VISIBLE) && find(handle)) showWindow(handle, SW_SHOW);
    return find(handle) ? handle : kNoWindow;
}

bool QtHost::destroyWindow(Window window) {
    WindowRecord* w = find(window);
    if (!w || w->destroying) return false;
    w->destroying = true;
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

void QtHost::destroyTree(Window window) {
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
    for (auto it = timers_.begin(); it != timers_.end();) {
        if (it->first.first == raw(window)) {
            QObject::killTimer(it->second.qtTimer);
            timerKeys_.erase(it->second.qtTimer);
            it = timers_.erase(it);
        } else {
            ++it;
        }
    }
    tablets_.disableFor(window);
    if (focus_ == window) focus_ = kNoWindow;
    if (foreground_ == window) foreground_ = kNoWindow;
    if (capture_ == window) capture_ = kNoWindow;
    if (cursorWindow_ == window) cursorWindow_ = kNoWindow;
    sendMessage(window, WM_NCDESTROY, 0, 0);
    if (WindowRecord* again = find(window)) {
        again->dead = true;
        again->paintContext.reset();
        // The widget may be inside one of its own events (a close click);
        // Qt deletes it once that is over. Its children go with it.
        if (again->outer) {
            again->outer->hide();
            again->outer->deleteLater();
        }
    }
    queue_.forget(window);
}

bool QtHost::isWindow(Window window) const {
    return find(window) != nullptr;
}
Window QtHost::parent(Window window) const {
    return windows_.parent(window);
}
Window QtHost::owner(Window window) const {
    return windows_.owner(window);
}
std::vector<Window> QtHost::children(Window window) const {
    return windows_.children(window);
}
WindowProc QtHost::windowProc(Window window) const {
    return windows_.proc(window);
}
WindowProc QtHost::setWindowProc(Window window, WindowProc proc) {
    return windows_.setProc(window, proc);
}
void* QtHost::userData(Window window) const {
    return windows_.userData(window);
}
void QtHost::setUserData(Window window, void* data) {
    windows_.setUserData(window, data);
}
int QtHost::windowId(Window window) const {
    return windows_.id(window);
}
void QtHost::setWindowId(Window window, int id) {
    windows_.setId(window, id);
}

std::uint32_t QtHost::windowStyle(Window window) const {
    const WindowRecord* w = find(window);
    if (!w || !w->outer) return 0;
    return w->style | (w->outer->isHidden() ? 0 : WS_VISIBLE) | (w->enabled ? 0 : WS_DISABLED) |
           (w->outer->isMinimized() ? WS_MINIMIZE : 0);
}

void QtHost::applyTopLevelFlags(WindowRecord& w) {
    if ((w.style & WS_CHILD) || !w.outer) return;
    Qt::WindowFlags flags = topLevelFlags(w.style, w.owner != kNoWindow);
    if (w.outer->windowFlags() == flags) return;
    const bool shown = w.outer->isVisible();
    const QRect geometry = w.outer->geometry();
    w.outer->setWindowFlags(flags);  // hides the window
    w.outer->setGeometry(geometry);
    if (shown) w.outer->show();
}

void QtHost::setWindowStyle(Window window, std::uint32_t style) {
    WindowRecord* w = find(window);
    if (!w) return;
    w->style =
        (w->style & WS_CHILD) | (style & ~(WS_VISIBLE | WS_DISABLED | WS_MINIMIZE | WS_CHILD));
    applyTopLevelFlags(*w);
    layoutFrame(*w);
    sendSizeIfChanged(*w, false);
}

LResult QtHost::defaultProc(Window window, std::uint32_t message, WParam, LParam lParam) {
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

std::string QtHost::windowText(Window window) const {
    const WindowRecord* w = find(window);
    return w && w->outer ? w->outer->windowTitle().toStdString() : std::string();
}
void QtHost::setWindowText(Window window, std::string_view text) {
    WindowRecord* w = find(window);
    if (w && w->outer)
        w->outer->setWindowTitle(QString::fromUtf8(text.data(), qsizetype(text.size())));
}

Rect QtHost::clientRect(Window window) const {
    const WindowRecord* w = find(window);
    if (!w || !w->client) return {};
    return {0, 0, w->client->width(), w->client->height()};
}

Rect QtHost::windowRect(Window window) const {
    const WindowRecord* w = find(window);
    if (!w || !w->outer) return {};
    if (w->style & WS_CHILD) return hostRect(w->outer->geometry());
    return hostRect(w->outer->frameGeometry());
}

void QtHost::moveWindow(Window window, const Rect& rect, bool repaint) {
    WindowRecord* w = find(window);
    if (!w || !w->outer) return;
    QRect r(rect.left, rect.top, std::max(rect.width(), 0), std::max(rect.height(), 0));
    if (w->style & WS_CHILD) {
        w->outer->setGeometry(r);
    } else {
        // The rectangle includes the frame the window manager draws.
        QSize frame = w->outer->frameGeometry().size() - w->outer->geometry().size();
        w->outer->move(r.topLeft());
        w->outer->resize((r.size() - frame).expandedTo(QSize(0, 0)));
    }
    layoutFrame(*w);
    sendSizeIfChanged(*w, false);
    if ((w = find(window))) sendMoveIfChanged(*w, false);
    if (repaint && find(window)) invalidate(window, nullptr, true);
}

Rect QtHost::adjustWindowRect(const Rect& client, std::uint32_t style, bool withMenu) const {
    // The window manager's frame is not known before a window shows; only
    // the parts the host draws itself count.
    int top = 0, side = 0;
    if ((style & WS_CHILD) && (style & WS_BORDER)) side = 1;
    if (withMenu && !(style & WS_CHILD)) {
        QMenuBar probe;
        probe.addMenu(QStringLiteral("&File"));
        top = probe.sizeHint().height();
    }
    return {client.left - side, client.top - side - top, client.right + side, client.bottom + side};
}

Point QtHost::clientToScreen(Window window, Point p) const {
    const WindowRecord* w = find(window);
    if (!w || !w->client) return p;
    QPoint s = w->client->mapToGlobal(QPoint(p.x, p.y));
    return {s.x(), s.y()};
}
Point QtHost::screenToClient(Window window, Point p) const {
    const WindowRecord* w = find(window);
    if (!w || !w->client) return p;
    QPoint c = w->client->mapFromGlobal(QPoint(p.x, p.y));
    return {c.x(), c.y()};
}

bool QtHost::showWindow(Window window, int command) {
    WindowRecord* w = find(window);
    if (!w || !w->outer) return false;
    QWidget* outer = w->outer;
    const bool was = !outer->isHidden();
    const bool show = command != SW_HIDE;
    const bool child = w->style & WS_CHILD;
    const bool noActivate =
        command == SW_SHOWNOACTIVATE || command == SW_SHOWNA || command == SW_SHOWMINNOACTIVE;
    outer->setAttribute(Qt::WA_ShowWithoutActivating, noActivate);
    if (!show) {
        outer->hide();
    } else if (child) {
        outer->show();
    } else if (command == SW_MINIMIZE || command == SW_SHOWMINIMIZED ||
               command == SW_SHOWMINNOACTIVE) {
        outer->showMinimized();
    } else if (command == SW_SHOWMAXIMIZED) {
        outer->showMaximized();
    } else if (command == SW_RESTORE || command == SW_SHOWNORMAL || command == SW_SHOWDEFAULT) {
        outer->showNormal();
    } else {
        outer->show();
    }
    if (show != was) {
        sendMessage(window, WM_SHOWWINDOW, show ? 1 : 0, 0);
        if (show && find(window)) invalidate(window, nullptr, true);
    }
    if ((w = find(window))) {
        layoutFrame(*w);
        sendSizeIfChanged(*w, false);
    }
    const bool minimise =
        command == SW_MINIMIZE || command == SW_SHOWMINIMIZED || command == SW_SHOWMINNOACTIVE;
    if (show && !child && !minimise && !noActivate) setForegroundWindow(window);
    return was;
}

bool QtHost::isVisible(Window window) const {
    const WindowRecord* w = find(window);
    if (!w || !w->outer) return false;
    // Shown, and every parent too (a window not yet mapped by the display
    // still counts as shown).
    for (const WindowRecord* r = w; r; r = find(r->parent))
        if (!r->outer || r->outer->isHidden()) return false;
    return true;
}

bool QtHost::isMinimised(Window window) const {
    const WindowRecord* w = find(window);
    return w && w->outer && w->outer->isMinimized();
}

bool QtHost::enableWindow(Window window, bool enable) {
    WindowRecord* w = find(window);
    if (!w || !w->outer) return false;
    const bool wasDisabled = !w->enabled;
    if (wasDisabled == enable) {
        w->enabled = enable;
        if (w->menuBar) w->menuBar->setEnabled(enable);
        sendMessage(window, WM_ENABLE, enable ? 1 : 0, 0);
    }
    return wasDisabled;
}
bool QtHost::isEnabled(Window window) const {
    const WindowRecord* w = find(window);
    return w && w->outer && w->enabled;
}

bool QtHost::takesInput(Window window) const {
    // Children of a disabled window are disabled with it, though their own
    // state stays as it was; owned windows are not.
    for (const WindowRecord* w = find(window); w; w = find(w->parent))
        if (!w->enabled) return false;
    return find(window) != nullptr;
}

void QtHost::activationChanged(Window window, bool active) {
    if (active) {
        if (foreground_ == window) return;
        Window old = std::exchange(foreground_, window);
        if (find(old)) sendMessage(old, WM_ACTIVATE, WA_INACTIVE, LParam(window));
        if (find(window)) sendMessage(window, WM_ACTIVATE, WA_ACTIVE, LParam(old));
    } else if (foreground_ == window) {
        foreground_ = kNoWindow;
        sendMessage(window, WM_ACTIVATE, WA_INACTIVE, 0);
    }
}

bool QtHost::setForegroundWindow(Window window) {
    WindowRecord* w = find(window);
    if (!w || !w->outer) return false;
    QWidget* top = w->outer->window();
    top->raise();
    top->activateWindow();
    // The native activation may come later or never (no window manager);
    // the program learns of it now.
    Window topLevel = window;
    while (find(parent(topLevel)))
        topLevel = parent(topLevel);
    activationChanged(topLevel, true);
    return true;
}

void QtHost::focusArrived(Window window) {
    Window old = focus_;
    if (window == old) return;
    focus_ = window;
    if (find(old)) sendMessage(old, WM_KILLFOCUS, WParam(window), 0);
    if (find(window)) sendMessage(window, WM_SETFOCUS, WParam(old), 0);
}

Window QtHost::setFocus(Window window) {
    Window old = focus_;
    if (window == old) return old;
    WindowRecord* w = find(window);
    if (window != kNoWindow && !w) return old;
    focusArrived(window);
    if ((w = find(window)) && w->client && focus_ == window)
        w->client->setFocus(Qt::OtherFocusReason);
    return old;
}

Window QtHost::setCapture(Window window) {
    Window old = capture_;
    if (old == window) return old;
    WindowRecord* w = find(window);
    capture_ = w ? window : kNoWindow;
    if (WindowRecord* o = find(old); o && o->client && o->client->isVisible())
        o->client->releaseMouse();
    if (w && w->client && w->client->isVisible()) w->client->grabMouse();
    if (find(old)) sendMessage(old, WM_CAPTURECHANGED, 0, LParam(capture_));
    return old;
}

void QtHost::releaseCapture() {
    Window old = std::exchange(capture_, kNoWindow);
    WindowRecord* o = find(old);
    if (!o) return;
    if (o->client && o->client->isVisible()) o->client->releaseMouse();
    sendMessage(old, WM_CAPTURECHANGED, 0, 0);
}

void QtHost::setWindowIcon(Window window, Icon icon, bool small) {
    WindowRecord* w = find(window);
    if (!w) return;
    (small ? w->smallIcon : w->largeIcon) = icon;
    const QIcon* q = qtIcon(icon);
    // One icon serves title bar and task switcher alike; the large one wins.
    if (q && w->outer && (!small || w->largeIcon == kNoIcon)) w->outer->setWindowIcon(*q);
}
Icon QtHost::windowIcon(Window window, bool small) const {
    const WindowRecord* w = find(window);
    return w ? (small ? w->smallIcon : w->largeIcon) : kNoIcon;
}

std::optional<Rect> QtHost::monitorRect(Window window) const {
    const WindowRecord* w = find(window);
    if (!w || !w->outer) return std::nullopt;
    QScreen* screen = w->outer->window()->screen();
    if (!screen) screen = QGuiApplication::primaryScreen();
    if (!screen) return std::nullopt;
    return hostRect(screen->geometry());
}

void QtHost::acceptFiles(Window window, bool accept) {
    WindowRecord* w = find(window);
    if (!w) return;
    w->acceptsFiles = accept;
    if (w->client) w->client->setAcceptDrops(accept);
}
std::vector<std::string> QtHost::droppedFiles(WParam drop) const {
    auto it = drops_.find(drop);
    return it == drops_.end() ? std::vector<std::string>{} : it->second;
}
void QtHost::finishDrop(WParam drop) {
    drops_.erase(drop);
}

// ---- Painting ---------------------------------------------------------------

void QtHost::invalidate(Window window, const Rect* rect, bool erase) {
    WindowRecord* w = find(window);
    if (!w || !w->client) return;
    QRect client = w->client->rect();
    QRect r = rect ? qtRect(*rect).intersected(client) : client;
    if (r.isEmpty()) return;
    w->dirty += r;
    w->eraseDue = w->eraseDue || erase;
    w->client->update(r);
}

void QtHost::updateWindow(Window window) {
    WindowRecord* w = find(window);
    if (!w || !w->client || w->dirty.isEmpty() || !isVisible(window)) return;
    if (paintDepth_ > 0) return;  // Qt cannot paint inside a paint
    w->client->repaint(w->dirty);
}

void QtHost::paintClient(WindowRecord& record, QPaintEvent* event) {
    Window window = record.handle;
    // Paints the program did not ask for (first show, uncovered areas) need
    // their background.
    if (!(event->region() - record.dirty).isEmpty()) record.eraseDue = true;
    record.painting = event;
    ++paintDepth_;
    sendMessage(window, WM_PAINT, 0, 0);
    --paintDepth_;
    WindowRecord* w = find(window);
    if (!w) return;
    w->painting = nullptr;
    w->paintContext.reset();
    w->dirty -= event->region();
    if (!w->overlay.isNull() && w->client) {
        QPainter painter(w->client);
        painter.drawImage(0, 0, w->overlay);
        w->overlay = QImage();
    }
}

PaintRecord QtHost::beginPaint(Window window) {
    WindowRecord* w = find(window);
    if (!w || !w->client) return {};
    PaintRecord record;
    if (w->painting) {
        record.paint = hostRect(w->painting->rect());
        w->paintContext = std::make_unique<PainterContext>(*this, screenCaps());
        w->paintContext->painter().begin(w->client);
        w->paintContext->painter().setClipRegion(w->painting->region());
        record.dc = w->paintContext.get();
    } else {
        // Painting asked for outside Qt's paint: draw over the window.
        QRect all = w->client->rect();
        record.paint = hostRect(w->dirty.isEmpty() ? all : w->dirty.boundingRect());
        auto overlay = getDC(window);
        w->paintContext.reset(static_cast<PainterContext*>(overlay.release()));
        record.dc = w->paintContext.get();
    }
    if (w->eraseDue) {
        w->eraseDue = false;
        record.erase = sendMessage(window, WM_ERASEBKGND, WParam(record.dc), 0) == 0;
    }
    if ((w = find(window))) w->dirty -= qtRect(record.paint);
    return record;
}

void QtHost::endPaint(Window window, const PaintRecord&) {
    if (WindowRecord* w = find(window)) w->paintContext.reset();
}

void QtHost::mergeOverlay(Window window, const QImage& overlay) {
    WindowRecord* w = find(window);
    if (!w || !w->client) return;
    if (w->overlay.isNull()) {
        w->overlay = overlay;
    } else {
        QPainter painter(&w->overlay);
        painter.drawImage(0, 0, overlay);
    }
    // Shown with the next paint, which comes from the loop like any other;
    // painting here would run the program's paint inside its own drawing.
    invalidate(window, nullptr, false);
}

std::unique_ptr<DeviceContext> QtHost::getDC(Window window) {
    if (window == kNoWindow) {
        auto context = std::make_unique<PainterContext>(*this, screenCaps());
        return context;
    }
    WindowRecord* w = find(window);
    if (!w || !w->client) return nullptr;
    return std::make_unique<OverlayContext>(
        *this, window, w->client->size(), screenCaps(),
        [this](Window target, const QImage& image) { mergeOverlay(target, image); });
}

std::unique_ptr<DeviceContext> QtHost::createMemoryContext(const PixelView& pixels) {
    if (!pixels.bits || pixels.width <= 0 || pixels.height <= 0) return nullptr;
    if (pixels.bitsPerPixel != 32 && pixels.bitsPerPixel != 8) return nullptr;
    return std::make_unique<MemoryContext>(*this, pixels);
}

Brush QtHost::createSolidBrush(ColourRef colour) {
    Brush b{nextObject_++};
    brushes_[std::uintptr_t(b)] = colour & 0xFFFFFF;
    return b;
}
void QtHost::deleteBrush(Brush brush) {
    brushes_.erase(std::uintptr_t(brush));
}
bool QtHost::brushColour(Brush brush, ColourRef& colour) const {
    auto it = brushes_.find(std::uintptr_t(brush));
    if (it == brushes_.end()) return false;
    colour = it->second;
    return true;
}

Font QtHost::createFont(std::string_view face, int height, bool italic, bool bold) {
    auto font = std::make_unique<QFont>(QApplication::font());
    if (!face.empty()) font->setFamily(QString::fromUtf8(face.data(), qsizetype(face.size())));
    font->setItalic(italic);
    font->setWeight(bold ? QFont::Bold : QFont::Normal);
    if (height > 0) {
        // The height asked for is the cell (ascent plus descent); Qt sizes
        // fonts by the em, which is smaller.
        font->setPixelSize(height);
        int cell = QFontMetrics(*font).height();
        if (cell > height) font->setPixelSize(std::max(1, height * height / cell));
    }
    Font f{nextObject_++};
    fonts_[std::uintptr_t(f)] = std::move(font);
    return f;
}
void QtHost::deleteFont(Font font) {
    fonts_.erase(std::uintptr_t(font));
}
QFont QtHost::qtFont(Font font) const {
    auto it = fonts_.find(std::uintptr_t(font));
    return it == fonts_.end() ? QApplication::font() : *it->second;
}

Icon QtHost::stockIcon(StockIcon which) {
    Icon handle = Icon(0x10 + int(which));
    if (icons_.count(std::uintptr_t(handle))) return handle;
    QStyle::StandardPixmap pixmap = QStyle::SP_DesktopIcon;
    switch (which) {
        case StockIcon::application:
            pixmap = QStyle::SP_DesktopIcon;
            break;
        case StockIcon::hand:
            pixmap = QStyle::SP_MessageBoxCritical;
            break;
        case StockIcon::question:
            pixmap = QStyle::SP_MessageBoxQuestion;
            break;
        case StockIcon::exclamation:
            pixmap = QStyle::SP_MessageBoxWarning;
            break;
        case StockIcon::asterisk:
            pixmap = QStyle::SP_MessageBoxInformation;
            break;
    }
    icons_[std::uintptr_t(handle)] =
        std::make_unique<QIcon>(QApplication::style()->standardIcon(pixmap));
    return handle;
}

Icon QtHost::programIcon() {
    // The program's icon is whatever the desktop file or the application set.
    QIcon icon = QApplication::windowIcon();
    if (icon.isNull()) return kNoIcon;
    Icon handle = Icon(128);
    icons_[std::uintptr_t(handle)] = std::make_unique<QIcon>(icon);
    return handle;
}

const QIcon* QtHost::qtIcon(Icon icon) const {
    auto it = icons_.find(std::uintptr_t(icon));
    return it == icons_.end() ? nullptr : it->second.get();
}

}  // namespace host::qt
