#include "framework/controls/control.h"

#include "host/keys.h"
#include "host/messages.h"
#include "host/window_style.h"
#include "tests/framework/headless_fixture.h"

namespace penwick {
namespace {

using namespace host;
using testing::HeadlessTest;

using ControlTest = HeadlessTest;

TEST_F(ControlTest, TakesTheFirstDialogFontTheHostCanMake) {
    {
        ktControl control;
        ASSERT_TRUE(host.fontInfo(control.font()).has_value());
        EXPECT_EQ(host.fontInfo(control.font())->face, "MS Shell Dlg");
        EXPECT_EQ(host.fontInfo(control.font())->height, 14);
    }
    host.setFontAvailable("MS Shell Dlg", false);
    ktControl fallback;
    ASSERT_TRUE(host.fontInfo(fallback.font()).has_value());
    EXPECT_EQ(host.fontInfo(fallback.font())->face, "MS Sans Serif");
    EXPECT_EQ(host.fontInfo(fallback.font())->height, 8);
}

TEST_F(ControlTest, LayoutAidAnswersBordersAndCaptionWhileCtrlShiftIsHeld) {
    Rect r{100, 100, 180, 124};
    EXPECT_EQ(ktControl::layoutHitTest(r, {101, 110}), HTLEFT);
    EXPECT_EQ(ktControl::layoutHitTest(r, {150, 102}), HTTOP);
    EXPECT_EQ(ktControl::layoutHitTest(r, {178, 110}), HTRIGHT);
    EXPECT_EQ(ktControl::layoutHitTest(r, {150, 110}), HTCAPTION);
    EXPECT_EQ(ktControl::layoutHitTest(r, {150, 122}), HTBOTTOM);

    EXPECT_EQ(ktControl::snapToGrid(11), 8);
    EXPECT_EQ(ktControl::snapToGrid(12), 16);
    EXPECT_EQ(ktControl::snapToGrid(13), 16);
    EXPECT_EQ(ktControl::snapToGrid(-3), 0);
    EXPECT_EQ(ktControl::snapToGrid(-5), -8);

    ktWnd parent;
    ASSERT_TRUE(parent.create(nullptr, "", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, kNoWindow, 0, 0,
                              300, 200, 0));
    ktControl control;
    ASSERT_TRUE(
        control.create(nullptr, "", WS_CHILD | WS_VISIBLE, 0, parent.handle(), 20, 20, 80, 24, 3));
    Point inside = host.clientToScreen(control.handle(), {40, 12});
    LParam at = makeLParam(inside.x, inside.y);
    // Without the keys the control answers as any window.
    EXPECT_EQ(control.send(WM_NCHITTEST, 0, at), 0);
    host.keyDown(VK_CONTROL, {true, true, false});
    pump();
    EXPECT_EQ(control.send(WM_NCHITTEST, 0, at), HTCAPTION);
    Point left = host.clientToScreen(control.handle(), {1, 12});
    EXPECT_EQ(control.send(WM_NCHITTEST, 0, makeLParam(left.x, left.y)), HTLEFT);

    Rect sizing{13, 21, 99, 45};
    control.send(WM_SIZING, WMSZ_BOTTOMRIGHT, LParam(&sizing));
    EXPECT_EQ(sizing, (Rect{13, 21, 96, 48}));
    control.send(WM_SIZING, WMSZ_TOPLEFT, LParam(&sizing));
    EXPECT_EQ(sizing, (Rect{16, 24, 96, 48}));
}

TEST_F(ControlTest, LayoutAidMovesAndSizesTheControlWithTheMouse) {
    ktWnd parent;
    ASSERT_TRUE(parent.create(nullptr, "", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, kNoWindow, 0, 0,
                              300, 200, 0));
    ktControl control;
    ASSERT_TRUE(
        control.create(nullptr, "", WS_CHILD | WS_VISIBLE, 0, parent.handle(), 20, 20, 80, 24, 3));
    const Rect placed = host.windowRect(control.handle());
    ASSERT_EQ(placed, (Rect{20, 20, 100, 44}));
    // Presses land on the control; moves and releases are given in the
    // parent's client area, which stays where it is.
    auto onControl = [&](Point parentPoint) {
        return Point{parentPoint.x - host.windowRect(control.handle()).left,
                     parentPoint.y - host.windowRect(control.handle()).top};
    };
    auto dragOn = [&](Point from, Point to, host::headless::Modifiers keys) {
        host.mousePress(control.handle(), host::headless::MouseButton::left, onControl(from), keys);
        pump();
        host.mouseMove(parent.handle(), to, keys);
        pump();
        host.mouseRelease(parent.handle(), host::headless::MouseButton::left, to, keys);
        pump();
        EXPECT_EQ(host.captureWindow(), kNoWindow);
    };

    // Without Ctrl and Shift the mouse is the control's own.
    dragOn({60, 32}, {75, 40}, {});
    EXPECT_EQ(host.windowRect(control.handle()), placed);

    // The middle moves it by exactly the mouse's way, without snapping.
    const host::headless::Modifiers layout{.shift = true, .control = true};
    dragOn({60, 32}, {65, 35}, layout);
    EXPECT_EQ(host.windowRect(control.handle()), (Rect{25, 23, 105, 47}));

    // The right edge follows the mouse and snaps to the grid of 8 in
    // screen coordinates; the other edges stay.
    const Point origin = host.clientToScreen(parent.handle(), {0, 0});
    dragOn({104, 30}, {117, 30}, layout);
    const int right = ktControl::snapToGrid(origin.x + 105 + 13) - origin.x;
    EXPECT_EQ(host.windowRect(control.handle()), (Rect{25, 23, right, 47}));

    // The bottom edge dragged above the top stops at it.
    dragOn({60, 46}, {60, 0}, layout);
    const Rect squashed = host.windowRect(control.handle());
    EXPECT_EQ(squashed.top, 23);
    EXPECT_EQ(squashed.bottom, 23);
}

}  // namespace
}  // namespace penwick
