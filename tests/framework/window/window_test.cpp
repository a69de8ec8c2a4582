#include "framework/window/window.h"

#include <stdexcept>
#include <string>
#include <vector>

#include "framework/text/failure.h"
#include "host/keys.h"
#include "host/messages.h"
#include "host/window_style.h"
#include "tests/framework/headless_fixture.h"

namespace penwick {
namespace {

using namespace host;
using testing::HeadlessTest;

// Records every handler the dispatch calls, as "name(arguments)".
class RecordingWnd : public ktWnd {
  public:
    std::vector<std::string> calls;
    int commandAnswer = 0;
    int updateAnswer = 0;
    int eraseAnswer = 7;
    bool destroyOnClose = false;

    void onPaint(PaintRecord paint) override {
        calls.push_back("paint");
        paintContext = paint.dc;
    }
    void onSize(int w, int h, int type) override {
        calls.push_back("size(" + std::to_string(w) + "," + std::to_string(h) + "," +
                        std::to_string(type) + ")");
    }
    void onDestroy() override { calls.push_back("destroy"); }
    void onClose() override {
        calls.push_back("close");
        if (destroyOnClose) destroy();
    }
    void onKeyDown(int key, bool repeat) override {
        calls.push_back("keydown(" + std::to_string(key) + "," + std::to_string(repeat) + ")");
    }
    void onKeyUp(int key) override { calls.push_back("keyup(" + std::to_string(key) + ")"); }
    void onChar(int code) override { calls.push_back("char(" + std::to_string(code) + ")"); }
    void onInitMenu(Menu) override { calls.push_back("initmenu"); }
    void onInitMenuPopup(Menu menu) override {
        calls.push_back("initmenupopup");
        ktWnd::onInitMenuPopup(menu);
    }
    int onCommand(int id) override {
        calls.push_back("command(" + std::to_string(id) + ")");
        return commandAnswer;
    }
    int onUpdateCommand(CommandState& state) override {
        calls.push_back("update(" + std::to_string(state.id) + ")");
        return updateAnswer;
    }
    int onFrameworkMessage2(LParam lParam) override {
        calls.push_back("fw2(" + std::to_string(lParam) + ")");
        return 0;
    }
    int onControlCommand(Window, int id, int code) override {
        calls.push_back("control(" + std::to_string(id) + "," + std::to_string(code) + ")");
        return 1;
    }
    int onEraseBackground(DeviceContext*) override {
        calls.push_back("erase");
        return eraseAnswer;
    }
    int onSysKeyDown(int key, bool) override {
        calls.push_back("syskeydown(" + std::to_string(key) + ")");
        return 0;
    }
    DeviceContext* paintContext = nullptr;
};

// A window procedure the test owns, to see what reaches a window's
// previous procedure.
std::vector<std::uint32_t> previousProcMessages;
LResult recordingProc(Window w, std::uint32_t message, WParam wParam, LParam lParam) {
    previousProcMessages.push_back(message);
    return instance().defaultProc(w, message, wParam, lParam);
}

class WindowTest : public HeadlessTest {
  protected:
    bool makeTopLevel(ktWnd& wnd, std::uint32_t style = WS_OVERLAPPEDWINDOW | WS_VISIBLE) {
        return wnd.create(nullptr, "Top", style, 0, kNoWindow, 100, 50, 400, 300, 0);
    }
    bool makeChild(ktWnd& wnd, const ktWnd& parent, int id = 5) {
        return wnd.create(nullptr, "", WS_CHILD | WS_VISIBLE, 0, parent.handle(), 0, 0, 100, 80,
                          id);
    }
};

TEST_F(WindowTest, CreationRegistersTheClassAttachesAndCallsOnCreate) {
    RecordingWnd wnd;
    EXPECT_STREQ(wnd.className(), "ktWnd");
    ASSERT_TRUE(makeTopLevel(wnd));
    EXPECT_TRUE(wnd.isValid());
    EXPECT_EQ(ktWnd::fromHandle(wnd.handle()), &wnd);
    EXPECT_EQ(host.windowText(wnd.handle()), "Top");
    // The size message of creation reached the object.
    EXPECT_EQ(wnd.calls.front(), "size(392,268,0)");

    // A second create on a live window fails and changes nothing.
    Window first = wnd.handle();
    EXPECT_FALSE(makeTopLevel(wnd));
    EXPECT_EQ(wnd.handle(), first);

    // An unknown class fails without a window.
    ktWnd other;
    EXPECT_FALSE(other.create("NoSuchClass", "", 0, 0, kNoWindow, 0, 0, 10, 10, 0));
    EXPECT_EQ(other.handle(), kNoWindow);
}

TEST_F(WindowTest, OnCreateAnsweringFalseLeavesNoWindow) {
    struct Refusing : ktWnd {
        bool onCreate() override { return false; }
    } wnd;
    EXPECT_FALSE(makeTopLevel(wnd));
    EXPECT_EQ(wnd.handle(), kNoWindow);
    EXPECT_FALSE(wnd.isValid());
}

TEST_F(WindowTest, DispatchCallsTheHandlerOfEveryMessage) {
    RecordingWnd wnd;
    ASSERT_TRUE(makeTopLevel(wnd));
    wnd.calls.clear();
    auto last = [&] { return wnd.calls.empty() ? std::string() : wnd.calls.back(); };

    EXPECT_EQ(wnd.send(WM_SIZE, SIZE_MAXIMIZED, makeLParam(640, 480)), 0);
    EXPECT_EQ(last(), "size(640,480,2)");
    EXPECT_EQ(wnd.send(WM_KEYDOWN, 'A', 1), 0);
    EXPECT_EQ(last(), "keydown(65,0)");
    EXPECT_EQ(wnd.send(WM_KEYDOWN, 'A', 1 | kKeyPreviouslyDown), 0);
    EXPECT_EQ(last(), "keydown(65,1)");
    EXPECT_EQ(wnd.send(WM_KEYUP, 'A', 0), 0);
    EXPECT_EQ(last(), "keyup(65)");
    EXPECT_EQ(wnd.send(WM_CHAR, 'a', 0), 0);
    EXPECT_EQ(last(), "char(97)");
    EXPECT_EQ(wnd.send(WM_SYSKEYDOWN, VK_F10, 0), 0);
    EXPECT_EQ(last(), "syskeydown(121)");
    EXPECT_EQ(wnd.send(WM_INITMENU, 0, 0), 0);
    EXPECT_EQ(last(), "initmenu");
    EXPECT_EQ(wnd.send(WM_ERASEBKGND, 0, 0), 7);
    EXPECT_EQ(last(), "erase");
    EXPECT_EQ(wnd.send(WM_CLOSE, 0, 0), 0);
    EXPECT_EQ(last(), "close");

    // Commands: a control notification (high word set, a control) and a
    // plain command.
    EXPECT_EQ(wnd.send(WM_COMMAND, makeWParam(12, 3), LParam(0x1234)), 0);
    EXPECT_EQ(last(), "control(12,3)");
    wnd.commandAnswer = 1;
    EXPECT_EQ(wnd.send(WM_COMMAND, 40006, 0), 0);
    EXPECT_EQ(last(), "command(40006)");

    CommandState state;
    state.id = 77;
    wnd.updateAnswer = 1;
    EXPECT_EQ(wnd.send(WM_UPDATE_COMMAND, 0, LParam(&state)), 0);
    EXPECT_EQ(last(), "update(77)");
    EXPECT_EQ(wnd.send(WM_FRAMEWORK_2, 0, 99), 0);
    EXPECT_EQ(last(), "fw2(99)");

    // A top-level window's notification goes to its own control handler.
    NotifyHeader header{kNoWindow, 31, 4};
    EXPECT_EQ(wnd.send(WM_NOTIFY, 0, LParam(&header)), 1);
    EXPECT_EQ(last(), "control(31,4)");

    // Painting.
    wnd.invalidate();
    EXPECT_TRUE(host.paint(wnd.handle()));
    EXPECT_EQ(last(), "paint");
    EXPECT_NE(wnd.paintContext, nullptr);

    // Anything else goes to the previous procedure (the system's default).
    EXPECT_EQ(wnd.send(WM_QUERYENDSESSION, 0, 0), 1);

    // Destruction: onDestroy, then the final message clears the handle.
    wnd.calls.clear();
    wnd.destroy();
    EXPECT_EQ(wnd.calls, std::vector<std::string>{"destroy"});
    EXPECT_EQ(wnd.handle(), kNoWindow);
}

TEST_F(WindowTest, UnhandledCommandsAndUpdatesClimbToTheTopLevelDefaultProcedure) {
    // The top-level window is made by the host with the test's procedure,
    // then attached: that procedure becomes its defaultProc.
    CreateRequest request;
    request.title = "Frame";
    request.style = WS_OVERLAPPEDWINDOW;
    request.width = 300;
    request.height = 200;
    request.proc = recordingProc;
    Window frame = host.createWindow(request);
    RecordingWnd top;
    top.attach(frame);
    RecordingWnd child, grandchild;
    ASSERT_TRUE(makeChild(child, top));
    ASSERT_TRUE(makeChild(grandchild, child));

    previousProcMessages.clear();
    grandchild.send(WM_COMMAND, 40016, 0);
    EXPECT_EQ(grandchild.calls.back(), "command(40016)");
    EXPECT_EQ(child.calls.back(), "command(40016)");
    EXPECT_EQ(top.calls.back(), "command(40016)");
    EXPECT_EQ(previousProcMessages, std::vector<std::uint32_t>{WM_COMMAND});

    // Handled half-way: it stops there.
    child.commandAnswer = 1;
    top.calls.clear();
    grandchild.send(WM_COMMAND, 40017, 0);
    EXPECT_EQ(child.calls.back(), "command(40017)");
    EXPECT_TRUE(top.calls.empty());

    // Menu updates climb the same way, and the answer comes back.
    top.updateAnswer = 1;
    CommandState state;
    state.id = 40005;
    grandchild.send(WM_UPDATE_COMMAND, 0, LParam(&state));
    EXPECT_EQ(child.calls.back(), "update(40005)");
    EXPECT_EQ(top.calls.back(), "update(40005)");

    // A child's notification climbs to the top-level window, which handles it.
    NotifyHeader header{grandchild.handle(), 9, 2};
    grandchild.send(WM_NOTIFY, 0, LParam(&header));
    EXPECT_EQ(top.calls.back(), "control(9,2)");
    EXPECT_EQ(child.calls.back(), "update(40005)");

    // Detaching gives the window its own procedure back.
    top.detach();
    EXPECT_EQ(host.windowProc(frame), &recordingProc);
    EXPECT_EQ(host.userData(frame), nullptr);
    host.destroyWindow(frame);
}

TEST_F(WindowTest, AFailureInAHandlerAnswersMinusOneIsLoggedAndTheWindowLivesOn) {
    struct Throwing : ktWnd {
        int onCommand(int id) override {
            if (id == 1) throwFailure("The handler broke");
            if (id == 2) throw std::runtime_error("not a message text");
            return 1;
        }
    } wnd;
    ASSERT_TRUE(makeTopLevel(wnd));

    EXPECT_EQ(wnd.send(WM_COMMAND, 1, 0), -1);
    EXPECT_TRUE(wnd.isValid());
    ASSERT_EQ(host.messageBoxes().size(), 1u);
    EXPECT_EQ(host.messageBoxes()[0].owner, wnd.handle());
    EXPECT_EQ(host.messageBoxes()[0].type & 0xF, MB_YESNO);  // may continue
    std::string logged = log();
    EXPECT_NE(logged.find("\tThe handler broke\n\tCLASS: ktWnd\n\tMESSAGE: 273 (0x0111)\n"
                          "\tWPARAM: 1 (0x0001)\n\tLPARAM: 0 (0x0000)"),
              std::string::npos)
        << logged;
    EXPECT_NE(logged.find("User continued: Yes"), std::string::npos);

    // Something thrown without a text: the trace has none.
    EXPECT_EQ(wnd.send(WM_COMMAND, 2, 0), -1);
    EXPECT_NE(log().find("\tCLASS: ktWnd\n\tMESSAGE: 273 (0x0111)\n\tWPARAM: 2 (0x0002)"),
              std::string::npos);
    // The window still handles messages.
    EXPECT_EQ(wnd.send(WM_COMMAND, 3, 0), 0);
    EXPECT_TRUE(wnd.isValid());
}

TEST_F(WindowTest, FullScreenSavesAndRestoresRectangleStyleAndMenu) {
    ktWnd wnd;
    ASSERT_TRUE(makeTopLevel(wnd));
    Menu menu = host.createMenu(false);
    host.appendMenu(menu, MF_STRING, 40005, "&Full Screen", kNoMenu);
    host.setWindowMenu(wnd.handle(), menu);
    Rect before = host.windowRect(wnd.handle());
    std::uint32_t styleBefore = host.windowStyle(wnd.handle());
    Rect clientBefore = host.clientRect(wnd.handle());

    EXPECT_FALSE(wnd.isFullScreen());
    EXPECT_FALSE(wnd.setFullScreen(false));
    EXPECT_TRUE(wnd.setFullScreen(true));
    EXPECT_TRUE(wnd.isFullScreen());
    EXPECT_EQ(host.windowRect(wnd.handle()), (Rect{0, 0, 1920, 1080}));
    EXPECT_EQ(host.windowStyle(wnd.handle()), styleBefore & 0xFF30FFFF);
    EXPECT_EQ(host.windowStyle(wnd.handle()) & (WS_CAPTION | WS_THICKFRAME), 0u);
    EXPECT_EQ(host.windowMenu(wnd.handle()), kNoMenu);
    EXPECT_EQ(host.clientRect(wnd.handle()), (Rect{0, 0, 1920, 1080}));

    // Again: nothing changes.
    EXPECT_FALSE(wnd.setFullScreen(true));
    EXPECT_EQ(host.windowRect(wnd.handle()), (Rect{0, 0, 1920, 1080}));

    while (host.queuedMessages() > 0)
        pump();
    EXPECT_TRUE(wnd.setFullScreen(false));
    EXPECT_FALSE(wnd.isFullScreen());
    EXPECT_EQ(host.windowRect(wnd.handle()), before);
    EXPECT_EQ(host.windowStyle(wnd.handle()), styleBefore);
    EXPECT_EQ(host.windowMenu(wnd.handle()), menu);
    Message size;
    ASSERT_TRUE(host.peekMessage(size, wnd.handle(), WM_SIZE, WM_SIZE, true));
    EXPECT_EQ(size.wParam, SIZE_RESTORED);
    EXPECT_EQ(size.lParam, makeLParam(clientBefore.width(), clientBefore.height()));
    EXPECT_FALSE(wnd.setFullScreen(false));
}

TEST_F(WindowTest, FullScreenFallsBackToTheDisplayModeWithoutMonitorInformation) {
    ktWnd wnd;
    ASSERT_TRUE(makeTopLevel(wnd));
    host.setMonitorAvailable(false);
    host.setDisplayMode(DisplayMode{1280, 1024, 32, 60});
    EXPECT_TRUE(wnd.setFullScreen(true));
    EXPECT_EQ(host.windowRect(wnd.handle()), (Rect{0, 0, 1280, 1024}));
}

TEST_F(WindowTest, MenuUpdateAppliesTextCheckAndEnabledStateFromTheWindows) {
    struct Updating : ktWnd {
        int onUpdateCommand(CommandState& s) override {
            switch (s.id) {
                case 100:
                    s.setText("&Save   \tCtrl+S");
                    return 1;
                case 101:
                    s.setChecked(true);
                    return 1;
                case 102:
                    s.setEnabled(false);
                    return 1;
                default:
                    return 0;
            }
        }
    } frame;
    ASSERT_TRUE(makeTopLevel(frame));
    RecordingWnd child;
    ASSERT_TRUE(makeChild(child, frame));

    MenuTemplate bar;
    bar.children = {{"&File",
                     0,
                     0,
                     {{"&Save", 100, 0, {}},
                      {"", 0, MF_SEPARATOR, {}},
                      {"Auto Save", 101, 0, {}},
                      {"&Help", 102, 0, {}},
                      {"Greyed", 103, MF_GRAYED, {}},
                      {"Big", 0x10000, MF_CHECKED, {}},
                      {"More", 0, 0, {{"Inner", 100, 0, {}}}}}}};
    Menu menu = buildMenu(host, bar, false);
    host.setWindowMenu(frame.handle(), menu);
    Menu file = host.menuItem(menu, 0)->subMenu;

    // Opening the popup updates it; the child asks and its parent answers.
    host.openMenuBarPopup(frame.handle(), 0);
    EXPECT_EQ(host.menuItem(file, 0)->text, "&Save   \tCtrl+S");
    EXPECT_TRUE(host.menuItem(file, 2)->flags & MF_CHECKED);
    EXPECT_TRUE(host.menuItem(file, 3)->flags & MF_GRAYED);
    EXPECT_TRUE(host.menuItem(file, 4)->flags & MF_GRAYED);   // left as it was
    EXPECT_TRUE(host.menuItem(file, 5)->flags & MF_CHECKED);  // id above 0xFFFF: skipped
    Menu more = host.menuItem(file, 6)->subMenu;
    EXPECT_EQ(host.menuItem(more, 0)->text, "Inner");  // no recursion

    child.calls.clear();
    child.updateMenu(file, true);
    EXPECT_EQ(child.calls, (std::vector<std::string>{"update(100)", "update(101)", "update(102)",
                                                     "update(103)", "update(100)"}));
    EXPECT_EQ(host.menuItem(more, 0)->text, "&Save   \tCtrl+S");
    // A record starts enabled with no text change: an unanswered item whose
    // check was set keeps nothing the window did not say.
    EXPECT_FALSE(host.menuItem(file, 4)->flags & MF_CHECKED);
}

TEST_F(WindowTest, BackBufferPaintsOffScreenAndFollowsTheClientSize) {
    RecordingWnd wnd;
    ASSERT_TRUE(makeTopLevel(wnd));
    wnd.setBackBuffer(true);
    ASSERT_NE(wnd.backBuffer(), nullptr);
    EXPECT_EQ(wnd.backBuffer()->bitsPerPixel(), 32);
    EXPECT_EQ(wnd.backBuffer()->width(), 392);
    EXPECT_EQ(wnd.backBuffer()->height(), 268);

    // Erasing does nothing and counts as done.
    wnd.calls.clear();
    EXPECT_EQ(wnd.send(WM_ERASEBKGND, 0, 0), 1);
    EXPECT_TRUE(wnd.calls.empty());

    // getDC hands out the buffer's context; releasing it changes nothing.
    DeviceContext* dc = wnd.getDC();
    EXPECT_EQ(dc, wnd.backBuffer()->dc());
    wnd.releaseDC(dc);
    EXPECT_EQ(wnd.getDC(), wnd.backBuffer()->dc());

    // A paint draws into the buffer, then the whole buffer reaches the window.
    host.drawLog(wnd.handle()).clear();
    wnd.invalidate();
    host.paint(wnd.handle());
    EXPECT_EQ(wnd.paintContext, wnd.backBuffer()->dc());
    const auto& ops = host.drawLog(wnd.handle());
    ASSERT_EQ(ops.size(), 1u);
    EXPECT_EQ(ops[0].kind, headless::DrawOp::Kind::drawPixels);
    EXPECT_EQ(ops[0].rect, (Rect{0, 0, 392, 268}));

    // Resizing the window resizes the buffer.
    host.moveWindow(wnd.handle(), {0, 0, 208, 128}, true);
    EXPECT_EQ(wnd.backBuffer()->width(), 200);
    EXPECT_EQ(wnd.backBuffer()->height(), 96);

    // Low colour: 8 bits with the grey table.
    wnd.setBackBuffer(true, true);
    EXPECT_EQ(wnd.backBuffer()->bitsPerPixel(), 8);
    EXPECT_EQ(wnd.backBuffer()->colourTable()[0], 1);
    EXPECT_EQ(wnd.backBuffer()->colourTable()[4 * 128], 128);
    EXPECT_EQ(wnd.backBuffer()->colourTable()[4 * 255], 253);
    host.moveWindow(wnd.handle(), {0, 0, 308, 228}, true);
    EXPECT_EQ(wnd.backBuffer()->bitsPerPixel(), 8);
    EXPECT_EQ(wnd.backBuffer()->width(), 300);

    wnd.setBackBuffer(false);
    EXPECT_EQ(wnd.backBuffer(), nullptr);
    wnd.calls.clear();
    EXPECT_EQ(wnd.send(WM_ERASEBKGND, 0, 0), 7);
    // Without a buffer, getDC gives a context of the window's own.
    DeviceContext* own = wnd.getDC();
    ASSERT_NE(own, nullptr);
    wnd.releaseDC(own);
}

TEST_F(WindowTest, FocusDepthCountsUpTheParentChain) {
    ktWnd top, child, grandchild;
    ASSERT_TRUE(makeTopLevel(top));
    ASSERT_TRUE(makeChild(child, top));
    ASSERT_TRUE(makeChild(grandchild, child));
    host.setFocus(grandchild.handle());
    EXPECT_EQ(grandchild.focusDepth(), 1);
    EXPECT_EQ(child.focusDepth(), 2);
    EXPECT_EQ(top.focusDepth(), 3);
    host.setFocus(top.handle());
    EXPECT_EQ(child.focusDepth(), 0);
    EXPECT_EQ(top.focusDepth(), 1);
}

TEST_F(WindowTest, SelfOwnedWindowsGoWithTheirWindowAndDeletingAnObjectDestroysItsWindow) {
    static int destroyed = 0;
    struct Counted : ktWnd {
        ~Counted() override { ++destroyed; }
    };
    destroyed = 0;
    ktWnd top;
    ASSERT_TRUE(makeTopLevel(top));
    auto* child = ktWnd::makeSelfOwned<Counted>();
    EXPECT_TRUE(child->autoDelete());
    ASSERT_TRUE(makeChild(*child, top));
    top.destroy();  // takes the child window, and with it the object
    EXPECT_EQ(destroyed, 1);

    Window window{};
    {
        ktWnd owned;
        ASSERT_TRUE(makeTopLevel(owned));
        window = owned.handle();
    }
    EXPECT_FALSE(host.isWindow(window));
}

TEST_F(WindowTest, TextIsSetOnlyWhenItDiffers) {
    ktWnd wnd;
    ASSERT_TRUE(makeTopLevel(wnd));
    wnd.setText("Untitled *");
    EXPECT_EQ(wnd.getText(), "Untitled *");
    wnd.moveTo({10, 20, 210, 220});
    EXPECT_EQ(host.windowRect(wnd.handle()), (Rect{10, 20, 210, 220}));
    EXPECT_TRUE(host.dirtyRect(wnd.handle()).has_value());
}

}  // namespace
}  // namespace penwick
