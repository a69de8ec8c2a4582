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
