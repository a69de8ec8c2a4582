#include "host/headless/headless_host.h"

#include <gtest/gtest.h>

#include <vector>

#include "host/keys.h"
#include "host/window_style.h"

namespace {

using namespace host;
using host::headless::HeadlessHost;

// Every message a test window receives, in order.
struct Received {
    std::uint32_t message;
    WParam wParam;
    LParam lParam;
};
std::vector<Received> received;
HeadlessHost* current = nullptr;

LResult recordingProc(Window w, std::uint32_t m, WParam wp, LParam lp) {
    received.push_back({m, wp, lp});
    return current->defaultProc(w, m, wp, lp);
}

std::vector<std::uint32_t> numbers() {
    std::vector<std::uint32_t> out;
    for (const Received& r : received)
        out.push_back(r.message);
    return out;
}

class HeadlessHostTest : public ::testing::Test {
  protected:
    HeadlessHostTest() {
        current = &host_;
        received.clear();
    }
    Window makeTopLevel(std::uint32_t style = WS_OVERLAPPEDWINDOW) {
        CreateRequest request;
        request.style = style;
        request.x = 100;
        request.y = 50;
        request.width = 408;
        request.height = 332;
        request.proc = recordingProc;
        return host_.createWindow(request);
    }
    HeadlessHost host_;
};

TEST_F(HeadlessHostTest, CreationSendsLifeMessagesInOrder) {
    Window w = makeTopLevel(WS_OVERLAPPEDWINDOW | WS_VISIBLE);
    ASSERT_NE(w, kNoWindow);
    std::vector<std::uint32_t> expected = {WM_NCCREATE, WM_CREATE,     WM_SIZE,
                                           WM_MOVE,     WM_SHOWWINDOW, WM_ACTIVATE};
    EXPECT_EQ(numbers(), expected);
    // 408 x 332 less a 4-pixel sizing border and a 24-pixel caption.
    EXPECT_EQ(host_.clientRect(w), (Rect{0, 0, 400, 300}));
    EXPECT_EQ(received[2].lParam, makeLParam(400, 300));
    EXPECT_EQ(host_.clientToScreen(w, {0, 0}), (Point{104, 78}));

    received.clear();
    host_.clickClose(w);  // defaultProc destroys on WM_CLOSE
    EXPECT_FALSE(host_.isWindow(w));
    std::vector<std::uint32_t> closing = {WM_CLOSE, WM_DESTROY, WM_NCDESTROY};
    EXPECT_EQ(numbers(), closing);
}

TEST_F(HeadlessHostTest, MoveReportsTheClientAreasOrigin) {
    auto lastMove = [] {
        for (auto it = received.rbegin(); it != received.rend(); ++it)
            if (it->message == WM_MOVE) return Point{pointX(it->lParam), pointY(it->lParam)};
        return Point{-1, -1};
    };
    {  // A top-level window: the screen point of its client's corner.
        Window w = makeTopLevel();
        EXPECT_EQ(lastMove(), (Point{104, 78}));
        EXPECT_EQ(lastMove(), host_.clientToScreen(w, {0, 0}));
        received.clear();
        host_.moveWindow(w, {20, 30, 428, 362}, false);
        EXPECT_EQ(lastMove(), (Point{24, 58}));
        received.clear();
        host_.moveWindow(w, {20, 30, 500, 400}, false);  // sized only
        EXPECT_EQ(lastMove(), (Point{-1, -1}));
    }
    {  // A bordered child: its parent's client coordinates, inside the border.
        Window top = makeTopLevel();
        CreateRequest request;
        request.style = WS_CHILD | WS_BORDER;
        request.parent = top;
        request.x = 10;
        request.y = 20;
        request.width = 50;
        request.height = 40;
        request.proc = recordingProc;
        received.clear();
        Window child = host_.createWindow(request);
        ASSERT_NE(child, kNoWindow);
        EXPECT_EQ(lastMove(), (Point{11, 21}));
        host_.moveWindow(child, {5, 6, 55, 46}, false);
        EXPECT_EQ(lastMove(), (Point{6, 7}));
    }
}

TEST_F(HeadlessHostTest, TimersFireFromTheVirtualClockOncePerTurn) {
    Window w = makeTopLevel();
    ASSERT_TRUE(host_.setTimer(w, 291, 25));
    Message m;
    EXPECT_FALSE(host_.peekMessage(m, kNoWindow, 0, 0, true));
    host_.advance(24);
    EXPECT_FALSE(host_.peekMessage(m, kNoWindow, 0, 0, true));
    host_.advance(100);  // four periods missed: still one message
    ASSERT_TRUE(host_.peekMessage(m, kNoWindow, 0, 0, true));
    EXPECT_EQ(m.message, WM_TIMER);
    EXPECT_EQ(m.wParam, 291u);
    EXPECT_FALSE(host_.peekMessage(m, kNoWindow, 0, 0, true));
    // Posted messages come before a pending timer.
    host_.advance(25);
    host_.postMessage(w, WM_USER, 1, 2);
    ASSERT_TRUE(host_.getMessage(m));
    EXPECT_EQ(m.message, WM_USER);
    ASSERT_TRUE(host_.getMessage(m));
    EXPECT_EQ(m.message, WM_TIMER);
    // Nothing left and nothing scripted: the loop is told to quit.
    EXPECT_FALSE(host_.getMessage(m));
    EXPECT_EQ(int(m.wParam), host::headless::kStarvedExitCode);
}

}  // namespace

