// The Qt host's windows, painting, queue, timers and input, under Qt's
// offscreen platform.
#include "host/qt/qt_host.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QImage>
#include <QKeyEvent>
#include <QMimeData>
#include <QMouseEvent>
#include <QUrl>
#include <QWheelEvent>
#include <QWindow>
#include <functional>
#include <vector>

#include "host/keys.h"
#include "host/window_style.h"
#include "tests/host/qt/qt_test_host.h"

namespace {

using namespace host;
using qt_test::testHost;

struct Received {
    Window window;
    std::uint32_t message;
    WParam wParam;
    LParam lParam;
};
std::vector<Received> received;
std::function<void(DeviceContext&)> painter;

LResult recordingProc(Window w, std::uint32_t m, WParam wp, LParam lp) {
    received.push_back({w, m, wp, lp});
    if (m == WM_PAINT) {
        PaintRecord record = testHost().beginPaint(w);
        if (painter && record.dc) painter(*record.dc);
        testHost().endPaint(w, record);
        return 0;
    }
    if (m == WM_USER + 5) return 42;
    return testHost().defaultProc(w, m, wp, lp);
}

std::vector<Received> of(std::uint32_t message) {
    std::vector<Received> out;
    for (const Received& r : received)
        if (r.message == message) out.push_back(r);
    return out;
}

class QtHostTest : public ::testing::Test {
  protected:
    QtHostTest() : host_(testHost()) {
        received.clear();
        painter = nullptr;
        Message m;
        while (host_.peekMessage(m, kNoWindow, 0, 0, true)) {
        }
    }
    ~QtHostTest() override {
        for (Window w : made_)
            host_.destroyWindow(w);
        painter = nullptr;
    }
    Window make(int width, int height, std::uint32_t style = WS_OVERLAPPEDWINDOW,
                Window parent = kNoWindow, int x = 10, int y = 10) {
        CreateRequest request;
        request.title = "Test";
        request.style = style;
        request.parent = parent;
        request.x = x;
        request.y = y;
        request.width = width;
        request.height = height;
        request.proc = recordingProc;
        Window w = host_.createWindow(request);
        if (!(style & WS_CHILD)) made_.push_back(w);
        return w;
    }
    // Takes every queued message (timers included) of the kinds asked for.
    std::vector<Message> drain(std::uint32_t first = 0, std::uint32_t last = 0) {
        std::vector<Message> out;
        Message m;
        while (host_.peekMessage(m, kNoWindow, first, last, true))
            out.push_back(m);
        return out;
    }
    qt::QtHost& host_;
    std::vector<Window> made_;
};

TEST_F(QtHostTest, WindowIsCreatedSizedAndPaintedFromPixels) {
    Window w = make(200, 150);
    ASSERT_NE(w, kNoWindow);
    ASSERT_GE(received.size(), 4u);
    EXPECT_EQ(received[0].message, WM_NCCREATE);
    EXPECT_EQ(received[1].message, WM_CREATE);
    EXPECT_EQ(received[2].message, WM_SIZE);
    EXPECT_EQ(received[3].message, WM_MOVE);
    EXPECT_EQ(pointX(received[2].lParam), 200);
    EXPECT_EQ(pointY(received[2].lParam), 150);
    EXPECT_EQ(host_.clientRect(w), (Rect{0, 0, 200, 150}));

    received.clear();
    Rect r = host_.windowRect(w);
    host_.moveWindow(w, {r.left, r.top, r.left + 120, r.top + 90}, false);
    ASSERT_EQ(of(WM_SIZE).size(), 1u);
    EXPECT_EQ(pointX(of(WM_SIZE)[0].lParam), 120);
    EXPECT_EQ(pointY(of(WM_SIZE)[0].lParam), 90);

    // Left half red, right half blue, the fourth byte 0 as the renderer
    // leaves it.
    const int width = 120, height = 90;
    std::vector<std::uint8_t> bits(std::size_t(width) * height * 4);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            std::uint8_t* p = &bits[(std::size_t(y) * width + x) * 4];
            p[0] = x < width / 2 ? 0 : 255;  // blue
            p[1] = 0;
            p[2] = x < width / 2 ? 255 : 0;  // red
            p[3] = 0;
        }
    PixelView view{bits.data(), width, height, width * 4, 32, nullptr};
    painter = [&](DeviceContext& dc) { dc.drawPixels(0, 0, view); };

