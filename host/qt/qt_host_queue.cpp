// The Qt host: Qt events into messages, the queue, timers, clocks and input
// state.
#include <QApplication>
#include <QCursor>
#include <QDropEvent>
#include <QKeyEvent>
#include <QMimeData>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QTabletEvent>
#include <QTimerEvent>
#include <QUrl>
#include <QWheelEvent>
#include <chrono>
#include <ctime>
#include <thread>

#include "host/keys.h"
#include "host/qt/key_map.h"
#include "host/qt/qt_host.h"
#include "host/qt/qt_records.h"
#include "host/qt/tablet_mapping.h"
#include "host/window_style.h"

namespace host::qt {

namespace {

// The keys and buttons held when a Qt input event happened.
InputState inputStateOf(Qt::KeyboardModifiers modifiers, Qt::MouseButtons buttons) {
    InputState state;
    state.valid = true;
    state.shift = modifiers & Qt::ShiftModifier;
    state.control = modifiers & Qt::ControlModifier;
    state.alt = modifiers & Qt::AltModifier;
    state.left = buttons & Qt::LeftButton;
    state.right = buttons & Qt::RightButton;
    state.middle = buttons & Qt::MiddleButton;
    return state;
}

// The MK_* word that mouse messages carry in wParam.
WParam mouseFlags(const InputState& state) {
    return (state.left ? MK_LBUTTON : 0) | (state.right ? MK_RBUTTON : 0) |
           (state.middle ? MK_MBUTTON : 0) | (state.shift ? MK_SHIFT : 0) |
           (state.control ? MK_CONTROL : 0);
}

// Counts the host's own Qt events in progress; a widget is never deleted
// while one of its events runs.
struct Depth {
    explicit Depth(int& d) : depth(d) { ++depth; }
    ~Depth() { --depth; }
    int& depth;
};

constexpr std::size_t kKeptKeyTexts = 64;

}  // namespace

// ---- Qt events --------------------------------------------------------------

bool QtHost::clientEvent(Window window, QEvent* event) {
    if (closing_) return false;
    WindowRecord* w = find(window);
    if (!w) return false;
    Depth depth(eventDepth_);
    switch (event->type()) {
        case QEvent::Paint:
            paintClient(*w, static_cast<QPaintEvent*>(event));
            return true;
        case QEvent::Resize:
            sendSizeIfChanged(*w, false);
            return false;
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease:
        case QEvent::MouseButtonDblClick:
        case QEvent::MouseMove:
            return mouseEvent(*w, event);
        case QEvent::Wheel: {
            auto* e = static_cast<QWheelEvent*>(event);
            int delta = e->angleDelta().y();
            if (delta == 0) return true;
            Window target = find(focus_) ? focus_ : window;
            if (!takesInput(target)) return true;
            QPoint global = e->globalPosition().toPoint();
            Point at{global.x(), global.y()};
            InputState state = inputStateOf(e->modifiers(), e->buttons());
            queue(target, WM_MOUSEWHEEL, makeWParam(int(mouseFlags(state)), delta),
                  makeLParam(at.x, at.y), state, &at);
            return true;
        }
        case QEvent::KeyPress:
        case QEvent::KeyRelease:
            return keyEvent(*w, event);
        case QEvent::TabletPress:
        case QEvent::TabletMove:
        case QEvent::TabletRelease:
            return tabletEvent(*w, event);
        case QEvent::DragEnter:
        case QEvent::DragMove:
        case QEvent::Drop:
            return dropEvent(*w, event);
        case QEvent::FocusIn:
            // A disabled window that Qt gives the focus to (its top-level
            // window was activated) does not take the keyboard from the
            // program's focus, which may be in a box it owns.
            if (takesInput(window)) focusArrived(window);
            return false;
        case QEvent::FocusOut: {
            // Focus moving to another host window is handled when it arrives.
            QWidget* next = QApplication::focusWidget();
            if (focus_ == window && !dynamic_cast<ClientWidget*>(next)) focusArrived(kNoWindow);
            return false;
        }
        case QEvent::ContextMenu:
            return true;  // WM_RBUTTONUP makes WM_CONTEXTMENU
        default:
            return false;
    }
}

bool QtHost::outerEvent(Window window, QEvent* event) {
    if (closing_) return false;
    WindowRecord* w = find(window);
    if (!w) return false;
    Depth depth(eventDepth_);
    switch (event->type()) {
        case QEvent::Close:
            // The program decides: WM_CLOSE, whose default destroys the window.
            // A disabled window's close box does nothing.
            event->ignore();
            if (takesInput(window)) sendMessage(window, WM_CLOSE, 0, 0);
            return true;
        case QEvent::Resize:
            layoutFrame(*w);
            sendSizeIfChanged(*w, false);
            return false;
        case QEvent::Move:
            sendMoveIfChanged(*w, false);
            return false;
        case QEvent::WindowStateChange:
            sendSizeIfChanged(*w, true);
            return false;
        case QEvent::ActivationChange:
            if (!(w->style & WS_CHILD) && w->outer)
                activationChanged(window, w->outer->isActiveWindow());
            return false;
        default:
            return false;
    }
}

bool QtHost::mouseEvent(WindowRecord& w, QEvent* event) {
    auto* e = static_cast<QMouseEvent*>(event);
    const bool press =
        event->type() == QEvent::MouseButtonPress || event->type() == QEvent::MouseButtonDblClick;
    std::uint32_t message = WM_MOUSEMOVE;
    if (event->type() != QEvent::MouseMove) {
        switch (e->button()) {
            case Qt::LeftButton:
                message = press ? WM_LBUTTONDOWN : WM_LBUTTONUP;
                break;
            case Qt::RightButton:
                message = press ? WM_RBUTTONDOWN : WM_RBUTTONUP;
                break;
            case Qt::MiddleButton:
                message = press ? WM_MBUTTONDOWN : WM_MBUTTONUP;
                break;
            default:
                return true;  // back and forward buttons mean nothing here
        }
    }
    // A second click arrives as another press, as for windows that do not
    // ask for double clicks.
    Window target = find(capture_) ? capture_ : w.handle;
    if (!takesInput(target)) return true;
    QPoint global = e->globalPosition().toPoint();
    Point p = {e->position().toPoint().x(), e->position().toPoint().y()};
    if (target != w.handle) p = screenToClient(target, {global.x(), global.y()});
    InputState state = inputStateOf(e->modifiers(), e->buttons());
    Point at{global.x(), global.y()};
    cursorWindow_ = target;
    queue(target, message, mouseFlags(state), makeLParam(p.x, p.y), state, &at);
    return true;
}

bool QtHost::keyEvent(WindowRecord& w, QEvent* event) {
    auto* e = static_cast<QKeyEvent*>(event);
    const bool keypad = e->modifiers() & Qt::KeypadModifier;
    const int vk = virtualKeyFor(e->key(), keypad);
    if (vk == 0) return false;
    const bool up = event->type() == QEvent::KeyRelease;
    // Held keys repeat as further key-downs only, without releases between.
    if (up && e->isAutoRepeat()) return true;
    InputState state;
    state.valid = true;
    state.shift = up ? (e->modifiers() & Qt::ShiftModifier) && vk != VK_SHIFT
                     : (e->modifiers() & Qt::ShiftModifier) || vk == VK_SHIFT;
    state.control = up ? (e->modifiers() & Qt::ControlModifier) && vk != VK_CONTROL
                       : (e->modifiers() & Qt::ControlModifier) || vk == VK_CONTROL;
    state.alt = up ? (e->modifiers() & Qt::AltModifier) && vk != VK_MENU
                   : (e->modifiers() & Qt::AltModifier) || vk == VK_MENU;
    state.left = QApplication::mouseButtons() & Qt::LeftButton;
    state.right = QApplication::mouseButtons() & Qt::RightButton;
    state.middle = QApplication::mouseButtons() & Qt::MiddleButton;
    state.key = vk;
    state.keyDown = !up;
    // Alt's own release is a system key too.
    const bool alt = (e->modifiers() & Qt::AltModifier) || vk == VK_MENU;
    const bool control = e->modifiers() & Qt::ControlModifier;
    std::uint32_t message;
    if (up)
        message = alt && !control ? WM_SYSKEYUP : WM_KEYUP;
    else
        message = (alt || vk == VK_F10) && !control ? WM_SYSKEYDOWN : WM_KEYDOWN;
    const quint32 scan = e->nativeScanCode() > 8 ? (e->nativeScanCode() - 8) & 0xFF : 0;
    LParam lParam = 1 | LParam(scan) << 16 | (isExtendedKey(vk, keypad) ? kKeyExtended : 0);
    if (up)
        lParam |= kKeyPreviouslyDown | kKeyReleased;
    else if (e->isAutoRepeat())
        lParam |= kKeyPreviouslyDown;
    Window target = find(focus_) ? focus_ : w.handle;
    if (!takesInput(target)) return true;
    if (!up) {
        // The character this press makes, for translateMessage.
        int code = 0;
        const QString text = e->text();
        if (text.size() == 1 && text[0].unicode() > 0 && text[0].unicode() < 256 &&
            text[0].unicode() != 0x7F)
            code = text[0].unicode();
        if (control && vk >= 'A' && vk <= 'Z') code = vk - 'A' + 1;
        keyTexts_.push_back({target, vk, code});
        while (keyTexts_.size() > kKeptKeyTexts)
            keyTexts_.pop_front();
    }
    queue(target, message, WParam(vk), lParam, state);
    return true;
}

bool QtHost::tabletEvent(WindowRecord& w, QEvent* event) {
    auto* e = static_cast<QTabletEvent*>(event);
    if (!takesInput(w.handle)) {
        e->accept();  // nor as mouse input
        return true;
    }
    const TabletContext context = tablets_.enabledFor(w.handle);
    const bool tablet = context != kNoTablet;
    // Without an open, enabled context the pen acts as a mouse (Qt makes
    // mouse events of an event that is not taken). A stroke stays with the
    // side it began on, or the mouse would see a press without its release.
    if (event->type() == QEvent::TabletPress) penAsMouse_ = !tablet;
    const bool asMouse = penAsMouse_ || !tablet;
    if (event->type() == QEvent::TabletRelease) penAsMouse_ = false;
    if (asMouse) return false;
    PenSample sample;
    sample.x = e->position().x();
    sample.y = e->position().y();
    sample.pressure = e->pressure();
    sample.tip = e->buttons() & Qt::LeftButton;
    sample.barrel1 = e->buttons() & Qt::MiddleButton;
    sample.barrel2 = e->buttons() & Qt::RightButton;
    Rect client = clientRect(w.handle);
    WParam serial = tablets_.add(context, tabletPacketFor(sample, client.width(), client.height(),
                                                          std::uint32_t(millisecondsSinceStart())));
    QPoint global = e->globalPosition().toPoint();
    Point at{global.x(), global.y()};
    queue(w.handle, WT_PACKET, serial, LParam(context), {}, &at);
    // Taken, so Qt does not also make mouse events of it.
    e->accept();
    return true;
}

bool QtHost::dropEvent(WindowRecord& w, QEvent* event) {
    auto* e = static_cast<QDropEvent*>(event);
    std::vector<std::string> files;
    if (e->mimeData())
        for (const QUrl& url : e->mimeData()->urls())
            if (url.isLocalFile()) files.push_back(url.toLocalFile().toStdString());
    if (!w.acceptsFiles || files.empty() || !takesInput(w.handle)) {
        e->ignore();
        return true;
    }
    e->acceptProposedAction();
    if (event->type() == QEvent::Drop) {
        WParam drop = nextDrop_++;
        drops_[drop] = std::move(files);
        queue(w.handle, WM_DROPFILES, drop, 0);
    }
    return true;
}

// ---- Messages ---------------------------------------------------------------

void QtHost::queue(Window window, std::uint32_t message, WParam wParam, LParam lParam,
                   InputState state, const Point* cursor) {
    queue_.post({window, message, wParam, lParam, std::uint32_t(millisecondsSinceStart()),
                 cursor ? *cursor : cursorPos()},
                state);
}

bool QtHost::postMessage(Window window, std::uint32_t message, WParam wParam, LParam lParam) {
    if (window != kNoWindow && !find(window)) return false;
    queue(window, message, wParam, lParam);
    return true;
}

LResult QtHost::sendMessage(Window window, std::uint32_t message, WParam wParam, LParam lParam) {
    return windows_.send(window, message, wParam, lParam);
}

void QtHost::postQuitMessage(int exitCode) {
    queue(kNoWindow, WM_QUIT, WParam(exitCode), 0);
}

bool QtHost::take(Message& message, Window window, std::uint32_t first, std::uint32_t last,
                  bool remove) {
    const MessageFilter filter{window, first, last};
    // isKeyDown answers as of the message being taken.
    auto applyState = [&](const InputState& s) {
        if (!s.valid) return;
        keyTable_[VK_SHIFT] = s.shift;
        keyTable_[VK_CONTROL] = s.control;
        keyTable_[VK_MENU] = s.alt;
        keyTable_[VK_LBUTTON] = s.left;
        keyTable_[VK_RBUTTON] = s.right;
        keyTable_[VK_MBUTTON] = s.middle;
        if (s.key > 0) keyTable_[s.key & 0xFF] = s.keyDown;
    };
    // A mouse message that belongs to a frame drag is used up on the way.
    while (queue_.take(message, filter, remove, applyState))
        if (!remove || !frameDrag_.consumes(*this, message)) return true;
    return takePendingTimer(timers_, filter, remove, message, [&](Message& m) {
        m.time = std::uint32_t(millisecondsSinceStart());
        m.point = cursorPos();
    });
}

void QtHost::pumpNativeEvents(bool wait) {
    // Qt cannot deliver events inside a paint; the queue answers as it is.
    if (paintDepth_ > 0) return;
    QEventLoop::ProcessEventsFlags flags = QEventLoop::AllEvents;
    if (wait) flags |= QEventLoop::WaitForMoreEvents;
    QCoreApplication::processEvents(flags);
    // Widgets of destroyed windows go once none of their events is running.
    if (eventDepth_ == 0) QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

bool QtHost::peekMessage(Message& message, Window window, std::uint32_t first, std::uint32_t last,
                         bool remove) {
    if (take(message, window, first, last, remove)) return true;
    pumpNativeEvents(false);
    return take(message, window, first, last, remove);
}

bool QtHost::getMessage(Message& message) {
    while (!take(message, kNoWindow, 0, 0, true))
        pumpNativeEvents(true);
    return message.message != WM_QUIT;
}

bool QtHost::translateMessage(const Message& m) {
    if (m.message != WM_KEYDOWN && m.message != WM_SYSKEYDOWN) return false;
    const int vk = int(m.wParam);
    int code = 0;
    bool known = false;
    for (auto it = keyTexts_.begin(); it != keyTexts_.end(); ++it) {
        if (it->window != m.window || it->virtualKey != vk) continue;
        code = it->code;
        known = true;
        keyTexts_.erase(keyTexts_.begin(), it + 1);
        break;
    }
    if (!known) {
        // A key message the program made itself: the plain keys only.
        const bool shift = keyTable_[VK_SHIFT];
        if (vk >= 'A' && vk <= 'Z')
            code = shift ? vk : vk - 'A' + 'a';
        else if (vk >= '0' && vk <= '9')
            code = vk;
        else if (vk == VK_SPACE || vk == VK_RETURN || vk == VK_BACK || vk == VK_ESCAPE ||
                 vk == VK_TAB)
            code = vk;
        if (keyTable_[VK_CONTROL] && vk >= 'A' && vk <= 'Z') code = vk - 'A' + 1;
    }
    if (code == 0) return false;
    // The character comes next, ahead of anything queued after the key.
    queue_.postFirst({m.window, m.message == WM_SYSKEYDOWN ? WM_SYSCHAR : WM_CHAR, WParam(code),
                      m.lParam, m.time, m.point});
    return true;
}

LResult QtHost::dispatchMessage(const Message& m) {
    if (m.window == kNoWindow) return 0;
    const bool mouse = m.message >= WM_MOUSEMOVE && m.message <= WM_MBUTTONUP;
    if (mouse && capture_ == kNoWindow)
        sendMessage(m.window, WM_SETCURSOR, WParam(m.window), makeLParam(HTCLIENT, int(m.message)));
    return sendMessage(m.window, m.message, m.wParam, m.lParam);
}

// ---- Timers and clocks ------------------------------------------------------

bool QtHost::setTimer(Window window, std::uintptr_t id, std::uint32_t periodMs) {
    if (!find(window)) return false;
    TimerRecord& t = timers_[{std::uintptr_t(window), id}];
    if (t.qtTimer != 0) {
        QObject::killTimer(t.qtTimer);
        timerKeys_.erase(t.qtTimer);
    }
    t.qtTimer =
        startTimer(int(std::clamp<std::uint32_t>(periodMs, 1, 0x7FFFFFFF)), Qt::PreciseTimer);
    t.pending = false;
    if (t.qtTimer == 0) {
        timers_.erase({std::uintptr_t(window), id});
        return false;
    }
    timerKeys_[t.qtTimer] = {std::uintptr_t(window), id};
    return true;
}

bool QtHost::killTimer(Window window, std::uintptr_t id) {
    auto it = timers_.find({std::uintptr_t(window), id});
    if (it == timers_.end()) return false;
    QObject::killTimer(it->second.qtTimer);
    timerKeys_.erase(it->second.qtTimer);
    timers_.erase(it);
    return true;
}

void QtHost::timerEvent(QTimerEvent* event) {
    auto key = timerKeys_.find(event->timerId());
    if (key == timerKeys_.end()) return;
    auto timer = timers_.find(key->second);
    // Missed periods collapse into the one pending message.
    if (timer != timers_.end()) timer->second.pending = true;
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

// ---- Input state ------------------------------------------------------------

bool QtHost::isKeyDown(int virtualKey) const {
    return keyTable_[virtualKey & 0xFF];
}

Point QtHost::cursorPos() const {
    QPoint p = QCursor::pos();
    return {p.x(), p.y()};
}

void QtHost::setCursorPos(Point screen) {
    QCursor::setPos(screen.x, screen.y);
}

void QtHost::setCursor(Cursor cursor) {
    WindowRecord* w = find(cursorWindow_);
    if (!w || !w->client) return;
    Qt::CursorShape shape = cursor == Cursor::cross  ? Qt::CrossCursor
                            : cursor == Cursor::hand ? Qt::PointingHandCursor
                                                     : Qt::ArrowCursor;
    if (w->client->cursor().shape() != shape) w->client->setCursor(shape);
}

}  // namespace host::qt
