#include "framework/application/app.h"

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "framework/application/accelerators.h"
#include "framework/text/failure.h"
#include "host/dialogs.h"
#include "host/keys.h"
#include "host/messages.h"
#include "host/window_style.h"
#include "tests/framework/headless_fixture.h"

namespace penwick {
namespace {

using namespace host;
using testing::HeadlessTest;

// The main menu's accelerators, as the program carries them.
AcceleratorTable programAccelerators() {
    using A = Accelerator;
    constexpr std::uint8_t v = A::kVirtKey | A::kNoInvert;
    return {{A::kAlt, '/', 130},
            {v | A::kControl, 'N', 40014},
            {v | A::kControl | A::kShift, 'S', 40009},
            {v | A::kControl, 'S', 40006},
            {v | A::kControl | A::kShift, VK_DELETE, 40011},
            {v | A::kAlt, VK_HOME, 40033},
            {v, VK_F11, 40005}};
}

struct TestFrame : ktFrame {
    std::vector<int> commands;
    std::vector<int> idleCounts;
    int idleRounds = 0;  // answer true this many times
    bool refuseClose = false;
    Window seenHandle{};
    const char* idleFailure = nullptr;
    int onCommand(int id) override {
        commands.push_back(id);
        return 1;
    }
    bool onIdle(int count) override {
        idleCounts.push_back(count);
        seenHandle = handle();
        if (idleFailure) throwFailure(std::exchange(idleFailure, nullptr));
        return idleRounds-- > 0;
    }
    bool queryClose(int) override { return !refuseClose; }
};

// An application whose start-up makes one frame; the loop's starvation
// (nothing left to do in the headless host) closes every window so that a
// test can never hang.
struct TestApp : ktApp {
    std::shared_ptr<TestFrame> frame = std::make_shared<TestFrame>();
    bool initAnswer = true;
    bool throwInInit = false;
    bool init() override {
        if (throwInInit) throwFailure("Start-up failed");
        loadMenuAndAccelerators(128);
        if (!frame->create(nullptr, "Main", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, kNoWindow, 0, 0,
                           640, 480, 0))
            return false;
        registerWindow(frame);
        return initAnswer;
    }
    bool preTranslateMessage(Message& m) override {
        if (m.message == WM_QUIT && int(m.wParam) == headless::kStarvedExitCode) {
            starved = true;
            for (int i = 0; i < windowCount(); ++i)
                if (window(i)->isValid()) window(i)->destroy();
        }
        return ktApp::preTranslateMessage(m);
    }
    bool starved = false;
};

class AppTest : public HeadlessTest {
  protected:
    AppTest() {
        resources.accelerators[128] = programAccelerators();
        resources.menus[128].children = {{"&File", 0, 0, {{"&Save", 40006, 0, {}}}}};
    }
    ktResources resources;
};

TEST_F(AppTest, RunReturnsTheQuitCodeOnceTheMainWindowIsGone) {
    TestApp app;
    EXPECT_EQ(ktApp::current(), &app);
    host.whenIdle([&] { host.postMessage(app.frame->handle(), WM_CLOSE, 0, 0); });
    EXPECT_EQ(app.run(&resources, "sketch.wnk", SW_SHOWMAXIMIZED), 0);
    EXPECT_FALSE(app.starved);
    EXPECT_EQ(app.commandLine(), "sketch.wnk");
    EXPECT_EQ(app.showCommand(), SW_SHOWMAXIMIZED);
    EXPECT_EQ(app.windowCount(), 0);  // released by exit()
    EXPECT_EQ(app.menu(), kNoMenu);   // destroyed when run ends

    TestApp refusing;
    refusing.initAnswer = false;
    EXPECT_EQ(refusing.run(&resources, "", SW_SHOW), -1);
}

TEST_F(AppTest, IdleCountsUpWhileAWindowWantsMoreAndRestartsAfterAMessage) {
    TestApp app;
    app.frame->idleRounds = 3;
    host.whenIdle([&] {
        EXPECT_EQ(app.frame->idleCounts, (std::vector<int>{0, 1, 2, 3}));
        app.frame->idleCounts.clear();
        host.postMessage(app.frame->handle(), WM_COMMAND, 7, 0);
    });
    host.whenIdle([&] {
        // One idle pass after the command: the window wanted no more.
        EXPECT_EQ(app.frame->idleCounts, std::vector<int>{0});
        host.postMessage(app.frame->handle(), WM_CLOSE, 0, 0);
    });
    EXPECT_EQ(app.run(&resources, "", SW_SHOW), 0);
    EXPECT_EQ(app.frame->commands, std::vector<int>{7});
}

TEST_F(AppTest, AFailureInIdleWorkIsReportedOwnedByTheMainWindowAndIdlingGoesOn) {
    TestApp app;
    app.frame->idleFailure = "Title update failed";
    app.frame->idleRounds = 1;
    host.whenIdle([&] { host.postMessage(app.frame->handle(), WM_CLOSE, 0, 0); });
    EXPECT_EQ(app.run(&resources, "", SW_SHOW), 0);
    ASSERT_EQ(host.messageBoxes().size(), 1u);
    EXPECT_NE(app.frame->seenHandle, kNoWindow);
    EXPECT_EQ(host.messageBoxes()[0].owner, app.frame->seenHandle);
    EXPECT_NE(host.messageBoxes()[0].text.find("Title update failed"), std::string::npos);
    EXPECT_NE(log().find("ERROR:\nTitle update failed"), std::string::npos);
    // After the report idling went on without counting: 0 (failed), 0, 1.
    EXPECT_EQ(app.frame->idleCounts, (std::vector<int>{0, 0, 1}));
}

TEST_F(AppTest, QuitIsIgnoredWhileATopLevelWindowLives) {
    TestApp app;
    host.whenIdle([&] { host.postQuitMessage(5); });
    host.whenIdle([&] {
        EXPECT_TRUE(app.frame->isValid());  // the loop went on
        host.postMessage(app.frame->handle(), WM_CLOSE, 0, 0);
    });
    EXPECT_EQ(app.run(&resources, "", SW_SHOW), 0);
    EXPECT_FALSE(app.starved);
}

TEST_F(AppTest, AcceleratorsBecomeCommandsOfTheFocusWindowAndClimb) {
    TestApp app;
    ktWnd child;
    host.whenIdle([&] {
        ASSERT_TRUE(child.create(nullptr, "", WS_CHILD | WS_VISIBLE, 0, app.frame->handle(), 0, 0,
                                 100, 100, 1));
        host.setFocus(child.handle());
        host.keyDown('S', {false, true, false});  // Ctrl+S
        host.keyUp('S', {false, true, false});
        host.keyDown('S', {true, true, false});  // Ctrl+Shift+S
        host.keyUp('S');
        host.keyDown(VK_OEM_2, {false, false, true});  // Alt+/ (a character)
        host.keyUp(VK_OEM_2);
        host.keyDown(VK_F11);
        host.keyDown('Q', {false, true, false});  // no accelerator
    });
    host.whenIdle([&] { host.postMessage(app.frame->handle(), WM_CLOSE, 0, 0); });
    EXPECT_EQ(app.run(&resources, "", SW_SHOW), 0);
    EXPECT_EQ(app.frame->commands, (std::vector<int>{40006, 40009, 130, 40005}));
}

TEST_F(AppTest, AcceleratorNamesShowModifiersAndKeyNames) {
    TestApp app;
    EXPECT_EQ(app.acceleratorName(40006), "");  // no table loaded yet
    host.whenIdle([&] {
        EXPECT_EQ(app.acceleratorName(40009), "Ctrl+Shift+S");
        EXPECT_EQ(app.acceleratorName(40006), "Ctrl+S");
        EXPECT_EQ(app.acceleratorName(130), "Alt+/");
        EXPECT_EQ(app.acceleratorName(40011), "Ctrl+Shift+Num Del");
        EXPECT_EQ(app.acceleratorName(40033), "Alt+Num 7");
        EXPECT_EQ(app.acceleratorName(40005), "F11");
        EXPECT_EQ(app.acceleratorName(40004), "");  // no accelerator
        host.postMessage(app.frame->handle(), WM_CLOSE, 0, 0);
    });
    app.run(&resources, "", SW_SHOW);
    // The table seen first is kept after the loaded one went.
    EXPECT_EQ(app.acceleratorName(40006), "Ctrl+S");
}

TEST_F(AppTest, TheCurrentDialogTakesItsKeysCtrlTabAndCtrlC) {
    TestApp app;
    host.whenIdle([&] {
        app.showAbout();
        Window box = app.currentDialog();
        ASSERT_TRUE(host.isWindow(box));
        EXPECT_EQ(host.owner(box), app.frame->handle());
        EXPECT_EQ(host.windowText(box), "Penwick");
        // The focus is on the box's OK button; Ctrl+C copies the box.
        host.keyDown('C', {false, true, false});
        host.keyUp('C');
    });
    host.whenIdle([&] {
        EXPECT_NE(host.clipboardText().value_or("").find("Penwick"), std::string::npos);
        // Ctrl+Tab leaves the dialog for the main window, and comes back.
        host.keyDown(VK_TAB, {false, true, false});
        host.keyUp(VK_TAB);
    });
    host.whenIdle([&] {
        EXPECT_EQ(host.focusWindow(), app.frame->handle());
        host.keyDown(VK_TAB, {false, true, false});
        host.keyUp(VK_TAB);
    });
    host.whenIdle([&] {
        EXPECT_EQ(host.focusWindow(), app.currentDialog());
        // Enter presses the default button: the box closes.
        host.keyDown(VK_RETURN);
    });
    host.whenIdle([&] {
        EXPECT_FALSE(host.isWindow(app.currentDialog()));
        host.postMessage(app.frame->handle(), WM_CLOSE, 0, 0);
    });
    EXPECT_EQ(app.run(&resources, "", SW_SHOW), 0);
    EXPECT_TRUE(app.frame->commands.empty());
}

TEST_F(AppTest, ToolWindowSeesMessagesFirstAndGoesWhenFinished) {
    static std::vector<std::uint32_t> seen;
    static LResult alive = 1;
    seen.clear();
    struct Tool : ktWnd {
        LResult windowProc(std::uint32_t m, WParam w, LParam l) override {
            if (m == WM_TOOLWINDOW_MESSAGE) {
                auto* message = reinterpret_cast<const Message*>(l);
                seen.push_back(message->message);
                return message->message == WM_COMMAND ? 1 : 0;  // takes commands
            }
            if (m == WM_TOOLWINDOW_ALIVE) return alive;
            return ktWnd::windowProc(m, w, l);
        }
    };
    TestApp app;
    Tool tool;
    host.whenIdle([&] {
        ASSERT_TRUE(
            tool.create(nullptr, "Tool", WS_POPUP, 0, app.frame->handle(), 0, 0, 50, 50, 0));
        app.setModelessWindow(tool.handle(), 1);
        host.postMessage(app.frame->handle(), WM_COMMAND, 9, 0);
        host.postMessage(app.frame->handle(), WM_CHAR, 'x', 0);
    });
    host.whenIdle([&] {
        EXPECT_EQ(seen, (std::vector<std::uint32_t>{WM_COMMAND, WM_CHAR}));
        EXPECT_TRUE(app.frame->commands.empty());  // consumed by the tool
        alive = 0;
        host.postMessage(app.frame->handle(), WM_CHAR, 'y', 0);
    });
    host.whenIdle([&] {
        EXPECT_FALSE(tool.isValid());  // finished: destroyed and forgotten
        EXPECT_EQ(app.currentToolWindow(), kNoWindow);
        host.postMessage(app.frame->handle(), WM_CLOSE, 0, 0);
    });
    EXPECT_EQ(app.run(&resources, "", SW_SHOW), 0);
    alive = 1;
}

TEST_F(AppTest, SettingAModelessWindowDestroysThePreviousOne) {
    TestApp app;
    ktWnd first, second;
    ASSERT_TRUE(first.create(nullptr, "", WS_POPUP, 0, kNoWindow, 0, 0, 10, 10, 0));
    ASSERT_TRUE(second.create(nullptr, "", WS_POPUP, 0, kNoWindow, 0, 0, 10, 10, 0));
    app.setModelessWindow(first.handle(), 0);
    app.setModelessWindow(second.handle(), 0);
    EXPECT_FALSE(first.isValid());
    EXPECT_TRUE(second.isValid());
    EXPECT_EQ(app.currentDialog(), second.handle());
}

TEST_F(AppTest, HelpFilePathPrefersChmAndKeepsItsFirstAnswer) {
    TestApp app;
    std::filesystem::path stem = folder() / "penwick";
    std::ofstream(stem.string() + ".txt") << "help";
    EXPECT_EQ(app.helpFilePath(), (stem.string() + ".txt").c_str());
    std::ofstream(stem.string() + ".chm") << "help";
    EXPECT_EQ(app.helpFilePath(), (stem.string() + ".txt").c_str());

    TestApp fresh;
    EXPECT_EQ(fresh.helpFilePath(), (stem.string() + ".chm").c_str());
}

TEST_F(AppTest, RelaunchStartsTheProgramWithItsArguments) {
    TestApp app;
    EXPECT_TRUE(app.relaunch("--page 3"));
    EXPECT_TRUE(app.relaunch(""));
    ASSERT_EQ(host.shellCalls().size(), 2u);
    EXPECT_EQ(host.shellCalls()[0].file, (folder() / "penwick").string());
    EXPECT_EQ(host.shellCalls()[0].parameters, "--page 3");
    EXPECT_EQ(host.shellCalls()[1].parameters, "");
}

TEST_F(AppTest, FailuresOfStartUpEndTheProcessThroughTheFatalReport) {
    EXPECT_EXIT(
        {
            TestApp app;
            app.throwInInit = true;
            app.run(&resources, "", SW_SHOW);
        },
        ::testing::ExitedWithCode(255), "");
    EXPECT_NE(log().find("Start-up failed"), std::string::npos);
}

}  // namespace
}  // namespace penwick