    host_.showWindow(w, SW_SHOW);
    EXPECT_TRUE(host_.isVisible(w));
    // The display shows the window when its events are handled.
    Message m;
    host_.peekMessage(m, kNoWindow, 0, 0, false);
    received.clear();
    host_.invalidate(w, nullptr, false);
    host_.updateWindow(w);
    EXPECT_EQ(of(WM_PAINT).size(), 1u) << "updateWindow paints at once";

    QImage shown = host_.clientWidget(w)->grab().toImage().convertToFormat(QImage::Format_ARGB32);
    ASSERT_EQ(shown.size(), QSize(width, height));
    EXPECT_EQ(shown.pixel(10, 10), qRgba(255, 0, 0, 255));
    EXPECT_EQ(shown.pixel(100, 80), qRgba(0, 0, 255, 255));
    EXPECT_EQ(shown.pixel(59, 45), qRgba(255, 0, 0, 255));
    EXPECT_EQ(shown.pixel(60, 45), qRgba(0, 0, 255, 255));

    host_.setFocus(w);
    received.clear();
    host_.destroyWindow(w);
    EXPECT_FALSE(host_.isWindow(w));
    ASSERT_EQ(received.size(), 3u);
    EXPECT_EQ(received[0].message, WM_KILLFOCUS);
    EXPECT_EQ(received[1].message, WM_DESTROY);
    EXPECT_EQ(received[2].message, WM_NCDESTROY);
}

TEST_F(QtHostTest, ChildWindowsSitInTheirParentsClientArea) {
    Window top = make(300, 200);
    Window child = make(100, 50, WS_CHILD | WS_VISIBLE, top, 30, 40);
    ASSERT_NE(child, kNoWindow);
    EXPECT_EQ(host_.parent(child), top);
    EXPECT_EQ(host_.children(top), std::vector<Window>{child});
    EXPECT_EQ(host_.windowRect(child), (Rect{30, 40, 130, 90}));
    Point topOrigin = host_.clientToScreen(top, {0, 0});
    EXPECT_EQ(host_.clientToScreen(child, {5, 6}), (Point{topOrigin.x + 35, topOrigin.y + 46}));
    EXPECT_EQ(host_.screenToClient(child, {topOrigin.x + 35, topOrigin.y + 46}), (Point{5, 6}));

    // Destroying the parent takes the child with it, child after parent's
    // WM_DESTROY and before its WM_NCDESTROY; the focused child loses the
    // keyboard first.
    host_.setFocus(child);
    received.clear();
    host_.destroyWindow(top);
    EXPECT_FALSE(host_.isWindow(child));
    std::vector<std::pair<Window, std::uint32_t>> order;
    for (const Received& r : received)
        order.push_back({r.window, r.message});
    EXPECT_EQ(order, (std::vector<std::pair<Window, std::uint32_t>>{{child, WM_KILLFOCUS},
                                                                    {top, WM_DESTROY},
                                                                    {child, WM_DESTROY},
                                                                    {child, WM_NCDESTROY},
                                                                    {top, WM_NCDESTROY}}));
    EXPECT_EQ(host_.focusWindow(), kNoWindow);
}

