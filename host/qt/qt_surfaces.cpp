// The Qt host: construction, the widgets of each window, their geometry,
// showing, focus and the mouse grab, the event pump, timers and clocks.
#include <QApplication>
#include <QCursor>
#include <QMenuBar>
#include <QScreen>
#include <QTimerEvent>
#include <QWindow>
#include <algorithm>
#include <cmath>
#include <ctime>
#include <thread>

#include "host/qt/qt_conversions.h"
#include "host/qt/qt_host.h"
#include "host/qt/qt_surface.h"
#include "host/window_style.h"

namespace host::qt {

namespace {

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
}  // namespace

// The receiver of the host's Qt timers (each firing marks the core's timer)
// and of the pen's coming near the screen and leaving it, which Qt tells the
// application rather than a widget.
class QtHost::TimerReceiver : public QObject {
  public:
    explicit TimerReceiver(QtHost& host) : host_(host) {}

  protected:
    void timerEvent(QTimerEvent* event) override { host_.timerFired(event->timerId()); }
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::TabletEnterProximity) host_.penProximity(true);
        if (event->type() == QEvent::TabletLeaveProximity) host_.penProximity(false);
        return QObject::eventFilter(watched, event);
    }

  private:
    QtHost& host_;
};

// ---- Construction -----------------------------------------------------------

QtHost::QtHost(int argc, char** argv) : argc_(argc) {
    if (!QApplication::instance()) {
        static char name[] = "penwick";
        static char* defaultArgv[] = {name, nullptr};
        if (argc_ <= 0 || !argv) argc_ = 1, argv = defaultArgv;
        application_ = std::make_unique<QApplication>(argc_, argv);
    }
    timerReceiver_ = std::make_unique<TimerReceiver>(*this);
    QApplication::instance()->installEventFilter(timerReceiver_.get());
    // The program's own loop decides when to end, on WM_QUIT.
    QApplication::setQuitOnLastWindowClosed(false);
}

QtHost::~QtHost() {
    closing_ = true;
    for (const auto& [handle, record] : windows()) {
        if (record->dead || !record->native) continue;
        const Surface& s = surfaceOf(*record);
        if (s.outer && !s.outer->parentWidget()) delete s.outer.data();
    }
    // The widgets' records and the timers go now, while the QApplication
    // still exists.
    dropSurfaces();
    timerReceiver_.reset();
}

QtHost::Surface& QtHost::surfaceOf(CoreWindow& window) {
    return static_cast<Surface&>(*window.native);
}
const QtHost::Surface& QtHost::surfaceOf(const CoreWindow& window) {
    return static_cast<const Surface&>(*window.native);
}
QtHost::Surface* QtHost::surface(Window window) {
    CoreWindow* w = find(window);
    return w ? &surfaceOf(*w) : nullptr;
}
const QtHost::Surface* QtHost::surface(Window window) const {
    const CoreWindow* w = find(window);
    return w ? &surfaceOf(*w) : nullptr;
}

QWidget* QtHost::clientWidget(Window window) const {
    const Surface* s = surface(window);
    return s ? s->client.data() : nullptr;
}
QWidget* QtHost::outerWidget(Window window) const {
    const Surface* s = surface(window);
    return s ? s->outer.data() : nullptr;
}
QWidget* QtHost::shownTabletWidget() const {
    for (const auto& [handle, record] : windows()) {
        if (record->dead || !record->native || enabledTablet(record->handle) == kNoTablet) continue;
        QWidget* client = surfaceOf(*record).client.data();
        if (client && client->isVisible()) return client;
    }
    return nullptr;
}

// ---- Life -------------------------------------------------------------------

