#include "framework/controls/message_box.h"

#include <string>

#include "framework/controls/button.h"
#include "host/dialogs.h"
#include "host/keys.h"
#include "host/messages.h"
#include "host/window_style.h"
#include "tests/framework/headless_fixture.h"

namespace penwick {
namespace {

using namespace host;
using testing::HeadlessTest;

const std::string kDashes = std::string(50, '-') + "\n";

class MessageBoxTest : public HeadlessTest {
  protected:
    MessageBoxTest() {
        EXPECT_TRUE(owner.create(nullptr, "Owner", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, kNoWindow,
                                 0, 0, 640, 480, 0));
    }
    // Runs `step` once the modal loop waits for input.
    void whenWaiting(std::function<void()> step) { host.whenIdle(std::move(step)); }

    ktWnd owner;
};

TEST(MessageBoxLayout, WrappingWidthIsAQuarterOfTheScreenLessMargins) {
    EXPECT_EQ(messageBoxWrapWidth(1920), 456);
    EXPECT_EQ(messageBoxWrapWidth(1024), 232);
    EXPECT_EQ(messageBoxWrapWidth(959), 216);  // a quarter below 240
    EXPECT_EQ(messageBoxWrapWidth(800), 216);
}

TEST(MessageBoxLayout, ContentHasMinimumSizeIconAreaAndButtonRow) {
    // A short text: the minimum content, the icon area, the row below.
    MessageBoxLayout small = layoutMessageBox(35, 14, false, 1);
    EXPECT_EQ(small.width, 240);
    EXPECT_EQ(small.height, 56 + 36);
    EXPECT_EQ(small.text, (Rect{12, 12, 228, 44}));
    ASSERT_EQ(small.buttons.size(), 1u);
    EXPECT_EQ(small.buttons[0], (Rect{80, 56, 160, 80}));

    MessageBoxLayout withIcon = layoutMessageBox(35, 14, true, 2);
    EXPECT_EQ(withIcon.width, 284);
    EXPECT_EQ(withIcon.text.left, 56);
    EXPECT_EQ(withIcon.icon, (Point{12, 12}));
    EXPECT_EQ(withIcon.buttons[0], (Rect{58, 56, 138, 80}));
    EXPECT_EQ(withIcon.buttons[1], (Rect{146, 56, 226, 80}));

    // A large text: 12 pixels of margin around it.
    MessageBoxLayout large = layoutMessageBox(456, 70, true, 1);
    EXPECT_EQ(large.width, 456 + 24 + 44);
    EXPECT_EQ(large.height, 70 + 24 + 36);
    EXPECT_EQ(large.text, (Rect{56, 12, 512, 82}));
}

TEST(MessageBoxLayout, SixButtonsShrinkEquallyToFitTheRow) {
    MessageBoxLayout layout = layoutMessageBox(35, 14, true, 6);
    ASSERT_EQ(layout.buttons.size(), 6u);
    // (284 - 24 - 8 * 5) / 6 = 36, the row of 256 centred in 260.
    for (const Rect& b : layout.buttons)
        EXPECT_EQ(b.width(), 36);
    EXPECT_EQ(layout.buttons[0].left, 14);
    EXPECT_EQ(layout.buttons[5].right, 270);
    for (std::size_t i = 1; i < 6; ++i)
        EXPECT_EQ(layout.buttons[i].left - layout.buttons[i - 1].right, 8);
    // Three fit at their own width.
    EXPECT_EQ(layoutMessageBox(35, 14, true, 3).buttons[0].width(), 80);
}

TEST(MessageBoxButtons, SpecificationLinesGiveIdsLabelsLinksAndTheDefault) {
    std::vector<ButtonSpec> specs =
        parseButtonSpecs(":https://example.org\t &Web...\n*0x10 &Retry\n0b11 Ig&nore");
    ASSERT_EQ(specs.size(), 3u);
    EXPECT_EQ(specs[0].id, -1);
    EXPECT_EQ(specs[0].target, "https://example.org");
    EXPECT_EQ(specs[0].label, " &Web...");
    EXPECT_FALSE(specs[0].isDefault);
    EXPECT_EQ(specs[1].id, 16);
    EXPECT_EQ(specs[1].label, "&Retry");
    EXPECT_TRUE(specs[1].isDefault);
    EXPECT_EQ(specs[2].id, 3);
    EXPECT_EQ(specs[2].label, "Ig&nore");
}

TEST_F(MessageBoxTest, CreatedBoxIsMeasuredCentredAndHasItsButtons) {
    // The dialog font is 14 pixels high, its characters 7 wide here.
    ktMessageBox box("Hello", "*1 &OK\n2 &Cancel");
    ASSERT_TRUE(box.create("Greeting", owner.handle()));
    EXPECT_EQ(host.clientRect(box.handle()), (Rect{0, 0, 284, 92}));
    Rect window = host.windowRect(box.handle());
    EXPECT_EQ(window.left, (1920 - window.width()) / 2);
    EXPECT_EQ(window.top, (1080 - window.height()) / 2);
    EXPECT_EQ(host.windowText(box.handle()), "Greeting");
    EXPECT_EQ(host.windowId(box.handle()), -1);
    EXPECT_EQ(box.icon(), host.stockIcon(StockIcon::asterisk));  // the owner has none

    std::vector<Window> buttons = host.children(box.handle());
    ASSERT_EQ(buttons.size(), 2u);
    EXPECT_EQ(host.windowText(buttons[0]), "&OK");
    EXPECT_EQ(host.windowId(buttons[1]), 2);
    EXPECT_EQ(host.windowRect(buttons[0]), (Rect{58, 56, 138, 80}));
    EXPECT_EQ(host.focusWindow(), buttons[0]);  // the default
    EXPECT_EQ(box.defaultButtonId(), 1);
    EXPECT_EQ(box.send(DM_GETDEFID), 1);
    box.send(DM_SETDEFID, 2);
    EXPECT_EQ(box.defaultButtonId(), 2);

    // A long text wraps at the wrapping width.
    ktMessageBox wide(
        std::string(40, 'w') + " " + std::string(60, 'v') + " " + std::string(60, 'u'), "*1 &OK");
    ASSERT_TRUE(wide.create("Wide", kNoWindow));
    EXPECT_EQ(wide.layout().width, 60 * 7 + 24 + 44);
    EXPECT_EQ(wide.layout().height, 3 * 14 + 24 + 36);
}

TEST_F(MessageBoxTest, ClosingResultsFromKeysButtonsAndTheCloseBox) {
    // Enter: the focused default button.
    whenWaiting([&] {
        EXPECT_FALSE(host.isEnabled(owner.handle()));
        host.keyDown(VK_RETURN);
    });
    EXPECT_EQ(messageBox(owner.handle(), "Save changes?", "Penwick", MB_YESNO), IDYES);
    EXPECT_TRUE(host.isEnabled(owner.handle()));

    // Tab to the next button, then Enter.
    whenWaiting([&] {
        host.keyDown(VK_TAB);
        host.keyDown(VK_RETURN);
    });
    EXPECT_EQ(messageBox(owner.handle(), "Save?", "", MB_YESNOCANCEL), IDNO);

    // A mnemonic with Alt.
    whenWaiting([&] { host.keyDown('C', {false, false, true}); });
    EXPECT_EQ(messageBox(owner.handle(), "Go on?", "", MB_OKCANCEL), IDCANCEL);

    // The close box and Escape give 2.
    // (Posted, as the desktop queues it, so that the loop has a message.)
    whenWaiting([&] { host.postMessage(host.foregroundWindow(), WM_CLOSE, 0, 0); });
    EXPECT_EQ(messageBox(owner.handle(), "Retry?", "", MB_RETRYCANCEL), IDCANCEL);
    whenWaiting([&] { host.keyDown(VK_ESCAPE); });
    EXPECT_EQ(messageBox(owner.handle(), "Abort?", "", MB_ABORTRETRYIGNORE), IDCANCEL);

    // A mouse click on a button.
    whenWaiting([&] {
        Window box = host.foregroundWindow();
        Window abort = host.children(box)[0];
        host.mousePress(abort, headless::MouseButton::left, {5, 5});
        host.mouseRelease(abort, headless::MouseButton::left, {5, 5});
    });
    EXPECT_EQ(messageBox(owner.handle(), "Abort?", "", MB_ABORTRETRYIGNORE), IDABORT);
    EXPECT_TRUE(host.isEnabled(owner.handle()));
}

TEST_F(MessageBoxTest, TypeChoosesButtonsIconBeepAndDefaultTitle) {
    std::vector<std::string> labels;
    std::string title;
    whenWaiting([&] {
        Window box = host.foregroundWindow();
        title = host.windowText(box);
        for (Window b : host.children(box))
            labels.push_back(host.windowText(b));
        host.keyDown(VK_ESCAPE);
    });
    messageBox(owner.handle(), "Really?", "", MB_YESNOCANCEL | MB_ICONQUESTION);
    EXPECT_EQ(labels, (std::vector<std::string>{"&Yes", "&No", "&Cancel"}));
    EXPECT_EQ(title, "Penwick");
    EXPECT_EQ(host.beeps(), std::vector<std::uint32_t>{MB_ICONQUESTION});

    whenWaiting([&] { host.keyDown(VK_ESCAPE); });
    messageBox(owner.handle(), "Plain", "Title", MB_OK);
    EXPECT_EQ(host.beeps().size(), 1u);  // no icon, no beep
}

TEST_F(MessageBoxTest, AQuitDuringTheModalRunEndsItAndIsPostedAgain) {
    whenWaiting([&] { host.postQuitMessage(3); });
    EXPECT_EQ(messageBox(owner.handle(), "Bye", "", MB_OK), 1);  // the initial result
    Message quit;
    ASSERT_TRUE(host.peekMessage(quit, kNoWindow, WM_QUIT, WM_QUIT, true));
    EXPECT_EQ(quit.wParam, 3u);
}

TEST_F(MessageBoxTest, CopiesItselfAsTextFromTheContextMenuAndCtrlC) {
    std::string expected = kDashes + "T\n" + kDashes + "X\n" + kDashes + "&OK   \n" + kDashes;
    ktMessageBox box("X", "*1 &OK");
    ASSERT_TRUE(box.create("T", owner.handle()));
    EXPECT_EQ(box.copyText(), expected.c_str());

    host.scriptPopupMenu(0x7F00);
    box.send(WM_CONTEXTMENU, WParam(box.handle()), makeLParam(50, 50));
    ASSERT_EQ(host.popupMenusShown().size(), 1u);
    EXPECT_EQ(host.clipboardText(), expected);

    // Ctrl+C in the modal loop; long texts wrap at 50 columns.
    std::string sentence =
        "The quick brown fox jumps over the lazy dog while the painter keeps drawing lines.";
    whenWaiting([&] {
        host.keyDown('C', {false, true, false});
        host.keyUp('C');
        host.keyDown(VK_ESCAPE);
    });
    messageBox(owner.handle(), sentence, "Long", MB_OKCANCEL);
    std::string copied = host.clipboardText().value_or("");
    EXPECT_EQ(copied, kDashes + "Long\n" + kDashes +
                          "The quick brown fox jumps over the lazy dog while\n"
                          "the painter keeps drawing lines.\n" +
                          kDashes + "&OK   &Cancel   \n" + kDashes);
}

TEST_F(MessageBoxTest, LinkButtonOpensItsTargetAndLeavesTheBoxOpen) {
    Window box = showMessageBox(owner.handle(), "Penwick 0.1", "About",
                                ":https://example.org/penwick\t &Web...\n*1 &OK");
    ASSERT_NE(box, kNoWindow);
    std::vector<Window> buttons = host.children(box);
    ASSERT_EQ(buttons.size(), 2u);
    EXPECT_EQ(host.windowId(buttons[0]), -1);
    EXPECT_EQ(host.windowText(buttons[0]), " &Web...");
    host.sendMessage(buttons[0], BM_CLICK, 0, 0);
    ASSERT_EQ(host.shellCalls().size(), 1u);
    EXPECT_EQ(host.shellCalls()[0].file, "https://example.org/penwick");
    EXPECT_TRUE(host.isWindow(box));
    host.sendMessage(buttons[1], BM_CLICK, 0, 0);
    EXPECT_FALSE(host.isWindow(box));  // closed, and the object went with it
}

TEST_F(MessageBoxTest, SixButtonsInABoxShrinkToFit) {
    ktMessageBox box("X", "1 A\n2 B\n3 C\n4 D\n5 E\n*6 F");
    ASSERT_TRUE(box.create("Six", kNoWindow));
    std::vector<Window> buttons = host.children(box.handle());
    ASSERT_EQ(buttons.size(), 6u);
    for (Window b : buttons)
        EXPECT_EQ(host.windowRect(b).width(), 36);
    EXPECT_EQ(host.focusWindow(), buttons[5]);
    EXPECT_LE(host.windowRect(buttons[5]).right, 284 - 12);
}

}  // namespace
}  // namespace penwick