TEST_F(QtHostTest, PostedMessagesQueueAndSentOnesRunAtOnce) {
    Window w = make(100, 100);
    EXPECT_EQ(host_.sendMessage(w, WM_USER + 5, 1, 2), 42);
    ASSERT_FALSE(received.empty());
    EXPECT_EQ(received.back().message, WM_USER + 5u);

    received.clear();
    ASSERT_TRUE(host_.postMessage(w, WM_USER + 1, 11, 12));
    ASSERT_TRUE(host_.postMessage(w, WM_APP, 21, 22));
    ASSERT_TRUE(host_.postMessage(kNoWindow, WM_USER + 2, 31, 32));
    EXPECT_TRUE(received.empty()) << "posting calls nothing";

    Message m;
    // A range finds the later message and, without removal, leaves it.
    ASSERT_TRUE(host_.peekMessage(m, kNoWindow, WM_APP, WM_APP, false));
    EXPECT_EQ(m.message, WM_APP);
    EXPECT_EQ(m.wParam, 21u);
    ASSERT_TRUE(host_.peekMessage(m, kNoWindow, WM_APP, WM_APP, true));
    EXPECT_FALSE(host_.peekMessage(m, kNoWindow, WM_APP, WM_APP, false));
    // A window filter skips the loop's own message.
    EXPECT_FALSE(host_.peekMessage(m, w, WM_USER + 2, WM_USER + 2, false));

    ASSERT_TRUE(host_.getMessage(m));
    EXPECT_EQ(m.window, w);
    EXPECT_EQ(m.message, WM_USER + 1u);
    EXPECT_EQ(m.lParam, 12);
    host_.dispatchMessage(m);
    ASSERT_EQ(received.size(), 1u);
    EXPECT_EQ(received[0].wParam, 11u);
    ASSERT_TRUE(host_.getMessage(m));
    EXPECT_EQ(m.window, kNoWindow);
    EXPECT_EQ(m.message, WM_USER + 2u);

    host_.postQuitMessage(3);
    EXPECT_FALSE(host_.getMessage(m));
    EXPECT_EQ(m.message, WM_QUIT);
    EXPECT_EQ(m.wParam, 3u);

    // Messages of a destroyed window leave the queue with it.
    host_.postMessage(w, WM_USER + 9, 0, 0);
    host_.destroyWindow(w);
    EXPECT_FALSE(host_.peekMessage(m, kNoWindow, WM_USER + 9, WM_USER + 9, false));
    EXPECT_FALSE(host_.postMessage(w, WM_USER, 0, 0));
}

TEST_F(QtHostTest, TimersFireWhenNothingElseWaitsAndStopWhenKilled) {
    Window w = make(100, 100);
    ASSERT_TRUE(host_.setTimer(w, 7, 5));
    host_.sleep(20);
    host_.postMessage(w, WM_USER + 1, 0, 0);
    Message m;
    ASSERT_TRUE(host_.getMessage(m));
    EXPECT_EQ(m.message, WM_USER + 1u) << "a due timer waits behind queued messages";
    ASSERT_TRUE(host_.getMessage(m));  // blocks until the timer is due
    EXPECT_EQ(m.message, WM_TIMER);
    EXPECT_EQ(m.window, w);
    EXPECT_EQ(m.wParam, 7u);

    ASSERT_TRUE(host_.killTimer(w, 7));
    EXPECT_FALSE(host_.killTimer(w, 7));
    drain();
    host_.sleep(20);
    for (const Message& left : drain())
        EXPECT_NE(left.message, WM_TIMER);
}