void QtHost::createSurface(CoreWindow& w, const CreateRequest& request) {
    auto made = std::make_unique<Surface>();
    Surface& s = *made;
    w.native = std::move(made);
    const bool child = w.style & WS_CHILD;
    QWidget* qtParent = nullptr;
    if (child)
        qtParent = surface(w.parent)->client.data();
    else if (w.owner != kNoWindow)
        qtParent = surface(w.owner)->outer.data();
    Qt::WindowFlags flags = child ? Qt::Widget : topLevelFlags(w.style, w.owner != kNoWindow);
    s.outer = new FrameWidget(*this, w.handle, qtParent, flags);
    s.outer->borderDrawn = child && (w.style & WS_BORDER);
    s.client = new ClientWidget(*this, w.handle, s.outer);
    s.outer->setWindowTitle(QString::fromStdString(w.title));
    s.outer->setAttribute(Qt::WA_DeleteOnClose, false);
    s.client->setAcceptDrops(w.acceptsFiles);
    s.outer->setGeometry(qtRect(requestedWindowRect(request)));
    layoutFrame(s, w);
}

void QtHost::destroySurface(CoreWindow& w) {
    Surface& s = surfaceOf(w);
    if (cursorWindow_ == w.handle) cursorWindow_ = kNoWindow;
    s.paintContext.reset();
    // The widget may be inside one of its own events (a close click); Qt
    // deletes it once that is over. Its children go with it.
    if (s.outer) {
        s.outer->hide();
        s.outer->deleteLater();
    }
}

// ---- Frame, style and title -------------------------------------------------

void QtHost::layoutFrame(Surface& s, const CoreWindow& w) {
    if (!s.outer || !s.client) return;
    QRect inside = s.outer->rect();
    if ((w.style & WS_CHILD) && (w.style & WS_BORDER)) inside.adjust(1, 1, -1, -1);
    if (s.menuBar) {
        int h = s.menuBar->sizeHint().height();
        s.menuBar->setGeometry(inside.left(), inside.top(), inside.width(), h);
        inside.setTop(inside.top() + h);
    }
    s.client->setGeometry(inside);
}

void QtHost::applyTopLevelFlags(CoreWindow& w) {
    Surface& s = surfaceOf(w);
    if ((w.style & WS_CHILD) || !s.outer) return;
    Qt::WindowFlags flags = topLevelFlags(w.style, w.owner != kNoWindow);
    if (s.outer->windowFlags() == flags) return;
    const bool shown = s.outer->isVisible();
    const QRect geometry = s.outer->geometry();
    s.outer->setWindowFlags(flags);  // hides the window
    s.outer->setGeometry(geometry);
    if (shown) s.outer->show();
}

void QtHost::surfaceStyleChanged(CoreWindow& w) {
    applyTopLevelFlags(w);
    layoutFrame(surfaceOf(w), w);
}

void QtHost::surfaceTitleChanged(CoreWindow& w) {
    Surface& s = surfaceOf(w);
    if (s.outer) s.outer->setWindowTitle(QString::fromStdString(w.title));
}

void QtHost::surfaceEnabledChanged(CoreWindow& w) {
    Surface& s = surfaceOf(w);
    if (s.menuBar) s.menuBar->setEnabled(w.enabled);
}

void QtHost::surfaceIconChanged(CoreWindow& w) {
    Surface& s = surfaceOf(w);
    // One icon serves title bar and task switcher alike; the large one wins.
    const QIcon* q = qtIcon(w.largeIcon != kNoIcon ? w.largeIcon : w.smallIcon);
    if (q && s.outer) s.outer->setWindowIcon(*q);
}

void QtHost::surfaceDropsChanged(CoreWindow& w) {
    Surface& s = surfaceOf(w);
    if (s.client) s.client->setAcceptDrops(w.acceptsFiles);
}

// ---- Geometry ---------------------------------------------------------------

void QtHost::setSurfaceGeometry(CoreWindow& w, const Rect& rect) {
    Surface& s = surfaceOf(w);
    if (!s.outer) return;
    QRect r = qtRect(rect);
    if (w.style & WS_CHILD) {
        s.outer->setGeometry(r);
    } else {
        // The rectangle includes the frame the window manager draws.
        QSize frame = s.outer->frameGeometry().size() - s.outer->geometry().size();
        s.outer->move(r.topLeft());
        s.outer->resize((r.size() - frame).expandedTo(QSize(0, 0)));
    }
    layoutFrame(s, w);
}

