// The canvas's keys on the headless host, family by family: what a person
// sees of the pen, the view, the insertion point, the selection, the
// history and the clipboard after pressing them.
#include <gtest/gtest.h>

#include "canvas/canvas_keys.h"
#include "canvas/canvas_view.h"
#include "host/dialogs.h"
#include "host/keys.h"
#include "host/window_style.h"
#include "tests/framework/headless_fixture.h"

namespace penwick {
namespace {

using namespace host;
using host::headless::Modifiers;
using host::headless::MouseButton;
using testing::HeadlessTest;

constexpr Modifiers kShift{.shift = true};
constexpr Modifiers kCtrl{.control = true};
constexpr Modifiers kCtrlShift{.shift = true, .control = true};

class KeysTest : public HeadlessTest {
  protected:
    KeysTest() {
        frame_.create(nullptr, "frame", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, kNoWindow, 0, 0, 700,
                      500, 0);
        const Rect client = host.clientRect(frame_.handle());
        view.create(nullptr, "", WS_CHILD | WS_VISIBLE, 0, frame_.handle(), 0, 0, client.width(),
                    client.height(), 0);
        view.penSize = 10;
        host.setFocus(view.handle());
        pump();
    }
    ~KeysTest() override { CanvasView::platformRendering = false; }

    // One press and release, the modifiers held throughout.
    void key(int vk, Modifiers mods = {}) {
        host.keyDown(vk, mods);
        host.keyUp(vk, mods);
        pump();
    }
    // A key held down for `presses` presses (the later ones auto-repeats).
    void hold(int vk, int presses, Modifiers mods = {}) {
        for (int i = 0; i < presses; ++i)
            host.keyDown(vk, mods);
        host.keyUp(vk, mods);
        pump();
    }
    void tick() {
        host.advance(kCanvasTimerPeriodMs);
        pump();
    }
    // A committed shape drawn with the mouse along a horizontal line.
    void mouseLine(int x0, int x1, int y) {
        host.mousePress(view.handle(), MouseButton::left, {x0, y});
        for (int x = x0 + 10; x <= x1; x += 10)
            host.mouseMove(view.handle(), {x, y});
        host.mouseRelease(view.handle(), MouseButton::left, {x1, y});
        pump();
    }
    // Where the first point of shape i shows in the window.
    Vec3 shown(int i) const {
        const StrokePoint& p = view.sketch.shapes[i].groups[0].strokes[0].points[0];
        return view.sketch.viewTransform().apply(Vec3{p.x, p.y, p.radius});
    }
    Rect client() const { return host.clientRect(view.handle()); }
    int32_t ink() const { return view.sketch.current.colour; }
    int32_t fill() const { return view.sketch.current.fillColour; }