TEST_F(QtHostTest, KeysBecomeKeyAndCharacterMessages) {
    Window w = make(100, 100);
    host_.showWindow(w, SW_SHOW);
    received.clear();
    host_.setFocus(w);
    EXPECT_EQ(host_.focusWindow(), w);
    ASSERT_FALSE(of(WM_SETFOCUS).empty());
    QWidget* client = host_.clientWidget(w);
    drain();

    auto press = [&](int key, Qt::KeyboardModifiers mods, const QString& text,
                     bool repeat = false) {
        QKeyEvent e(QEvent::KeyPress, key, mods, 0, 0, 0, text, repeat);
        QCoreApplication::sendEvent(client, &e);
    };
    auto release = [&](int key, Qt::KeyboardModifiers mods, bool repeat = false) {
        QKeyEvent e(QEvent::KeyRelease, key, mods, 0, 0, 0, QString(), repeat);
        QCoreApplication::sendEvent(client, &e);
    };

    {  // A letter: key-down, then the character from translation.
        press(Qt::Key_A, Qt::NoModifier, QStringLiteral("a"));
        Message m;
        ASSERT_TRUE(host_.getMessage(m));
        EXPECT_EQ(m.window, w);
        EXPECT_EQ(m.message, WM_KEYDOWN);
        EXPECT_EQ(m.wParam, WParam('A'));
        EXPECT_EQ(m.lParam & 0xFFFF, 1);
        EXPECT_EQ(m.lParam & (kKeyPreviouslyDown | kKeyReleased), 0);
        EXPECT_TRUE(host_.isKeyDown('A'));
        EXPECT_TRUE(host_.translateMessage(m));
        ASSERT_TRUE(host_.getMessage(m));
        EXPECT_EQ(m.message, WM_CHAR);
        EXPECT_EQ(m.wParam, WParam('a'));
        release(Qt::Key_A, Qt::NoModifier, true);  // auto-repeat: no key-up
        release(Qt::Key_A, Qt::NoModifier);
        std::vector<Message> up = drain();
        ASSERT_EQ(up.size(), 1u);
        EXPECT_EQ(up[0].message, WM_KEYUP);
        EXPECT_EQ(up[0].lParam & (kKeyPreviouslyDown | kKeyReleased),
                  kKeyPreviouslyDown | kKeyReleased);
        EXPECT_FALSE(host_.isKeyDown('A'));
    }
    {  // Shift with a cursor key: the extended bit, and Shift down meanwhile.
        press(Qt::Key_Left, Qt::ShiftModifier, QString());
        Message m;
        ASSERT_TRUE(host_.getMessage(m));
        EXPECT_EQ(m.wParam, WParam(VK_LEFT));
        EXPECT_NE(m.lParam & kKeyExtended, 0);
        EXPECT_TRUE(host_.isKeyDown(VK_SHIFT));
        EXPECT_FALSE(host_.translateMessage(m));
        release(Qt::Key_Left, Qt::NoModifier);
        drain();
        EXPECT_FALSE(host_.isKeyDown(VK_SHIFT));
    }
    {  // Ctrl+S makes the control character; Alt+F a system key and character.
        press(Qt::Key_S, Qt::ControlModifier, QString());
        Message m;
        ASSERT_TRUE(host_.getMessage(m));
        EXPECT_EQ(m.message, WM_KEYDOWN);
        EXPECT_TRUE(host_.isKeyDown(VK_CONTROL));
        ASSERT_TRUE(host_.translateMessage(m));
        ASSERT_TRUE(host_.getMessage(m));
        EXPECT_EQ(m.wParam, WParam(0x13));
        press(Qt::Key_F, Qt::AltModifier, QStringLiteral("f"));
        ASSERT_TRUE(host_.getMessage(m));
        EXPECT_EQ(m.message, WM_SYSKEYDOWN);
        ASSERT_TRUE(host_.translateMessage(m));
        ASSERT_TRUE(host_.getMessage(m));
        EXPECT_EQ(m.message, WM_SYSCHAR);
        EXPECT_EQ(m.wParam, WParam('f'));
        release(Qt::Key_F, Qt::AltModifier);
        release(Qt::Key_Alt, Qt::NoModifier);
        std::vector<Message> ups = drain();
        ASSERT_EQ(ups.size(), 2u);
        EXPECT_EQ(ups[0].message, WM_SYSKEYUP);
        EXPECT_EQ(ups[1].message, WM_SYSKEYUP) << "Alt's own release";
        EXPECT_EQ(ups[1].wParam, WParam(VK_MENU));
        press(Qt::Key_F10, Qt::NoModifier, QString());
        ASSERT_TRUE(host_.getMessage(m));
        EXPECT_EQ(m.message, WM_SYSKEYDOWN);
        EXPECT_EQ(m.wParam, WParam(VK_F10));
    }
    {  // Keypad keys have their own codes; a held key repeats as a key-down.
        press(Qt::Key_Plus, Qt::KeypadModifier, QStringLiteral("+"));
        press(Qt::Key_Plus, Qt::KeypadModifier, QStringLiteral("+"), true);
        std::vector<Message> keys = drain(WM_KEYDOWN, WM_KEYDOWN);
        ASSERT_EQ(keys.size(), 2u);
        EXPECT_EQ(keys[0].wParam, WParam(VK_ADD));
        EXPECT_EQ(keys[1].lParam & kKeyPreviouslyDown, kKeyPreviouslyDown);
    }
}

