// The Qt host: Qt's events of a window's widgets into messages. Painting and
// sizing are sent at once; keys, mouse, wheel, pen samples and drops are
// queued with the keys and buttons held at that moment.
#include <QApplication>
#include <QDropEvent>
#include <QInputDevice>
#include <QKeyEvent>
#include <QMimeData>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QTabletEvent>
#include <QUrl>
#include <QWheelEvent>

#include "host/keys.h"
#include "host/qt/key_map.h"
#include "host/qt/qt_host.h"
#include "host/qt/qt_surface.h"
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

Point globalPoint(const QPointF& p) {
    QPoint q = p.toPoint();
    return {q.x(), q.y()};
}

// Counts the host's own Qt events in progress; a widget is never deleted
// while one of its events runs.
struct Depth {
    explicit Depth(int& d) : depth(d) { ++depth; }
    ~Depth() { --depth; }
    int& depth;
};

}  // namespace

bool QtHost::clientEvent(Window window, QEvent* event) {
    if (closing_) return false;
    CoreWindow* w = find(window);
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
        case QEvent::Wheel:
            return wheelEvent(*w, event);
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
            if (focusWindow() == window && !dynamic_cast<ClientWidget*>(next))
                focusArrived(kNoWindow);
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
    CoreWindow* w = find(window);
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
            layoutFrame(surfaceOf(*w), *w);
            sendSizeIfChanged(*w, false);
            return false;
        case QEvent::Move:
            sendMoveIfChanged(*w, false);
            return false;
        case QEvent::WindowStateChange:
            sendSizeIfChanged(*w, true);
            return false;
        case QEvent::ActivationChange:
            if (!(w->style & WS_CHILD) && surfaceOf(*w).outer)
                activationChanged(window, surfaceOf(*w).outer->isActiveWindow());
            return false;
        default:
            return false;
    }
}

bool QtHost::mouseEvent(CoreWindow& w, QEvent* event) {
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
    const Window target = find(captureWindow()) ? captureWindow() : w.handle;
    if (!takesInput(target)) return true;
    const Point at = globalPoint(e->globalPosition());
    Point p = globalPoint(e->position() * clientScale(w));
    if (target != w.handle) {
        // Straight from the event's own point, which keeps its fraction of a
        // logical unit; a round trip through whole screen units would not.
        const CoreWindow* t = find(target);
        const QPointF local = surfaceOf(*t).client->mapFromGlobal(e->globalPosition());
        p = globalPoint(local * clientScale(*t));
    }
    InputState state = inputStateOf(e->modifiers(), e->buttons());
    // Qt makes mouse events of touches nobody took, with the touch screen
    // as their device.
    state.fromTouch = e->device() && e->device()->type() == QInputDevice::DeviceType::TouchScreen;
    cursorWindow_ = target;
    postInput(target, message, state.mouseFlags(), makeLParam(p.x, p.y), state, at);
    return true;
}

bool QtHost::wheelEvent(CoreWindow& w, QEvent* event) {
    auto* e = static_cast<QWheelEvent*>(event);
    const int delta = e->angleDelta().y();
    if (delta == 0) return true;
    const Window target = find(focusWindow()) ? focusWindow() : w.handle;
    if (!takesInput(target)) return true;
    const Point at = globalPoint(e->globalPosition());
    const InputState state = inputStateOf(e->modifiers(), e->buttons());
    postInput(target, WM_MOUSEWHEEL, makeWParam(int(state.mouseFlags()), delta),
              makeLParam(at.x, at.y), state, at);
    return true;
}

bool QtHost::keyEvent(CoreWindow& w, QEvent* event) {
    auto* e = static_cast<QKeyEvent*>(event);
    const bool keypad = e->modifiers() & Qt::KeypadModifier;
    const int vk = virtualKeyFor(e->key(), keypad);
    if (vk == 0) return false;
    const bool up = event->type() == QEvent::KeyRelease;
    // Held keys repeat as further key-downs only, without releases between.
    if (up && e->isAutoRepeat()) return true;
    const Qt::KeyboardModifiers mods = e->modifiers();
    // A modifier's own press holds it, its release lets it go.
    auto held = [&](Qt::KeyboardModifier mod, int key) {
        return up ? (mods & mod) && vk != key : (mods & mod) || vk == key;
    };
    InputState state = inputStateOf({}, QApplication::mouseButtons());
    state.shift = held(Qt::ShiftModifier, VK_SHIFT);
    state.control = held(Qt::ControlModifier, VK_CONTROL);
    state.alt = held(Qt::AltModifier, VK_MENU);
    state.key = vk;
    state.keyDown = !up;
    // Alt's own release is a system key too.
    const bool alt = (mods & Qt::AltModifier) || vk == VK_MENU;
    const bool control = mods & Qt::ControlModifier;
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
    const Window target = find(focusWindow()) ? focusWindow() : w.handle;
    if (!takesInput(target)) return true;
    if (!up) {
        // The character this press makes, as the keyboard layout says.
        int code = 0;
        const QString text = e->text();
        if (text.size() == 1 && text[0].unicode() > 0 && text[0].unicode() < 256 &&
            text[0].unicode() != 0x7F)
            code = text[0].unicode();
        if (control && vk >= 'A' && vk <= 'Z') code = vk - 'A' + 1;
        rememberKeyCharacter(target, vk, code);
    }
    postInput(target, message, WParam(vk), lParam, state, cursorPos());
    return true;
}

bool QtHost::tabletEvent(CoreWindow& w, QEvent* event) {
    auto* e = static_cast<QTabletEvent*>(event);
    // A pen that reports samples is near, whether or not the driver told of
    // its coming.
    penProximity(true);
    if (!takesInput(w.handle)) {
        e->accept();  // nor as mouse input
        return true;
    }
    const TabletContext context = enabledTablet(w.handle);
    const bool tablet = context != kNoTablet;
    // Without an open, enabled context the pen acts as a mouse (Qt makes
    // mouse events of an event that is not taken). A stroke stays with the
    // side it began on, or the mouse would see a press without its release.
    if (event->type() == QEvent::TabletPress) penAsMouse_ = !tablet;
    const bool asMouse = penAsMouse_ || !tablet;
    if (event->type() == QEvent::TabletRelease) penAsMouse_ = false;
    if (asMouse) return false;
    PenSample sample;
    const double k = clientScale(w);
    sample.x = e->position().x() * k;
    sample.y = e->position().y() * k;
    sample.pressure = e->pressure();
    sample.tip = e->buttons() & Qt::LeftButton;
    // FIXME: the barrel buttons' mapping (Qt's middle and right buttons) has
    // not been tried with a real pen; drivers may report them otherwise.
    sample.barrel1 = e->buttons() & Qt::MiddleButton;
    sample.barrel2 = e->buttons() & Qt::RightButton;
    const Point size = surfaceClientSize(w);
    postTabletPacket(
        context, tabletPacketFor(sample, size.x, size.y, std::uint32_t(millisecondsSinceStart())),
        inputStateOf(e->modifiers(), QApplication::mouseButtons()),
        globalPoint(e->globalPosition()));
    // Taken, so Qt does not also make mouse events of it.
    e->accept();
    return true;
}

bool QtHost::dropEvent(CoreWindow& w, QEvent* event) {
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
        const WParam drop = addDrop(std::move(files));
        postInput(w.handle, WM_DROPFILES, drop, 0, {}, cursorPos());
    }
    return true;
}

}  // namespace host::qt