Rect QtHost::surfaceRect(const CoreWindow& w) const {
    const Surface& s = surfaceOf(w);
    if (!s.outer) return {};
    if (w.style & WS_CHILD) return hostRect(s.outer->geometry());
    return hostRect(s.outer->frameGeometry());
}

// FIXME: a window moved to a screen of another device pixel ratio gets no
// WM_SIZE for its new client size in device pixels (Qt 6.4 reports the
// change to widgets only internally); its buffers keep the old size until
// the next resize.
double QtHost::clientScale(const CoreWindow& w) const {
    const Surface& s = surfaceOf(w);
    if (!w.devicePixels || !s.client) return 1.0;
    return s.client->devicePixelRatioF();
}

QRect QtHost::logicalRect(const CoreWindow& w, const Rect& r) const {
    const double k = clientScale(w);
    if (k == 1.0) return qtRect(r);
    const int left = int(std::floor(r.left / k)), top = int(std::floor(r.top / k));
    const int right = int(std::ceil(r.right / k)), bottom = int(std::ceil(r.bottom / k));
    return QRect(left, top, right - left, bottom - top);
}

Rect QtHost::clientUnits(const CoreWindow& w, const QRect& r) const {
    const double k = clientScale(w);
    if (k == 1.0) return hostRect(r);
    return {int(std::floor(r.left() * k)), int(std::floor(r.top() * k)),
            int(std::ceil((r.left() + r.width()) * k)), int(std::ceil((r.top() + r.height()) * k))};
}

Point QtHost::surfaceClientSize(const CoreWindow& w) const {
    const Surface& s = surfaceOf(w);
    if (!s.client) return {};
    const double k = clientScale(w);
    // Rounded up, as paint rectangles are, so that the last screen column of
    // a fractional ratio is drawn too.
    return {int(std::ceil(s.client->width() * k)), int(std::ceil(s.client->height() * k))};
}

