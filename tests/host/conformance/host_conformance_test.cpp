// One suite, every host: what the framework relies on of windows, focus,
// capture, enabling, menus, the queue, timers, keys and the pen must hold
// alike on the headless host the tests drive and on the Qt host the program
// runs on, so that a test that passes headless says something about the
// real program.
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "host/menu.h"
#include "host/window_style.h"
#include "tests/host/conformance/headless_driver.h"
#ifdef PENWICK_CONFORMANCE_QT
#include "tests/host/conformance/qt_driver.h"
#endif

namespace {

using namespace host;

struct Heard {
    Window window;
    std::uint32_t message;
    WParam wParam;
    LParam lParam;
    bool shiftDown;  // isKeyDown(VK_SHIFT) while it was handled
    friend bool operator==(const Heard&, const Heard&) = default;
};
std::vector<Heard> heard;

// The messages the suite watches (the hosts may send others, such as
// WM_SETCURSOR or WM_ACTIVATE, which are not the point here).
bool watched(std::uint32_t m) {
    switch (m) {
        case WM_NCCREATE:
        case WM_CREATE:
        case WM_DESTROY:
        case WM_NCDESTROY:
        case WM_SIZE:
        case WM_MOVE:
        case WM_SETFOCUS:
        case WM_KILLFOCUS:
        case WM_CAPTURECHANGED:
        case WM_ENABLE:
        case WM_KEYDOWN:
        case WM_KEYUP:
        case WM_CHAR:
        case WM_MOUSEMOVE:
        case WM_LBUTTONDOWN:
        case WM_LBUTTONUP:
        case WM_TIMER:
        case WT_PACKET:
            return true;
        default:
            return m >= WM_USER && m < WM_USER + 100;
    }
}

LResult listeningProc(Window w, std::uint32_t m, WParam wp, LParam lp) {
    if (watched(m)) heard.push_back({w, m, wp, lp, host::instance().isKeyDown(VK_SHIFT)});
    if (m == WM_CREATE && host::instance().windowText(w) == "refuses") return -1;
    return host::instance().defaultProc(w, m, wp, lp);
}

template <class Driver>
class HostConformance : public ::testing::Test {
  protected:
    HostConformance() {
        heard.clear();
        drain();
    }
    ~HostConformance() override {
        for (Window w : topLevel_)
            host().destroyWindow(w);
        drain();
        heard.clear();
    }

    HostCore& host() { return driver_.host(); }

    Window make(std::string title, std::uint32_t style = WS_OVERLAPPEDWINDOW,
                Window parent = kNoWindow, Rect at = {40, 40, 340, 240}) {
        CreateRequest request;
        request.title = std::move(title);
        request.style = style;
        request.parent = parent;
        request.x = at.left;
        request.y = at.top;
        request.width = at.width();
        request.height = at.height();
        request.proc = listeningProc;
        Window w = host().createWindow(request);
        if (w != kNoWindow && !(style & WS_CHILD)) topLevel_.push_back(w);
        return w;
    }
    Window shown(std::string title) {
        Window w = make(std::move(title));
        host().showWindow(w, SW_SHOW);
        driver_.settle();
        return w;
    }

    // Runs every queued message (timers included) as the framework's loop
    // would, translating keys; answers how many there were.
    int run() {
        driver_.settle();
        int count = 0;
        Message m;
        while (host().peekMessage(m, kNoWindow, 0, 0, true)) {
            host().translateMessage(m);
            host().dispatchMessage(m);
            ++count;
        }
        return count;
    }
    void drain() {
        driver_.settle();
        Message m;
        while (host().peekMessage(m, kNoWindow, 0, 0, true)) {
        }
    }

    std::vector<Heard> of(std::uint32_t message) const {
        std::vector<Heard> out;
        for (const Heard& h : heard)
            if (h.message == message) out.push_back(h);
        return out;
    }
    std::vector<std::pair<Window, std::uint32_t>> sequence(
        std::initializer_list<std::uint32_t> messages) const {
        std::vector<std::pair<Window, std::uint32_t>> out;
        for (const Heard& h : heard)
            if (std::find(messages.begin(), messages.end(), h.message) != messages.end())
                out.push_back({h.window, h.message});
        return out;
    }