    ktWnd frame_;
    CanvasView view;
};

TEST_F(KeysTest, ColourKeysSetMixAndClearThePenColours) {
    key('K');
    EXPECT_EQ(ink(), 0x000000);
    key('R');  // half way from black to red, truncated
    EXPECT_EQ(ink(), 0x7F0000);
    key('G', kShift);  // modifiers do not matter
    EXPECT_EQ(ink(), 0x3F7F00);
    key('B');
    EXPECT_EQ(ink(), 0x1F3F7F);
    key('6');
    EXPECT_EQ(ink(), 0x8F9FBF);
    key('5');
    EXPECT_EQ(ink(), 0x474F5F);
    EXPECT_EQ(fill(), -1);  // the fill mode is 1: no fill

    key(VK_SPACE);  // fill mode 2: the fill follows the ink at once
    EXPECT_EQ(view.fillMode, 2);
    EXPECT_EQ(fill(), 0x474F5F);
    key('W');
    EXPECT_EQ(ink(), 0xFFFFFF);
    EXPECT_EQ(fill(), 0xFFFFFF);
    key('N', kShift);
    EXPECT_EQ(ink(), 0xFFFFFF);
    EXPECT_EQ(fill(), -1);
    key('N');
    EXPECT_EQ(ink(), -1);
    key(VK_SPACE);
    EXPECT_EQ(view.fillMode, 1);

    // A stroke drawn now takes the pen's colours.
    key('K');
    key(VK_SPACE);
    mouseLine(100, 200, 100);
    ASSERT_EQ(view.sketch.shapes.count(), 1);
    EXPECT_EQ(view.sketch.shapes[0].colour, 0);
    EXPECT_EQ(view.sketch.shapes[0].fillColour, 0);
}

TEST_F(KeysTest, PenSizeKeysRepeatWithoutBoundAndKeypadKeysScaleTheViewOrTheRadii) {
    hold('A', 81);  // 10 - 81 / 8: auto-repeat acts like new presses
    EXPECT_DOUBLE_EQ(view.penSize, -0.125);
    hold('Q', 81, kShift);
    EXPECT_DOUBLE_EQ(view.penSize, 10);
    key('A', kCtrl);  // not the pen size: select all
    EXPECT_DOUBLE_EQ(view.penSize, 10);

    mouseLine(100, 200, 100);
    const Vec3 before = shown(0);
    view.modified = false;
    key(VK_ADD, kCtrl);  // radii double, positions and the pen stay
    Vec3 after = shown(0);
    EXPECT_FLOAT_EQ(after.x, before.x);
    EXPECT_FLOAT_EQ(after.z, 2 * before.z);
    EXPECT_DOUBLE_EQ(view.penSize, 10);
    EXPECT_TRUE(view.modified);
    key(VK_SUBTRACT, kCtrlShift);  // every radius less 0.05 pixel
    EXPECT_NEAR(shown(0).z, 2 * before.z - 0.05, 1e-5);
    key(VK_ADD, kCtrlShift);
    key(VK_SUBTRACT, kCtrl);
    EXPECT_NEAR(shown(0).z, before.z, 1e-5);
    EXPECT_DOUBLE_EQ(view.penSize, 10);

    // Alone (or with Shift) the keypad zooms about the centre, pen included.
    const double cx = client().width() / 2;
    key(VK_ADD, kShift);
    after = shown(0);
    EXPECT_NEAR(after.x - cx, 2 * (before.x - cx), 1e-3);
    EXPECT_NEAR(after.z, 2 * before.z, 1e-5);
    EXPECT_DOUBLE_EQ(view.penSize, 20);
    key(VK_SUBTRACT);
    EXPECT_NEAR(shown(0).x, before.x, 1e-3);
    EXPECT_DOUBLE_EQ(view.penSize, 10);
}

TEST_F(KeysTest, ViewKeysPanMirrorResetAndShrinkOnTheTimer) {
    mouseLine(100, 200, 100);
    const Vec3 at = shown(0);
    const Rect c = client();
    key(VK_RIGHT);
    EXPECT_NEAR(shown(0).x, at.x + c.width() / 16.0, 1e-3);
    key(VK_LEFT, kCtrlShift);
    key(VK_DOWN);
    EXPECT_NEAR(shown(0).x, at.x, 1e-3);
    EXPECT_NEAR(shown(0).y, at.y + c.height() / 16.0, 1e-3);
    key(VK_UP);
    EXPECT_NEAR(shown(0).y, at.y, 1e-3);

    // Mirrors turn about the window's centre in whole pixels.
    const double cx = c.width() / 2, cy = c.height() / 2;
    key('H');
    EXPECT_NEAR(shown(0).x, 2 * cx - at.x, 1e-3);
    key('V');
    EXPECT_NEAR(shown(0).y, 2 * cy - at.y, 1e-3);
    EXPECT_DOUBLE_EQ(view.penSize, 10);  // mirrors keep the pen's size

    // Home brings the fitted view back and counts as a change.
    view.modified = false;
    key(VK_HOME);
    EXPECT_NEAR(shown(0).x, at.x, 1e-3);
    EXPECT_NEAR(shown(0).y, at.y, 1e-3);
    EXPECT_TRUE(view.modified);

    // Shift+Home fits the drawing into the window, less a margin of 8.
    key(VK_HOME, kShift);
    const RectF box = view.sketch.viewBounds();
    EXPECT_NEAR(box.left, 8, 0.5);
    EXPECT_NEAR(box.right, c.width() - 8, 0.5);

    // F7 shrinks the view by 0.5 % every tick until pressed again.
    const double size = view.penSize;
    key(VK_F7);
    EXPECT_EQ(view.repeatCommand, "scale 0.995");
    tick();
    tick();
    EXPECT_NEAR(view.penSize, size * 0.995 * 0.995, 1e-9);
    key(VK_F7);
    EXPECT_EQ(view.repeatCommand, "");
    tick();
    EXPECT_NEAR(view.penSize, size * 0.995 * 0.995, 1e-9);
}

TEST_F(KeysTest, InsertionPointKeysStopAtTheEndsOfTheDrawing) {
    key(VK_UP, kShift);  // no shapes: -1 becomes 0 and stops there
    EXPECT_EQ(view.sketch.insertIndex, 0);
    key(VK_DOWN, kShift);  // at the end of nothing: append
    EXPECT_EQ(view.sketch.insertIndex, -1);
    key(VK_DOWN, kShift);
    EXPECT_EQ(view.sketch.insertIndex, -1);

    mouseLine(100, 200, 100);
    mouseLine(100, 200, 150);
    mouseLine(100, 200, 200);
    key(VK_UP, kShift);
    EXPECT_EQ(view.sketch.insertIndex, 2);
    hold(VK_UP, 3, kShift);
    EXPECT_EQ(view.sketch.insertIndex, 0);
    key(VK_DOWN, kShift);
    EXPECT_EQ(view.sketch.insertIndex, 1);
    key(VK_DOWN, kShift);
    EXPECT_EQ(view.sketch.insertIndex, 2);
    key(VK_DOWN, kShift);  // from the last shape: append
    EXPECT_EQ(view.sketch.insertIndex, -1);
    key(VK_UP, kCtrlShift);
    EXPECT_EQ(view.sketch.insertIndex, 0);
    key(VK_DOWN, kCtrlShift);
    EXPECT_EQ(view.sketch.insertIndex, -1);
    key('E');
    EXPECT_EQ(view.sketch.insertIndex, 0);
    // The shape at the insertion point is the one Delete takes.
    key(VK_DELETE);
    EXPECT_EQ(view.sketch.shapes.count(), 2);
    EXPECT_NEAR(shown(0).y, 150, 1);
}

TEST_F(KeysTest, ToolLevelOptionAndSelectionKeys) {
    key('S');
    EXPECT_EQ(view.tool, Tool::select);
    key('D', kCtrl);
    EXPECT_EQ(view.tool, Tool::draw);
    key('1');
    EXPECT_EQ(view.sketch.editLevel, EditLevel::Point);
    key('2');
    EXPECT_EQ(view.sketch.editLevel, EditLevel::Stroke);
    key('3');
    EXPECT_EQ(view.sketch.editLevel, EditLevel::Group);
    key('4');
    EXPECT_EQ(view.sketch.editLevel, EditLevel::Shape);
    key('P');
    EXPECT_EQ(view.options & kUsePressure, 0u);
    key('P');
    EXPECT_EQ(view.options & kUsePressure, kUsePressure);

    mouseLine(100, 200, 100);
    mouseLine(100, 200, 150);
    key('A', kCtrl);
    EXPECT_EQ(view.sketch.selectedShapeCount(), 2);
    key(VK_ESCAPE);
    EXPECT_EQ(view.sketch.selectedShapeCount(), 0);
    key(VK_BACK);  // one point back, as a step that can be undone
    EXPECT_EQ(view.history.undoCount(), 3);

    // F8: white to black, then 0x202020 lighter each time up to white.
    EXPECT_EQ(view.sketch.background, 0xFFFFFFu);
    view.modified = false;
    key(VK_F8);
    EXPECT_EQ(view.sketch.background, 0x000000u);
    EXPECT_TRUE(view.modified);
    key(VK_F8);
    EXPECT_EQ(view.sketch.background, 0x202020u);
    view.sketch.background = 0xE0E0E0;
    key(VK_F8);
    EXPECT_EQ(view.sketch.background, 0xFFFFFFu);
    key(VK_F8);
    EXPECT_EQ(view.sketch.background, 0x000000u);
    const PixelBuffer& image = view.buffers.image();
    const uint8_t* corner = image.row(image.height() - 1) + 4 * (image.width() - 1);
    EXPECT_EQ(corner[0] | corner[1] | corner[2], 0);  // the paper shows black

    key('I');  // every colour inverted: the paper is white again
    EXPECT_EQ(view.sketch.background, 0xFFFFFFu);

    // F4 reports the points it removed in the main window's title.
    view.sketch.reducePoints();
    key(VK_F4);
    EXPECT_EQ(host.windowText(frame_.handle()), "0 points removed");
    key(VK_F5, kCtrl);
    EXPECT_TRUE(CanvasView::platformRendering);
    key(VK_F5, kCtrl);
    EXPECT_FALSE(CanvasView::platformRendering);
    key(VK_F12);  // nothing
}

TEST_F(KeysTest, UndoRedoAndTheClipboardBeepWhenThereIsNothingToDo) {
    key('Z', kCtrl);
    key('Y', kCtrl);
    key('C', kCtrl);  // nothing to copy
    key('V', kCtrl);  // nothing to paste
    EXPECT_EQ(host.beeps(),
              (std::vector<std::uint32_t>{MB_ICONHAND, MB_ICONHAND, MB_ICONHAND, MB_ICONHAND}));
    key('Z');  // without Ctrl: nothing
    key('Y');
    EXPECT_EQ(host.beeps().size(), 4u);

    mouseLine(100, 200, 100);
    key('Z', kCtrl);
    EXPECT_EQ(view.sketch.shapes.count(), 0);
    key('Y', kCtrl);
    EXPECT_EQ(view.sketch.shapes.count(), 1);

    // Copied shapes come back selected, before the insertion point, and the
    // page counts as changed.
    key('C', kCtrl);
    EXPECT_TRUE(host.isClipboardFormatAvailable("KT_BINARY"));
    view.modified = false;
    hold('V', 2, kCtrl);
    EXPECT_EQ(view.sketch.shapes.count(), 3);
    EXPECT_EQ(view.sketch.selectedShapeCount(), 1);  // the second paste's
    EXPECT_TRUE(view.modified);
    EXPECT_EQ(host.beeps().size(), 4u);

    // With shapes selected only those are copied.
    mouseLine(100, 200, 300);
    key('C', kCtrl);
    key(VK_ESCAPE);
    key('V', kCtrl);
    EXPECT_EQ(view.sketch.shapes.count(), 5);

    // Ctrl+Shift+C copies a picture instead.
    key('C', kCtrlShift);
    EXPECT_NE(host.clipboardPicture(), nullptr);
}

TEST_F(KeysTest, EveryRowOfTheMapIsReachableAndRowsOfOneKeyNeverOverlap) {
    for (const KeyBinding& row : canvasKeyMap()) {
        for (bool shift : {false, true})
            for (bool ctrl : {false, true}) {
                const bool wants =
                    (row.shift == Held::any || (row.shift == Held::down) == shift) &&
                    (row.control == Held::any || (row.control == Held::down) == ctrl);
                if (!wants) continue;
                EXPECT_EQ(findKeyBinding(row.key, shift, ctrl), &row)
                    << "key " << row.key << " shift " << shift << " ctrl " << ctrl;
            }
    }
    EXPECT_EQ(findKeyBinding('C', false, false), nullptr);
    EXPECT_EQ(findKeyBinding('C', true, false), nullptr);
}

}  // namespace
}  // namespace penwick
