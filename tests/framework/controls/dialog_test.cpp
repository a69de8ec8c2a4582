#include "framework/controls/dialog.h"

#include "host/dialogs.h"
#include "host/keys.h"
#include "host/messages.h"
#include "host/window_style.h"
#include "tests/framework/headless_fixture.h"

namespace penwick {
namespace {

using namespace host;
using testing::HeadlessTest;

ktResources printingResources() {
    ktResources r;
    DialogTemplate printing;
    printing.caption = "Printing";
    printing.width = 153;
    printing.height = 58;
    printing.fontFace = "MS Sans Serif";
    printing.fontPoints = 8;
    printing.style = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | WS_VISIBLE;
    printing.items = {{DialogItem::Kind::text, "Printing...", -1, 62, 17, 30, 8, false},
                      {DialogItem::Kind::button, "Cancel", IDCANCEL, 55, 37, 44, 14, false}};
    r.dialogs[151] = printing;
    return r;
}

struct RecordingDialog : ktDialog {
    using ktDialog::ktDialog;
    int initialised = 0;
    int onInitDialog() override {
        ++initialised;
        return ktDialog::onInitDialog();
    }
};

using DialogTest = HeadlessTest;

TEST_F(DialogTest, ShowsTheTemplateAndCancelEndsIt) {
    ktResources resources = printingResources();
    ktWnd owner;
    ASSERT_TRUE(owner.create(nullptr, "Main", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, kNoWindow, 0, 0,
                             800, 600, 0));
    RecordingDialog dialog(&resources);
    ASSERT_TRUE(dialog.showModeless(151, owner.handle()));
    EXPECT_EQ(dialog.initialised, 1);
    EXPECT_TRUE(host.isVisible(dialog.handle()));
    EXPECT_EQ(host.windowText(dialog.handle()), "Printing");
    EXPECT_EQ(host.owner(dialog.handle()), owner.handle());
    std::vector<Window> items = host.children(dialog.handle());
    ASSERT_EQ(items.size(), 2u);
    EXPECT_EQ(host.windowText(items[0]), "Printing...");
    EXPECT_EQ(host.windowText(items[1]), "Cancel");
    EXPECT_EQ(host.windowId(items[1]), IDCANCEL);
    // Dialog units follow the font: 8 points make 11 pixels, 5 wide.
    EXPECT_EQ(host.clientRect(dialog.handle()), (Rect{0, 0, 153 * 5 / 4, 58 * 11 / 8}));
    EXPECT_EQ(host.windowRect(items[1]),
              (Rect{55 * 5 / 4, 37 * 11 / 8, 55 * 5 / 4 + 44 * 5 / 4, 37 * 11 / 8 + 14 * 11 / 8}));

    // A second dialog on the same object is refused while the first lives.
    EXPECT_FALSE(dialog.showModeless(151, owner.handle()));
    EXPECT_FALSE(dialog.showModeless(999, owner.handle()));

    host.sendMessage(items[1], 0x00F5 /* BM_CLICK */, 0, 0);
    EXPECT_FALSE(dialog.isValid());
    EXPECT_EQ(dialog.result(), IDCANCEL);

    // Unknown templates make nothing.
    RecordingDialog missing(&resources);
    EXPECT_FALSE(missing.showModeless(7, owner.handle()));
}

TEST_F(DialogTest, RunsModallyUntilEndedAndMapsTheCloseCommands) {
    ktResources resources = printingResources();
    ktWnd owner;
    ASSERT_TRUE(owner.create(nullptr, "Main", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, kNoWindow, 0, 0,
                             800, 600, 0));
    RecordingDialog dialog(&resources);
    host.whenIdle([&] {
        EXPECT_FALSE(host.isEnabled(owner.handle()));
        host.keyDown(VK_ESCAPE);
    });
    EXPECT_EQ(dialog.runModal(151, owner.handle()), IDCANCEL);
    EXPECT_TRUE(host.isEnabled(owner.handle()));

    struct Accepting : RecordingDialog {
        using RecordingDialog::RecordingDialog;
        int accepted = 0;
        void accept() override {
            ++accepted;
            ktDialog::accept();
        }
    } second(&resources);
    ASSERT_TRUE(second.showModeless(151, owner.handle()));
    second.send(WM_COMMAND, IDOK, 0);
    EXPECT_EQ(second.accepted, 1);
    EXPECT_EQ(second.result(), IDOK);
    EXPECT_FALSE(second.isValid());

    RecordingDialog third(&resources);
    ASSERT_TRUE(third.showModeless(151, owner.handle()));
    third.send(WM_COMMAND, 8, 0);  // the close command cancels
    EXPECT_EQ(third.result(), IDCANCEL);
    ASSERT_TRUE(third.showModeless(151, owner.handle()));
    host.clickClose(third.handle());
    EXPECT_FALSE(third.isValid());
}

}  // namespace
}  // namespace penwick
