#include "framework/application/frame.h"

#include "host/messages.h"
#include "host/window_style.h"
#include "tests/framework/headless_fixture.h"

namespace penwick {
namespace {

using namespace host;
using testing::HeadlessTest;

struct Frame : ktFrame {
    bool agree = true;
    int asked = 0;
    bool queryClose(int reason) override {
        EXPECT_EQ(reason, 0);
        ++asked;
        return agree;
    }
};

class FrameTest : public HeadlessTest {
  protected:
    FrameTest() {
        EXPECT_TRUE(frame.create(nullptr, "Main", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, kNoWindow, 0,
                                 0, 640, 480, 0));
    }
    Frame frame;
};

TEST_F(FrameTest, CloseAsksQueryCloseAndDestructionPostsQuit) {
    frame.agree = false;
    host.clickClose(frame.handle());
    EXPECT_EQ(frame.asked, 1);
    EXPECT_TRUE(frame.isValid());
    EXPECT_EQ(host.queuedMessages(), 0u);

    frame.agree = true;
    EXPECT_EQ(frame.send(WM_CLOSE), 1);
    EXPECT_FALSE(frame.isValid());
    Message quit;
    ASSERT_TRUE(host.peekMessage(quit, kNoWindow, WM_QUIT, WM_QUIT, true));
    EXPECT_EQ(quit.wParam, 0u);
}

TEST_F(FrameTest, MinimiseOnCloseMinimisesFirst) {
    frame.setMinimiseOnClose(true);
    frame.send(WM_CLOSE);
    EXPECT_TRUE(host.isMinimised(frame.handle()));
    EXPECT_EQ(frame.asked, 0);
    frame.send(WM_CLOSE);  // already minimised: closes
    EXPECT_EQ(frame.asked, 1);
    EXPECT_FALSE(frame.isValid());
}

TEST_F(FrameTest, EndOfTheSessionAsksAndCloses) {
    frame.agree = false;
    EXPECT_EQ(frame.send(WM_QUERYENDSESSION), 0);
    frame.agree = true;
    EXPECT_EQ(frame.send(WM_QUERYENDSESSION), 1);
    EXPECT_EQ(frame.send(WM_ENDSESSION, 0), 1);  // the session goes on
    EXPECT_TRUE(frame.isValid());
    EXPECT_EQ(frame.send(WM_ENDSESSION, 1), 1);
    EXPECT_FALSE(frame.isValid());
}

}  // namespace
}  // namespace penwick