    Driver driver_;
    std::vector<Window> topLevel_;
};

using Drivers = ::testing::Types<conformance::HeadlessDriver
#ifdef PENWICK_CONFORMANCE_QT
                                 ,
                                 conformance::QtDriver
#endif
                                 >;
struct DriverNames {
    template <class T>
    static std::string GetName(int) {
        return T::kName;
    }
};
TYPED_TEST_SUITE(HostConformance, Drivers, DriverNames);

TYPED_TEST(HostConformance, WindowsComeInOrderAndGoOwnedFirstThenChildrenBeforeTheirParent) {
    HostCore& h = this->host();
    Window top = this->make("top");
    ASSERT_NE(top, kNoWindow);
    EXPECT_EQ(this->sequence({WM_NCCREATE, WM_CREATE, WM_SIZE, WM_MOVE}),
              (std::vector<std::pair<Window, std::uint32_t>>{
                  {top, WM_NCCREATE}, {top, WM_CREATE}, {top, WM_SIZE}, {top, WM_MOVE}}));
    Window first = this->make("first", WS_CHILD | WS_VISIBLE, top, {0, 0, 50, 50});
    Window second = this->make("second", WS_CHILD | WS_VISIBLE, top, {60, 0, 110, 50});
    Window owned = this->make("owned", WS_POPUP | WS_CAPTION, top);
    EXPECT_EQ(h.children(top), (std::vector<Window>{first, second}));
    EXPECT_EQ(h.owner(owned), top);
    EXPECT_EQ(h.parent(first), top);

    // A creation the window refuses leaves no window behind, though the
    // window heard its end.
    heard.clear();
    EXPECT_EQ(this->make("refuses"), kNoWindow);
    EXPECT_EQ(this->sequence({WM_DESTROY, WM_NCDESTROY}).size(), 2u);

    ASSERT_TRUE(h.postMessage(first, WM_USER + 1, 0, 0));
    heard.clear();
    EXPECT_TRUE(h.destroyWindow(top));
    EXPECT_EQ(this->sequence({WM_DESTROY, WM_NCDESTROY}),
              (std::vector<std::pair<Window, std::uint32_t>>{{owned, WM_DESTROY},
                                                             {owned, WM_NCDESTROY},
                                                             {top, WM_DESTROY},
                                                             {first, WM_DESTROY},
                                                             {first, WM_NCDESTROY},
                                                             {second, WM_DESTROY},
                                                             {second, WM_NCDESTROY},
                                                             {top, WM_NCDESTROY}}));
    for (Window w : {top, first, second, owned})
        EXPECT_FALSE(h.isWindow(w));
    EXPECT_FALSE(h.destroyWindow(top));
    EXPECT_FALSE(h.postMessage(first, WM_USER + 2, 0, 0));
    // What was queued for a window that went is gone with it.
    Message m;
    this->driver_.settle();
    EXPECT_FALSE(h.peekMessage(m, kNoWindow, WM_USER, WM_USER + 99, false));
    // Handles are never used again, so a stale one stays invalid.
    Window next = this->make("next");
    for (Window w : {top, first, second, owned})
        EXPECT_NE(next, w);
}

TYPED_TEST(HostConformance, FocusMovesWithKillAndSetAndLeavesAWindowBeforeItGoes) {
    HostCore& h = this->host();
    Window a = this->shown("a");
    Window b = this->shown("b");
    h.setFocus(a);
    heard.clear();
    EXPECT_EQ(h.setFocus(b), a);
    EXPECT_EQ(h.focusWindow(), b);
    EXPECT_EQ(this->sequence({WM_KILLFOCUS, WM_SETFOCUS}),
              (std::vector<std::pair<Window, std::uint32_t>>{{a, WM_KILLFOCUS}, {b, WM_SETFOCUS}}));
    EXPECT_EQ(this->of(WM_KILLFOCUS)[0].wParam, WParam(b));
    EXPECT_EQ(this->of(WM_SETFOCUS)[0].wParam, WParam(a));
    // Moving the focus to where it is says nothing.
    heard.clear();
    EXPECT_EQ(h.setFocus(b), b);
    EXPECT_TRUE(this->of(WM_SETFOCUS).empty());
    // A window that goes gives the focus up first.
    heard.clear();
    h.destroyWindow(b);
    EXPECT_EQ(this->sequence({WM_KILLFOCUS, WM_DESTROY}),
              (std::vector<std::pair<Window, std::uint32_t>>{{b, WM_KILLFOCUS}, {b, WM_DESTROY}}));
    EXPECT_EQ(h.focusWindow(), kNoWindow);
    this->run();
    EXPECT_EQ(h.focusWindow(), kNoWindow);
}

TYPED_TEST(HostConformance, CaptureTakesTheMouseFromOtherWindowsAndAnnouncesEveryChange) {
    HostCore& h = this->host();
    Window a = this->shown("a");
    Window b = this->shown("b");
    EXPECT_EQ(h.setCapture(a), kNoWindow);
    EXPECT_EQ(h.captureWindow(), a);
    heard.clear();
    // The mouse over b reaches a, at the same screen point in a's client
    // coordinates.
    this->driver_.mouse(b, WM_MOUSEMOVE, {30, 40});
    this->run();
    const std::vector<Heard> moves = this->of(WM_MOUSEMOVE);
    ASSERT_EQ(moves.size(), 1u);
    EXPECT_EQ(moves[0].window, a);
    const Point screen = h.clientToScreen(b, {30, 40});
    EXPECT_EQ(h.clientToScreen(a, {pointX(moves[0].lParam), pointY(moves[0].lParam)}), screen);

    heard.clear();
    EXPECT_EQ(h.setCapture(b), a);
    ASSERT_EQ(this->of(WM_CAPTURECHANGED).size(), 1u);
    EXPECT_EQ(this->of(WM_CAPTURECHANGED)[0].window, a);
    EXPECT_EQ(this->of(WM_CAPTURECHANGED)[0].lParam, LParam(b));
    heard.clear();
    h.releaseCapture();
    EXPECT_EQ(h.captureWindow(), kNoWindow);
    ASSERT_EQ(this->of(WM_CAPTURECHANGED).size(), 1u);
    EXPECT_EQ(this->of(WM_CAPTURECHANGED)[0].window, b);
    EXPECT_EQ(this->of(WM_CAPTURECHANGED)[0].lParam, 0);
    // The holder going releases it.
    h.setCapture(a);
    h.destroyWindow(a);
    EXPECT_EQ(h.captureWindow(), kNoWindow);
}

TYPED_TEST(HostConformance, ADisabledWindowSaysSoOnceAndItsChildrenTakeNoInputButOwnedOnesDo) {
    HostCore& h = this->host();
    Window top = this->shown("top");
    Window child = this->make("child", WS_CHILD | WS_VISIBLE, top, {0, 0, 100, 100});
    Window owned = this->make("owned", WS_POPUP | WS_CAPTION | WS_VISIBLE, top);
    this->driver_.settle();
    heard.clear();
    EXPECT_FALSE(h.enableWindow(top, false));  // was not disabled
    EXPECT_TRUE(h.enableWindow(top, false));
    ASSERT_EQ(this->of(WM_ENABLE).size(), 1u);
    EXPECT_EQ(this->of(WM_ENABLE)[0].wParam, 0u);
    EXPECT_TRUE(h.windowStyle(top) & WS_DISABLED);
    EXPECT_FALSE(h.isEnabled(top));
    EXPECT_TRUE(h.isEnabled(child));  // its own state is its own

    heard.clear();
    this->driver_.mouse(child, WM_LBUTTONDOWN, {10, 10});
    this->driver_.mouse(child, WM_LBUTTONUP, {10, 10});
    this->driver_.mouse(owned, WM_MOUSEMOVE, {5, 5});
    this->run();
    EXPECT_TRUE(this->of(WM_LBUTTONDOWN).empty());
    ASSERT_EQ(this->of(WM_MOUSEMOVE).size(), 1u);
    EXPECT_EQ(this->of(WM_MOUSEMOVE)[0].window, owned);

    heard.clear();
    EXPECT_TRUE(h.enableWindow(top, true));
    ASSERT_EQ(this->of(WM_ENABLE).size(), 1u);
    EXPECT_EQ(this->of(WM_ENABLE)[0].wParam, 1u);
    this->driver_.mouse(child, WM_LBUTTONDOWN, {10, 10});
    this->driver_.mouse(child, WM_LBUTTONUP, {10, 10});
    this->run();
    EXPECT_EQ(this->of(WM_LBUTTONDOWN).size(), 1u);
}

TYPED_TEST(HostConformance, AMenuBarTakesClientSpaceUntilItsMenuIsDestroyed) {
    HostCore& h = this->host();
    Window w = this->shown("menu");
    const Rect before = h.clientRect(w);
    MenuTemplate root;
    root.children.push_back({"&File", 0, 0, {{"E&xit\tAlt+F4", 100, 0, {}}}});
    Menu bar = buildMenu(h, root, false);
    const Menu file = h.menuItem(bar, 0)->subMenu;
    ASSERT_EQ(h.menuItemCount(file), 1);

    heard.clear();
    ASSERT_TRUE(h.setWindowMenu(w, bar));
    this->driver_.settle();
    EXPECT_EQ(h.windowMenu(w), bar);
    const Rect with = h.clientRect(w);
    EXPECT_EQ(with.width(), before.width());
    EXPECT_LT(with.height(), before.height());
    ASSERT_FALSE(this->of(WM_SIZE).empty());
    EXPECT_EQ(pointY(this->of(WM_SIZE).back().lParam), with.height());

    // Items change in place; a child window has no bar.
    EXPECT_TRUE(h.setMenuItemEnabled(file, 0, false));
    EXPECT_TRUE(h.menuItem(file, 0)->flags & MF_GRAYED);
    EXPECT_FALSE(h.setWindowMenu(this->make("child", WS_CHILD, w, {0, 0, 10, 10}), bar));

    // Destroying the attached menu takes it off the window, whose client
    // area grows back, and its sub-menus go with it.
    heard.clear();
    h.destroyMenu(bar);
    this->driver_.settle();
    EXPECT_EQ(h.windowMenu(w), kNoMenu);
    EXPECT_EQ(h.clientRect(w), before);
    ASSERT_FALSE(this->of(WM_SIZE).empty());
    EXPECT_EQ(pointY(this->of(WM_SIZE).back().lParam), before.height());
    EXPECT_EQ(h.menuItemCount(bar), -1);
    EXPECT_EQ(h.menuItemCount(file), -1);
    EXPECT_FALSE(h.setWindowMenu(w, bar));
}

TYPED_TEST(HostConformance, PeeksFilterByWindowAndRangeAndTimersComeLast) {
    HostCore& h = this->host();
    Window a = this->make("a");
    Window b = this->make("b");
    // A period long enough that it cannot fall due twice while the queue is
    // read, on a real clock too.
    ASSERT_TRUE(h.setTimer(a, 7, 100));
    this->driver_.letTimePass(150);
    h.postMessage(a, WM_USER + 1, 1, 0);
    h.postMessage(b, WM_USER + 2, 2, 0);
    h.postMessage(a, WM_USER + 3, 3, 0);
    h.postMessage(kNoWindow, WM_USER + 4, 4, 0);

    Message m;
    ASSERT_TRUE(h.peekMessage(m, a, 0, 0, false));
    EXPECT_EQ(m.message, WM_USER + 1u);
    ASSERT_TRUE(h.peekMessage(m, kNoWindow, WM_USER + 2, WM_USER + 2, true));
    EXPECT_EQ(m.window, b);
    EXPECT_FALSE(h.peekMessage(m, b, WM_USER, WM_USER + 99, false));
    ASSERT_TRUE(h.peekMessage(m, kNoWindow, WM_TIMER, WM_TIMER, false));
    EXPECT_EQ(m.wParam, 7u);

    std::vector<std::uint32_t> order;
    while (h.peekMessage(m, kNoWindow, 0, 0, true)) {
        if (m.message >= WM_USER || m.message == WM_TIMER) order.push_back(m.message);
        if (m.message == WM_TIMER) break;
    }
    EXPECT_EQ(order, (std::vector<std::uint32_t>{WM_USER + 1, WM_USER + 3, WM_USER + 4, WM_TIMER}));
    h.killTimer(a, 7);
}

TYPED_TEST(HostConformance, ATimerIsPendingOnceHoweverManyPeriodsPassAndStopsWhenKilled) {
    HostCore& h = this->host();
    Window w = this->make("timed");
    // Five periods pass; one message waits. (The period is long enough that
    // reading the queue cannot take another one, on a real clock too.)
    ASSERT_TRUE(h.setTimer(w, 7, 100));
    this->driver_.letTimePass(520);
    Message m;
    ASSERT_TRUE(h.peekMessage(m, kNoWindow, WM_TIMER, WM_TIMER, true));
    EXPECT_EQ(m.wParam, 7u);
    EXPECT_EQ(m.window, w);
    EXPECT_FALSE(h.peekMessage(m, kNoWindow, WM_TIMER, WM_TIMER, true));

    EXPECT_TRUE(h.killTimer(w, 7));
    EXPECT_FALSE(h.killTimer(w, 7));
    this->driver_.letTimePass(40);
    heard.clear();
    this->run();
    EXPECT_TRUE(this->of(WM_TIMER).empty());

    // A window's timers end with it, and a gone window gets none.
    ASSERT_TRUE(h.setTimer(w, 8, 10));
    h.destroyWindow(w);
    EXPECT_FALSE(h.setTimer(w, 9, 10));
    this->driver_.letTimePass(30);
    EXPECT_FALSE(h.peekMessage(m, kNoWindow, WM_TIMER, WM_TIMER, false));
}

TYPED_TEST(HostConformance, KeysMakeTheirShiftedCharactersAndKeyStateIsThatOfTheTakenMessage) {
    HostCore& h = this->host();
    Window w = this->shown("keys");
    h.setFocus(w);
    this->driver_.settle();
    heard.clear();
    this->driver_.key(w, VK_SHIFT, true, true);
    this->driver_.key(w, '1', true, true);
    this->driver_.key(w, '1', false, true);
    this->driver_.key(w, VK_SHIFT, false, false);
    this->driver_.key(w, 'A', true, false);
    this->driver_.key(w, 'A', false, false);
    this->run();
    std::vector<int> characters;
    for (const Heard& c : this->of(WM_CHAR))
        characters.push_back(int(c.wParam));
    EXPECT_EQ(characters, (std::vector<int>{'!', 'a'}));
    // While each key message was handled, Shift was as that key left it,
    // not as the input queued behind it.
    const std::vector<Heard> downs = this->of(WM_KEYDOWN);
    ASSERT_EQ(downs.size(), 3u);
    EXPECT_TRUE(downs[1].shiftDown);   // '1'
    EXPECT_FALSE(downs[2].shiftDown);  // 'A'

    // A key message the program makes itself gets the same characters as a
    // keyboard's, Shift included.
    this->driver_.key(w, VK_SHIFT, true, true);
    this->run();
    heard.clear();
    h.postMessage(w, WM_KEYDOWN, VK_OEM_2, 1);
    h.postMessage(w, WM_KEYDOWN, '7', 1);
    this->run();
    characters.clear();
    for (const Heard& c : this->of(WM_CHAR))
        characters.push_back(int(c.wParam));
    EXPECT_EQ(characters, (std::vector<int>{'?', '&'}));
    this->driver_.key(w, VK_SHIFT, false, false);
    this->run();
}

TYPED_TEST(HostConformance, PenSamplesArriveAsPacketsOnlyWhileTheWindowsContextIsEnabled) {
    HostCore& h = this->host();
    Window w = this->shown("pen");
    const TabletContext context = h.openTablet(w);
    ASSERT_NE(context, kNoTablet);
    const Rect client = h.clientRect(w);
    heard.clear();
    this->driver_.pen(w, context, {client.width() / 4, client.height() / 4}, 0.5, true);
    this->run();
    const std::vector<Heard> packets = this->of(WT_PACKET);
    ASSERT_EQ(packets.size(), 1u);
    EXPECT_EQ(packets[0].window, w);
    EXPECT_EQ(packets[0].lParam, LParam(context));
    TabletPacket p;
    ASSERT_TRUE(h.tabletPacket(context, packets[0].wParam, p));
    EXPECT_EQ(p.buttons & 1u, 1u);
    EXPECT_EQ(p.normalPressure, 512u);
    // Left of the middle, and above it: the tablet's y axis points up.
    EXPECT_LT(p.x, kTabletExtent / 2);
    EXPECT_GT(p.y, kTabletExtent / 2);

    h.enableTablet(context, false);
    heard.clear();
    this->driver_.pen(w, context, {10, 10}, 0.7, true);
    this->run();
    EXPECT_TRUE(this->of(WT_PACKET).empty());

    // A window that goes takes no more packets; its old ones stay readable
    // until the context closes.
    h.enableTablet(context, true);
    h.destroyWindow(w);
    EXPECT_TRUE(h.tabletPacket(context, packets[0].wParam, p));
    h.closeTablet(context);
    EXPECT_FALSE(h.tabletPacket(context, packets[0].wParam, p));
    EXPECT_EQ(h.openTablet(w), kNoTablet);
}

}  // namespace