namespace {

using namespace host;
using host::headless::HeadlessHost;
using host::headless::MouseButton;

class HeadlessInputTest : public ::testing::Test {
  protected:
    HeadlessInputTest() {
        current = &host_;
        received.clear();
        CreateRequest top;
        top.style = WS_POPUP | WS_VISIBLE;
        top.x = 200;
        top.y = 100;
        top.width = 300;
        top.height = 200;
        top.proc = recordingProc;
        frame_ = host_.createWindow(top);
        CreateRequest child;
        child.style = WS_CHILD | WS_VISIBLE;
        child.parent = frame_;
        child.x = 10;
        child.y = 20;
        child.width = 100;
        child.height = 50;
        child.proc = recordingProc;
        child_ = host_.createWindow(child);
        received.clear();
    }
    // Takes every queued message, dispatching it, and answers them.
    std::vector<Message> drain() {
        std::vector<Message> out;
        Message m;
        while (host_.peekMessage(m, kNoWindow, 0, 0, true)) {
            out.push_back(m);
            host_.translateMessage(m);
            host_.dispatchMessage(m);
        }
        return out;
    }
    HeadlessHost host_;
    Window frame_{};
    Window child_{};
};

TEST_F(HeadlessInputTest, MouseMessagesCarryClientPointsButtonsAndModifiers) {
    host_.mousePress(child_, MouseButton::left, {5, 6}, {.shift = true});
    host_.mouseMove(child_, {-3, 7});
    host_.mouseRelease(child_, MouseButton::left, {8, 9});
    std::vector<Message> got = drain();
    ASSERT_EQ(got.size(), 3u);
    EXPECT_EQ(got[0].window, child_);
    EXPECT_EQ(got[0].message, WM_LBUTTONDOWN);
    EXPECT_EQ(got[0].wParam, MK_LBUTTON | MK_SHIFT);
    EXPECT_EQ(pointX(got[0].lParam), 5);
    EXPECT_EQ(pointY(got[0].lParam), 6);
    EXPECT_EQ(got[0].point, (Point{215, 126}));  // screen position of the child's (5, 6)
    EXPECT_EQ(got[1].wParam, MK_LBUTTON);
    EXPECT_EQ(pointX(got[1].lParam), -3);  // negative coordinates survive the packing
    EXPECT_EQ(got[2].message, WM_LBUTTONUP);
    EXPECT_EQ(got[2].wParam, 0u);
    // A press is hit-tested first (at the press's screen point), then the
    // cursor is asked for before each mouse message.
    ASSERT_GE(received.size(), 2u);
    EXPECT_EQ(received[0].message, WM_NCHITTEST);
    EXPECT_EQ(pointX(received[0].lParam), 215);
    EXPECT_EQ(received[1].message, WM_SETCURSOR);
}

TEST_F(HeadlessInputTest, CaptureRedirectsTheMouseInItsOwnCoordinates) {
    host_.setCapture(child_);
    host_.mouseMove(frame_, {0, 0});
    std::vector<Message> got = drain();
    ASSERT_EQ(got.size(), 1u);
    EXPECT_EQ(got[0].window, child_);
    EXPECT_EQ(pointX(got[0].lParam), -10);
    EXPECT_EQ(pointY(got[0].lParam), -20);
    received.clear();
    host_.releaseCapture();
    ASSERT_EQ(received.size(), 1u);
    EXPECT_EQ(received[0].message, WM_CAPTURECHANGED);
    EXPECT_EQ(host_.captureWindow(), kNoWindow);
}

TEST_F(HeadlessInputTest, KeyStateFollowsTheMessageBeingHandled) {
    host_.setFocus(child_);
    host_.keyDown(VK_SHIFT, {.shift = true});
    host_.keyDown('A', {.shift = true});
    host_.keyDown('A', {.shift = true});
    host_.keyUp('A', {.shift = true});
    host_.keyUp(VK_SHIFT);
    EXPECT_FALSE(host_.isKeyDown(VK_SHIFT));  // nothing taken from the queue yet
    Message m;
    ASSERT_TRUE(host_.getMessage(m));
    EXPECT_TRUE(host_.isKeyDown(VK_SHIFT));
    ASSERT_TRUE(host_.getMessage(m));
    EXPECT_EQ(m.message, WM_KEYDOWN);
    EXPECT_EQ(m.wParam, WParam('A'));
    EXPECT_EQ(m.lParam & kKeyPreviouslyDown, 0);
    EXPECT_TRUE(host_.translateMessage(m));
    ASSERT_TRUE(host_.getMessage(m));
    EXPECT_EQ(m.message, WM_CHAR);
    EXPECT_EQ(m.wParam, WParam('A'));  // Shift held
    ASSERT_TRUE(host_.getMessage(m));
    EXPECT_EQ(m.message, WM_KEYDOWN);
    EXPECT_NE(m.lParam & kKeyPreviouslyDown, 0);  // the repeat
    ASSERT_TRUE(host_.getMessage(m));
    EXPECT_EQ(m.message, WM_KEYUP);
    ASSERT_TRUE(host_.getMessage(m));
    EXPECT_FALSE(host_.isKeyDown(VK_SHIFT));
    // Keys held with Alt are system keys.
    host_.keyDown('F', {.alt = true});
    ASSERT_TRUE(host_.getMessage(m));
    EXPECT_EQ(m.message, WM_SYSKEYDOWN);
}

TEST_F(HeadlessInputTest, WheelTabletAndDropsArriveQueued) {
    host_.setFocus(child_);
    host_.wheel(-120, {250, 150}, {.control = true});
    TabletContext tablet = host_.openTablet(child_);
    ASSERT_NE(tablet, kNoTablet);
    WParam first = host_.tabletSample(tablet, 1, 32768, 100, 512);
    WParam second = host_.tabletSample(tablet, 0, 40000, 200, 0);
    EXPECT_FALSE(host_.dropFiles(frame_, {"/a.wnk"}));  // not accepting yet
    host_.acceptFiles(frame_, true);
    EXPECT_TRUE(host_.dropFiles(frame_, {"/a.wnk", "/b.wnk"}));

    Message m;
    ASSERT_TRUE(host_.getMessage(m));
    EXPECT_EQ(m.message, WM_MOUSEWHEEL);
    EXPECT_EQ(wheelDelta(m.wParam), -120);
    EXPECT_EQ(lowWord(m.wParam), MK_CONTROL);
    EXPECT_EQ(pointX(m.lParam), 250);
    // Coalescing: the newest packet of this window is found past the first.
    ASSERT_TRUE(host_.getMessage(m));
    EXPECT_EQ(m.message, WT_PACKET);
    EXPECT_EQ(m.wParam, first);
    Message newest;
    ASSERT_TRUE(host_.peekMessage(newest, child_, WT_PACKET, WT_PACKET, true));
    EXPECT_EQ(newest.wParam, second);
    EXPECT_EQ(TabletContext(newest.lParam), tablet);
    TabletPacket packet;
    ASSERT_TRUE(host_.tabletPacket(tablet, second, packet));
    EXPECT_EQ(packet.x, 40000u);
    EXPECT_EQ(packet.buttons, 0u);
    EXPECT_FALSE(host_.tabletPacket(tablet, 999, packet));

    ASSERT_TRUE(host_.getMessage(m));
    EXPECT_EQ(m.message, WM_DROPFILES);
    EXPECT_EQ(host_.droppedFiles(m.wParam), (std::vector<std::string>{"/a.wnk", "/b.wnk"}));
    host_.finishDrop(m.wParam);
    EXPECT_TRUE(host_.droppedFiles(m.wParam).empty());
}

TEST_F(HeadlessInputTest, PaintingHappensWhenTheTestAsksAndCoversTheDirtyBounds) {
    EXPECT_EQ(host_.paint(), 2);  // both windows start dirty when shown
    EXPECT_EQ(host_.paint(), 0);
    Rect first{10, 10, 20, 20};
    host_.invalidate(child_, &first, false);
    Rect second{30, 5, 40, 15};
    host_.invalidate(child_, &second, false);
    EXPECT_EQ(host_.dirtyRect(child_), (Rect{10, 5, 40, 20}));
    Rect beyond{90, 40, 500, 500};
    host_.invalidate(child_, &beyond, false);
    EXPECT_EQ(host_.dirtyRect(child_), (Rect{10, 5, 100, 50}));  // clipped to the client
    received.clear();
    EXPECT_TRUE(host_.paint(child_));
    ASSERT_EQ(received.size(), 1u);
    EXPECT_EQ(received[0].message, WM_PAINT);
    EXPECT_FALSE(host_.dirtyRect(child_));
    // Hidden windows do not paint.
    host_.showWindow(frame_, SW_HIDE);
    host_.invalidate(child_, nullptr, true);
    EXPECT_FALSE(host_.paint(child_));
}

TEST_F(HeadlessInputTest, EnablingClearsTheDisabledStyleOfAWindowCreatedDisabled) {
    CreateRequest request;
    request.style = WS_POPUP | WS_VISIBLE | WS_DISABLED;
    request.width = 50;
    request.height = 40;
    request.proc = recordingProc;
    Window window = host_.createWindow(request);
    EXPECT_FALSE(host_.isEnabled(window));
    EXPECT_TRUE(host_.windowStyle(window) & WS_DISABLED);
    host_.enableWindow(window, true);
    EXPECT_TRUE(host_.isEnabled(window));
    EXPECT_FALSE(host_.windowStyle(window) & WS_DISABLED);
}

TEST_F(HeadlessInputTest, DestroyingAParentDestroysChildrenAndForgetsTheirState) {
    TabletContext tablet = host_.openTablet(child_);
    ASSERT_NE(tablet, kNoTablet);
    host_.setFocus(child_);
    host_.setCapture(child_);
    host_.setTimer(child_, 1, 10);
    host_.postMessage(child_, WM_USER, 0, 0);
    received.clear();
    host_.destroyWindow(frame_);
    EXPECT_FALSE(host_.isWindow(child_));
    EXPECT_EQ(host_.focusWindow(), kNoWindow);
    EXPECT_EQ(host_.captureWindow(), kNoWindow);
    // The focused child hears that it lost the keyboard before anything goes.
    ASSERT_FALSE(received.empty());
    EXPECT_EQ(received.front().message, WM_KILLFOCUS);
    EXPECT_EQ(received.front().wParam, WParam(kNoWindow));
    host_.advance(100);
    EXPECT_EQ(host_.tabletSample(tablet, 1, 100, 100, 512), 0u);  // no packets for a dead window
    Message m;
    EXPECT_FALSE(host_.peekMessage(m, kNoWindow, 0, 0, false));
    // The parent's WM_DESTROY comes before the child's, WM_NCDESTROY after.
    std::vector<std::uint32_t> order;
    for (const Received& r : received)
        if (r.message == WM_DESTROY || r.message == WM_NCDESTROY) order.push_back(r.message);
    EXPECT_EQ(order,
              (std::vector<std::uint32_t>{WM_DESTROY, WM_DESTROY, WM_NCDESTROY, WM_NCDESTROY}));
}

}  // namespace