// Answers a caption to the hit test while Shift is held for the press, and
// pulls a dragged right edge in by 3 pixels.
LResult captionWithShiftProc(Window w, std::uint32_t m, WParam wp, LParam lp) {
    if (m == WM_NCHITTEST) {
        if (!testHost().isKeyDown(VK_SHIFT)) return HTCLIENT;
        Point at = testHost().screenToClient(w, {pointX(lp), pointY(lp)});
        return at.x >= testHost().clientRect(w).right - 3 ? HTRIGHT : HTCAPTION;
    }
    if (m == WM_SIZING) reinterpret_cast<Rect*>(lp)->right -= 3;
    return recordingProc(w, m, wp, lp);
}

TEST_F(QtHostTest, PressesOnACaptionOrBorderMoveOrSizeTheWindow) {
    Window top = make(300, 200);
    CreateRequest request;
    request.style = WS_CHILD | WS_VISIBLE;
    request.parent = top;
    request.x = 30;
    request.y = 40;
    request.width = 100;
    request.height = 50;
    request.proc = captionWithShiftProc;
    Window child = host_.createWindow(request);
    host_.showWindow(top, SW_SHOW);
    QWidget* widget = host_.clientWidget(child);
    drain();

    // Mouse events at screen points, given to the child's widget wherever
    // it is by then.
    auto send = [&](QEvent::Type type, QPoint global, Qt::MouseButton button,
                    Qt::MouseButtons buttons, Qt::KeyboardModifiers mods) {
        QPointF local = widget->mapFromGlobal(QPointF(global));
        QMouseEvent e(type, local, QPointF(global), button, buttons, mods);
        QCoreApplication::sendEvent(widget, &e);
    };
    const QPoint start = widget->mapToGlobal(QPoint(10, 10));

    // Without Shift the press is the window's own.
    send(QEvent::MouseButtonPress, start, Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    send(QEvent::MouseButtonRelease, start, Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
    std::vector<Message> got = drain(WM_MOUSEMOVE, WM_MBUTTONUP);
    ASSERT_EQ(got.size(), 2u);
    EXPECT_EQ(got[0].message, WM_LBUTTONDOWN);
    EXPECT_EQ(host_.windowRect(child), (Rect{30, 40, 130, 90}));

    // With Shift the caption follows the mouse; no mouse message arrives.
    send(QEvent::MouseButtonPress, start, Qt::LeftButton, Qt::LeftButton, Qt::ShiftModifier);
    send(QEvent::MouseMove, start + QPoint(15, 7), Qt::NoButton, Qt::LeftButton, Qt::ShiftModifier);
    send(QEvent::MouseButtonRelease, start + QPoint(15, 7), Qt::LeftButton, Qt::NoButton,
         Qt::ShiftModifier);
    EXPECT_TRUE(drain(WM_MOUSEMOVE, WM_MBUTTONUP).empty());
    EXPECT_EQ(host_.windowRect(child), (Rect{45, 47, 145, 97}));
    EXPECT_EQ(host_.captureWindow(), kNoWindow);

    // The right border sizes it, as the window adjusts it in WM_SIZING.
    const QPoint edge = widget->mapToGlobal(QPoint(99, 20));
    send(QEvent::MouseButtonPress, edge, Qt::LeftButton, Qt::LeftButton, Qt::ShiftModifier);
    send(QEvent::MouseMove, edge + QPoint(20, 9), Qt::NoButton, Qt::LeftButton, Qt::ShiftModifier);
    send(QEvent::MouseButtonRelease, edge + QPoint(20, 9), Qt::LeftButton, Qt::NoButton,
         Qt::ShiftModifier);
    drain();
    EXPECT_EQ(host_.windowRect(child), (Rect{45, 47, 145 + 20 - 3, 97}));
    ASSERT_FALSE(of(WM_SIZING).empty());
    EXPECT_EQ(of(WM_SIZING)[0].wParam, WParam(WMSZ_RIGHT));
}

TEST_F(QtHostTest, MouseMessagesCarryClientPointsButtonsAndCapture) {
    Window top = make(300, 200);
    Window child = make(100, 50, WS_CHILD | WS_VISIBLE, top, 30, 40);
    host_.showWindow(top, SW_SHOW);
    QWidget* client = host_.clientWidget(top);
    drain();

    auto send = [&](QEvent::Type type, QPointF at, Qt::MouseButton button, Qt::MouseButtons buttons,
                    Qt::KeyboardModifiers mods = Qt::NoModifier) {
        QMouseEvent e(type, at, client->mapToGlobal(at), button, buttons, mods);
        QCoreApplication::sendEvent(client, &e);
    };

    send(QEvent::MouseButtonPress, {15, 25}, Qt::LeftButton, Qt::LeftButton, Qt::ShiftModifier);
    Message m;
    ASSERT_TRUE(host_.getMessage(m));
    EXPECT_EQ(m.window, top);
    EXPECT_EQ(m.message, WM_LBUTTONDOWN);
    EXPECT_EQ(m.wParam, MK_LBUTTON | MK_SHIFT);
    EXPECT_EQ(pointX(m.lParam), 15);
    EXPECT_EQ(pointY(m.lParam), 25);
    EXPECT_TRUE(host_.isKeyDown(VK_LBUTTON));
    EXPECT_TRUE(host_.isKeyDown(VK_SHIFT));
    QPoint global = client->mapToGlobal(QPoint(15, 25));
    EXPECT_EQ(m.point, (Point{global.x(), global.y()}));

    // With the capture held by the child, the parent's moves go to it, in
    // its client coordinates.
    host_.setCapture(child);
    EXPECT_EQ(host_.captureWindow(), child);
    send(QEvent::MouseMove, {50, 60}, Qt::NoButton, Qt::LeftButton);
    ASSERT_TRUE(host_.getMessage(m));
    EXPECT_EQ(m.window, child);
    EXPECT_EQ(m.message, WM_MOUSEMOVE);
    EXPECT_EQ(pointX(m.lParam), 20);
    EXPECT_EQ(pointY(m.lParam), 20);
    received.clear();
    host_.releaseCapture();
    ASSERT_EQ(of(WM_CAPTURECHANGED).size(), 1u);
    EXPECT_EQ(of(WM_CAPTURECHANGED)[0].window, child);

    send(QEvent::MouseButtonRelease, {15, 25}, Qt::LeftButton, Qt::NoButton);
    ASSERT_TRUE(host_.getMessage(m));
    EXPECT_EQ(m.message, WM_LBUTTONUP);
    EXPECT_EQ(m.wParam, 0u);
    EXPECT_FALSE(host_.isKeyDown(VK_LBUTTON));

    // The right button's release, left to the default, asks for the context
    // menu at the screen point.
    send(QEvent::MouseButtonRelease, {15, 25}, Qt::RightButton, Qt::NoButton);
    ASSERT_TRUE(host_.getMessage(m));
    EXPECT_EQ(m.message, WM_RBUTTONUP);
    received.clear();
    host_.dispatchMessage(m);
    ASSERT_EQ(of(WM_CONTEXTMENU).size(), 1u);
    EXPECT_EQ(pointX(of(WM_CONTEXTMENU)[0].lParam), global.x());
    EXPECT_EQ(pointY(of(WM_CONTEXTMENU)[0].lParam), global.y());
    EXPECT_EQ(of(WM_SETCURSOR).size(), 1u) << "the cursor is asked for before each mouse message";

    // The wheel goes to the focus window with the screen point.
    host_.setFocus(top);
    drain();
    QWheelEvent wheel(QPointF(5, 5), client->mapToGlobal(QPointF(5, 5)), QPoint(), QPoint(0, -120),
                      Qt::NoButton, Qt::ControlModifier, Qt::NoScrollPhase, false);
    QCoreApplication::sendEvent(client, &wheel);
    ASSERT_TRUE(host_.getMessage(m));
    EXPECT_EQ(m.message, WM_MOUSEWHEEL);
    EXPECT_EQ(m.window, top);
    EXPECT_EQ(wheelDelta(m.wParam), -120);
    EXPECT_EQ(lowWord(m.wParam), MK_CONTROL);
    EXPECT_EQ(pointX(m.lParam), client->mapToGlobal(QPoint(5, 5)).x());
}

TEST_F(QtHostTest, DisablingAWindowLeavesItsOwnedWindowsTheInput) {
    Window owner = make(300, 200);
    Window control = make(100, 50, WS_CHILD | WS_VISIBLE, owner, 30, 40);
    Window box = make(150, 100, WS_POPUP | WS_CAPTION | WS_SYSMENU, owner, 60, 60);
    Window button = make(60, 20, WS_CHILD | WS_VISIBLE, box, 10, 10);
    host_.showWindow(owner, SW_SHOW);
    host_.showWindow(box, SW_SHOW);
    ASSERT_EQ(host_.owner(box), owner);
    drain();

    // Keys as the display delivers them: to the native window, which hands
    // them to the widget that has Qt's focus.
    auto key = [&](Window window) {
        QWindow* native = host_.outerWidget(window)->window()->windowHandle();
        ASSERT_NE(native, nullptr);
        QKeyEvent e(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier, QStringLiteral("\r"));
        QCoreApplication::sendEvent(native, &e);
    };
    auto click = [&](Window window) {
        QWidget* client = host_.clientWidget(window);
        QMouseEvent e(QEvent::MouseButtonPress, QPointF(5, 5), client->mapToGlobal(QPointF(5, 5)),
                      Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(client, &e);
    };
    auto inputTo = [&] {
        std::vector<Window> to;
        for (const Message& m : drain())
            if (m.message == WM_KEYDOWN || m.message == WM_LBUTTONDOWN) to.push_back(m.window);
        return to;
    };

    received.clear();
    EXPECT_FALSE(host_.enableWindow(owner, false));
    ASSERT_EQ(of(WM_ENABLE).size(), 1u);
    EXPECT_EQ(of(WM_ENABLE)[0].window, owner);
    EXPECT_FALSE(host_.isEnabled(owner));
    EXPECT_TRUE(host_.windowStyle(owner) & WS_DISABLED);
    // The owner's child keeps its own state (and is drawn so); the box and
    // its button are not touched.
    EXPECT_TRUE(host_.isEnabled(control));
    EXPECT_TRUE(host_.isEnabled(box));
    EXPECT_TRUE(host_.isEnabled(button));
    EXPECT_FALSE(host_.windowStyle(button) & WS_DISABLED);

    {  // The box's button takes keys and clicks.
        host_.setFocus(button);
        EXPECT_EQ(host_.focusWindow(), button);
        key(box);
        click(button);
        EXPECT_EQ(inputTo(), (std::vector<Window>{button, button}));
    }
    {  // The disabled owner and its child get neither.
        host_.setFocus(owner);
        key(owner);
        click(owner);
        click(control);
        EXPECT_TRUE(inputTo().empty());
        // Activating it and clicking on it leave the keyboard with the box.
        host_.setFocus(button);
        QApplication::setActiveWindow(host_.outerWidget(owner));
        QWindow* native = host_.outerWidget(owner)->windowHandle();
        QPointF at = host_.clientWidget(owner)->mapTo(host_.outerWidget(owner), QPointF(5, 5));
        QMouseEvent press(QEvent::MouseButtonPress, at, native->mapToGlobal(at), Qt::LeftButton,
                          Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(native, &press);
        EXPECT_EQ(host_.focusWindow(), button);
        key(owner);
        EXPECT_EQ(inputTo(), (std::vector<Window>{button}));
        // Its close box does nothing either.
        received.clear();
        host_.outerWidget(owner)->close();
        EXPECT_TRUE(of(WM_CLOSE).empty());
        EXPECT_TRUE(host_.isWindow(owner));
    }
    {  // Enabled again, the owner takes input as before.
        received.clear();
        EXPECT_TRUE(host_.enableWindow(owner, true));
        ASSERT_EQ(of(WM_ENABLE).size(), 1u);
        EXPECT_EQ(of(WM_ENABLE)[0].wParam, 1u);
        host_.setFocus(owner);
        key(owner);
        click(control);
        EXPECT_EQ(inputTo(), (std::vector<Window>{owner, control}));
    }
}

TEST_F(QtHostTest, DroppedFilesArriveOnlyWhereAccepted) {
    Window w = make(100, 100);
    host_.showWindow(w, SW_SHOW);
    QWidget* client = host_.clientWidget(w);
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(QStringLiteral("/tmp/a b.wnk")),
                  QUrl(QStringLiteral("https://example.org/page")),
                  QUrl::fromLocalFile(QStringLiteral("/tmp/c.wnk"))});
    // Handed to the host as the widget would: Qt's own routing of drops
    // belongs to the drag in progress, which a test does not have.
    auto drop = [&] {
        QDropEvent e(QPointF(10, 10), Qt::CopyAction, &data, Qt::NoButton, Qt::NoModifier);
        host_.clientEvent(w, &e);
    };
    drain();
    drop();
    EXPECT_TRUE(drain().empty());

    host_.acceptFiles(w, true);
    EXPECT_TRUE(client->acceptDrops());
    drop();
    Message m;
    ASSERT_TRUE(host_.peekMessage(m, kNoWindow, 0, 0, true));
    EXPECT_EQ(m.message, WM_DROPFILES);
    EXPECT_EQ(host_.droppedFiles(m.wParam),
              (std::vector<std::string>{"/tmp/a b.wnk", "/tmp/c.wnk"}))
        << "local files only, in the order dropped";
    host_.finishDrop(m.wParam);
    EXPECT_TRUE(host_.droppedFiles(m.wParam).empty());
}

TEST_F(QtHostTest, DrawingOutsidePaintShowsOverTheWindow) {
    Window w = make(100, 80);
    Brush blue = host_.createSolidBrush(rgb(0, 0, 255));
    Brush red = host_.createSolidBrush(rgb(255, 0, 0));
    painter = [&](DeviceContext& dc) {
        dc.selectBrush(blue);
        dc.fillRect({0, 0, 100, 80});
    };
    host_.showWindow(w, SW_SHOW);
    Message m;
    host_.peekMessage(m, kNoWindow, 0, 0, false);
    {
        std::unique_ptr<DeviceContext> dc = host_.getDC(w);
        ASSERT_NE(dc, nullptr);
        dc->selectBrush(red);
        dc->fillRect({10, 10, 30, 30});
    }
    EXPECT_TRUE(host_.clientRect(w) == (Rect{0, 0, 100, 80}));
    QImage shown = host_.clientWidget(w)->grab().toImage();
    EXPECT_EQ(shown.pixelColor(15, 15), QColor(255, 0, 0)) << "what getDC drew";
    EXPECT_EQ(shown.pixelColor(50, 50), QColor(0, 0, 255)) << "what the paint drew";
    host_.deleteBrush(blue);
    host_.deleteBrush(red);
}

TEST_F(QtHostTest, CloseBoxAsksTheProgram) {
    Window w = make(100, 100);
    host_.showWindow(w, SW_SHOW);
    received.clear();
    host_.outerWidget(w)->close();
    ASSERT_EQ(of(WM_CLOSE).size(), 1u);
    // The default destroys the window; its widget goes once Qt is back.
    EXPECT_FALSE(host_.isWindow(w));
    Message m;
    host_.peekMessage(m, kNoWindow, 0, 0, false);
}

}  // namespace