Point QtHost::surfaceClientOrigin(const CoreWindow& w) const {
    const Surface& s = surfaceOf(w);
    if (!s.client || !s.outer) return {};
    // Screen coordinates for top-level windows, the parent's client
    // coordinates for children.
    QPoint origin = (w.style & WS_CHILD) ? s.client->mapTo(s.outer, QPoint(0, 0)) + s.outer->pos()
                                         : s.client->mapToGlobal(QPoint(0, 0));
    return {origin.x(), origin.y()};
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

// Screen points are whole logical units, so a point in device pixels comes
// back from the screen to the nearest unit (an odd device coordinate at a
// ratio of 2 moves by one).
Point QtHost::clientToScreen(Window window, Point p) const {
    const CoreWindow* w = find(window);
    if (!w || !surfaceOf(*w).client) return p;
    const double k = clientScale(*w);
    QPointF g = surfaceOf(*w).client->mapToGlobal(QPointF(p.x / k, p.y / k));
    return {int(std::lround(g.x())), int(std::lround(g.y()))};
}

Point QtHost::screenToClient(Window window, Point p) const {
    const CoreWindow* w = find(window);
    if (!w || !surfaceOf(*w).client) return p;
    const double k = clientScale(*w);
    QPointF c = surfaceOf(*w).client->mapFromGlobal(QPointF(p.x, p.y));
    return {int(std::lround(c.x() * k)), int(std::lround(c.y() * k))};
}

std::optional<Rect> QtHost::monitorRect(Window window) const {
    const Surface* s = surface(window);
    if (!s || !s->outer) return std::nullopt;
    QScreen* screen = s->outer->window()->screen();
    if (!screen) screen = QGuiApplication::primaryScreen();
    if (!screen) return std::nullopt;
    return hostRect(screen->geometry());
}

// ---- Showing ----------------------------------------------------------------

void QtHost::showSurface(CoreWindow& w, int command) {
    Surface& s = surfaceOf(w);
    if (!s.outer) return;
    QWidget* outer = s.outer;
    const bool noActivate =
        command == SW_SHOWNOACTIVATE || command == SW_SHOWNA || command == SW_SHOWMINNOACTIVE;
    outer->setAttribute(Qt::WA_ShowWithoutActivating, noActivate);
    if (command == SW_HIDE) {
        outer->hide();
    } else if (w.style & WS_CHILD) {
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
    layoutFrame(s, w);
}

bool QtHost::surfaceShown(const CoreWindow& w) const {
    // A window not yet mapped by the display still counts as shown.
    const Surface& s = surfaceOf(w);
    return s.outer && !s.outer->isHidden();
}

bool QtHost::surfaceMinimised(const CoreWindow& w) const {
    const Surface& s = surfaceOf(w);
    return s.outer && s.outer->isMinimized();
}

bool QtHost::surfaceMaximised(const CoreWindow& w) const {
    const Surface& s = surfaceOf(w);
    return s.outer && s.outer->isMaximized();
}

// ---- Activation, focus and the mouse grab -----------------------------------

void QtHost::raiseSurface(CoreWindow& w) {
    Surface& s = surfaceOf(w);
    if (!s.outer) return;
    QWidget* top = s.outer->window();
    top->raise();
    // FIXME: without a window manager activateWindow does nothing, so a new
    // modal box does not take Qt's keyboard focus from the window below it;
    // keys typed into that window still reach the program's focus window.
    top->activateWindow();
}

void QtHost::nativeFocus(CoreWindow& w) {
    Surface& s = surfaceOf(w);
    if (s.client) s.client->setFocus(Qt::OtherFocusReason);
}

void QtHost::grabMouse(CoreWindow& w, bool grab) {
    Surface& s = surfaceOf(w);
    // Qt grabs only for widgets that are shown.
    if (!s.client || !s.client->isVisible()) return;
    if (grab)
        s.client->grabMouse();
    else
        s.client->releaseMouse();
}

// ---- The event pump, timers and clocks --------------------------------------

bool QtHost::pumpNativeEvents(bool wait) {
    // Qt cannot deliver events inside a paint; the queue answers as it is.
    if (paintDepth_ > 0) return true;
    QEventLoop::ProcessEventsFlags flags = QEventLoop::AllEvents;
    if (wait) flags |= QEventLoop::WaitForMoreEvents;
    QCoreApplication::processEvents(flags);
    // Widgets of destroyed windows go once none of their events is running.
    if (eventDepth_ == 0) QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    return true;
}

int QtHost::startNativeTimer(std::uint32_t periodMs) {
    return timerReceiver_->startTimer(int(periodMs), Qt::PreciseTimer);
}

void QtHost::stopNativeTimer(int id) {
    if (timerReceiver_) timerReceiver_->killTimer(id);
}

std::int64_t QtHost::processMilliseconds() const {
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return std::int64_t(t.tv_sec) * 1000 + t.tv_nsec / 1000000;
}

std::int64_t QtHost::millisecondsSinceStart() const {
    return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() -
                                                                 start_)
        .count();
}

double QtHost::wallTime() const {
    auto since = std::chrono::system_clock::now().time_since_epoch();
    return double(std::chrono::duration_cast<std::chrono::milliseconds>(since).count()) / 1000.0;
}

void QtHost::sleep(std::uint32_t milliseconds) {
    std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
}

// ---- The cursor -------------------------------------------------------------

Point QtHost::cursorPos() const {
    QPoint p = QCursor::pos();
    return {p.x(), p.y()};
}

void QtHost::setCursorPos(Point screen) {
    QCursor::setPos(screen.x, screen.y);
}

void QtHost::setCursor(Cursor cursor) {
    Surface* s = surface(cursorWindow_);
    if (!s || !s->client) return;
    Qt::CursorShape shape = cursor == Cursor::cross  ? Qt::CrossCursor
                            : cursor == Cursor::hand ? Qt::PointingHandCursor
                                                     : Qt::ArrowCursor;
    if (s->client->cursor().shape() != shape) s->client->setCursor(shape);
}

}  // namespace host::qt
