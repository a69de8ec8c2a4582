#include "framework/controls/button.h"

#include <string>
#include <vector>

#include "host/keys.h"
#include "host/messages.h"
#include "host/window_style.h"
#include "tests/framework/headless_fixture.h"

namespace penwick {
namespace {

using namespace host;
using headless::DrawOp;
using headless::Modifiers;
using headless::MouseButton;
using testing::HeadlessTest;

struct CommandSink : ktWnd {
    std::vector<int> commands;
    int onCommand(int id) override {
        commands.push_back(id);
        return 1;
    }
};

struct CountingButton : ktButton {
    int presses = 0;
    int clicks = 0;
    void onPress() override { ++presses; }
    void onClick() override {
        ++clicks;
        ktButton::onClick();
    }
};

class ButtonTest : public HeadlessTest {
  protected:
    ButtonTest() {
        EXPECT_TRUE(parent.create(nullptr, "Box", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, kNoWindow, 0,
                                  0, 400, 300, 0));
        EXPECT_TRUE(button.create(nullptr, "&OK", WS_CHILD | WS_VISIBLE | WS_TABSTOP, 0,
                                  parent.handle(), 20, 20, 80, 24, 1));
    }
    bool pressed() const { return button.flags() & ktButton::kPressed; }

    CommandSink parent;
    CountingButton button;
};

TEST_F(ButtonTest, SpaceKeyFollowsTheTableRows) {
    host.setFocus(button.handle());
    // Space down: pressed, onPress.
    host.keyDown(VK_SPACE);
    pump();
    EXPECT_TRUE(pressed());
    EXPECT_EQ(button.presses, 1);
    // Auto-repeat while pressed: nothing more.
    host.keyDown(VK_SPACE);
    pump();
    EXPECT_EQ(button.presses, 1);
    // Space up: released, clicked, the command reaches the parent.
    host.keyUp(VK_SPACE);
    pump();
    EXPECT_FALSE(pressed());
    EXPECT_EQ(button.clicks, 1);
    EXPECT_EQ(parent.commands, std::vector<int>{1});
    EXPECT_TRUE(button.flags() & ktButton::kClickedOnce);
    // Space up without a press: nothing.
    host.keyUp(VK_SPACE);
    pump();
    EXPECT_EQ(button.clicks, 1);
}

TEST_F(ButtonTest, MouseFollowsTheTableRows) {
    // Down: pressed, focus, capture.
    host.mousePress(button.handle(), MouseButton::left, {10, 10});
    pump();
    EXPECT_TRUE(pressed());
    EXPECT_EQ(button.presses, 1);
    EXPECT_EQ(host.focusWindow(), button.handle());
    EXPECT_EQ(host.captureWindow(), button.handle());
    // Out and back in while captured.
    host.mouseMove(button.handle(), {200, 10});
    pump();
    EXPECT_FALSE(pressed());
    host.mouseMove(button.handle(), {40, 12});
    pump();
    EXPECT_TRUE(pressed());
    // Up inside: clicked.
    host.mouseRelease(button.handle(), MouseButton::left, {40, 12});
    pump();
    EXPECT_EQ(host.captureWindow(), kNoWindow);
    EXPECT_FALSE(pressed());
    EXPECT_EQ(parent.commands, std::vector<int>{1});

    // Down, moved out, released outside: no click.
    host.mousePress(button.handle(), MouseButton::left, {10, 10});
    host.mouseMove(button.handle(), {-30, 10});
    host.mouseRelease(button.handle(), MouseButton::left, {-30, 10});
    pump();
    EXPECT_EQ(button.clicks, 1);
    EXPECT_EQ(parent.commands.size(), 1u);
    EXPECT_EQ(host.captureWindow(), kNoWindow);
}

TEST_F(ButtonTest, ShiftClickDoesNothing) {
    Modifiers shift{true, false, false};
    host.mousePress(button.handle(), MouseButton::left, {10, 10}, shift);
    host.mouseRelease(button.handle(), MouseButton::left, {10, 10}, shift);
    pump();
    EXPECT_EQ(button.clicks, 1);           // onClick ran...
    EXPECT_TRUE(parent.commands.empty());  // ...and did nothing
    EXPECT_FALSE(button.flags() & ktButton::kClickedOnce);
}

TEST_F(ButtonTest, ToggleButtonsFlipTheirCheckOnRelease) {
    button.setFlags(ktButton::kTogglesOnRelease);
    host.setFocus(button.handle());
    host.keyDown(VK_SPACE);
    host.keyUp(VK_SPACE);
    pump();
    EXPECT_TRUE(button.flags() & ktButton::kChecked);
    host.mousePress(button.handle(), MouseButton::left, {5, 5});
    host.mouseRelease(button.handle(), MouseButton::left, {5, 5});
    pump();
    EXPECT_FALSE(button.flags() & ktButton::kChecked);
}

TEST_F(ButtonTest, CommandsGoToTheOwnerInPlaceOfTheParent) {
    CommandSink owner;
    ASSERT_TRUE(
        owner.create(nullptr, "Owner", WS_OVERLAPPEDWINDOW, 0, kNoWindow, 0, 0, 100, 100, 0));
    button.setOwner(owner.handle());
    button.send(BM_CLICK);
    EXPECT_EQ(owner.commands, std::vector<int>{1});
    EXPECT_TRUE(parent.commands.empty());
}

TEST_F(ButtonTest, ProgrammaticClickPressesWaitsAndReleases) {
    std::int64_t before = host.millisecondsSinceStart();
    button.send(BM_CLICK);
    EXPECT_EQ(host.millisecondsSinceStart() - before, 100);
    EXPECT_EQ(button.presses, 1);
    EXPECT_EQ(button.clicks, 1);
    EXPECT_FALSE(pressed());
    EXPECT_EQ(parent.commands, std::vector<int>{1});
}

TEST_F(ButtonTest, LinksOpenTheirTargetAndShowTheHandCursor) {
    CountingButton link;
    link.setStyle(ktButton::kLinkLook);
    link.setLinkTarget("https://example.org/penwick");
    ASSERT_TRUE(
        link.create(nullptr, "Web", WS_CHILD | WS_VISIBLE, 0, parent.handle(), 0, 0, 60, 20, -1));
    host.mousePress(link.handle(), MouseButton::left, {5, 5});
    pump();
    EXPECT_EQ(host.cursor(), Cursor::hand);
    host.mouseMove(link.handle(), {6, 6});
    host.mouseRelease(link.handle(), MouseButton::left, {5, 5});
    pump();
    ASSERT_EQ(host.shellCalls().size(), 1u);
    EXPECT_EQ(host.shellCalls()[0].file, "https://example.org/penwick");
    EXPECT_TRUE(parent.commands.empty());

    // Hot while the pointer is over it; the timer clears it once it left.
    EXPECT_TRUE(link.flags() & ktButton::kHot);
    host.setCursorPos(host.clientToScreen(link.handle(), {300, 300}));
    host.advance(50);
    pump();
    EXPECT_FALSE(link.flags() & ktButton::kHot);
}

TEST_F(ButtonTest, AnswersTheDialogCodeOfItsKind) {
    EXPECT_EQ(button.send(WM_GETDLGCODE), DLGC_UNDEFPUSHBUTTON);
    button.setFlags(ktButton::kDefault);
    EXPECT_EQ(button.send(WM_GETDLGCODE), DLGC_DEFPUSHBUTTON);
}

TEST_F(ButtonTest, PaintsEdgesFramesAndFocusByState) {
    auto paintOps = [&] {
        host.drawLog(button.handle()).clear();
        button.invalidate();
        host.paint(button.handle());
        return host.drawLog(button.handle());
    };
    auto find = [](const std::vector<DrawOp>& ops, DrawOp::Kind kind) {
        for (const DrawOp& op : ops)
            if (op.kind == kind) return &op;
        return static_cast<const DrawOp*>(nullptr);
    };

    std::vector<DrawOp> ops = paintOps();
    ASSERT_NE(find(ops, DrawOp::Kind::drawEdge), nullptr);
    EXPECT_EQ(find(ops, DrawOp::Kind::drawEdge)->flags, std::uint32_t(Edge::raised));
    EXPECT_EQ(find(ops, DrawOp::Kind::drawEdge)->rect, (Rect{0, 0, 80, 24}));
    EXPECT_EQ(find(ops, DrawOp::Kind::fillRect)->colour, host.systemColour(COLOR_BTNFACE));
    EXPECT_EQ(find(ops, DrawOp::Kind::drawText)->text, "&OK");
    EXPECT_EQ(find(ops, DrawOp::Kind::drawFocusRect), nullptr);

    // Pressed, focused, default: a black frame, a sunken edge one pixel in,
    // the text moved and the focus rectangle.
    button.setFlags(ktButton::kDefault | ktButton::kPressed);
    host.setFocus(button.handle());
    ops = paintOps();
    EXPECT_EQ(ops[0].kind, DrawOp::Kind::fillRect);
    EXPECT_EQ(ops[0].colour, 0u);
    EXPECT_EQ(find(ops, DrawOp::Kind::drawEdge)->flags, std::uint32_t(Edge::sunken));
    EXPECT_EQ(find(ops, DrawOp::Kind::drawEdge)->rect, (Rect{1, 1, 79, 23}));
    EXPECT_EQ(find(ops, DrawOp::Kind::drawText)->rect, (Rect{2, 2, 80, 24}));
    ASSERT_NE(find(ops, DrawOp::Kind::drawFocusRect), nullptr);
    EXPECT_EQ(find(ops, DrawOp::Kind::drawFocusRect)->rect, (Rect{4, 4, 76, 20}));

    // Hot: the face mixed a quarter toward yellow.
    button.setFlags(ktButton::kHot);
    ops = paintOps();
    EXPECT_EQ(find(ops, DrawOp::Kind::fillRect)->colour,
              mixColours(host.systemColour(COLOR_BTNFACE), 0x00FFFF, 0.25));

    // Links: no frame; blue, light when hot, orange while pressed.
    button.setStyle(ktButton::kLinkLook);
    button.setFlags(0);
    ops = paintOps();
    EXPECT_EQ(find(ops, DrawOp::Kind::drawEdge), nullptr);
    EXPECT_EQ(find(ops, DrawOp::Kind::drawText)->colour, 0xFF0000u);
    button.setFlags(ktButton::kHot);
    EXPECT_EQ(find(paintOps(), DrawOp::Kind::drawText)->colour, 0xFF8080u);
    button.setFlags(ktButton::kPressed);
    EXPECT_EQ(find(paintOps(), DrawOp::Kind::drawText)->colour, 0x0080FFu);
    host.enableWindow(button.handle(), false);
    EXPECT_EQ(find(paintOps(), DrawOp::Kind::drawText)->colour,
              mixColours(0, host.systemColour(COLOR_BTNFACE), 0.5));
}

TEST(ColourMix, MixesEachByteLinearly) {
    EXPECT_EQ(mixColours(0x000000, 0xF0F0F0, 0.5), 0x787878u);
    EXPECT_EQ(mixColours(0xF0F0F0, 0x00FFFF, 0.25), 0xB4F3F3u);
    EXPECT_EQ(mixColours(0x80FF0000u, 0x00000000, 0.5), 0x407F0000u);
}

}  // namespace
}  // namespace penwick
