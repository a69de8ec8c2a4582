// The canvas's drawing window on the headless host: it shows a sketch as the
// export draws it at the window's size, in its back buffer, draws it again
// when the size changes, and an unreadable file leaves it empty.
#include "canvas/canvas_view.h"

#include <gtest/gtest.h>

#include <string>

#include "framework/platform/bitmap.h"
#include "host/window_style.h"
#include "model/sketch_file.h"
#include "render/sketch_drawing.h"
#include "tests/framework/headless_fixture.h"
#include "tests/support/pixels.h"
#include "tests/support/temp_folder.h"

namespace penwick {
namespace {

using namespace host;
using testing::HeadlessTest;
using testing::sameColours;

const std::string kExample = std::string(PENWICK_SOURCE_DIR) + "/examples/flower.wnk";

// The picture the export draws of the example at this size.
PixelBuffer exportedPicture(int width, int height) {
    Sketch sketch;
    EXPECT_TRUE(loadSketchFile(kExample, sketch));
    sketch.setWindowFit(width, height);
    PixelBuffer picture;
    EXPECT_TRUE(drawSketchPicture(sketch, width, height, picture));
    return picture;
}

class CanvasViewTest : public HeadlessTest {
  protected:
    // After a paint: the picture and the back buffer are what the export
    // draws of the example at the view's client size.
    void expectTheExampleAtItsSize(CanvasView& view) {
        host.paint();
        const Rect client = host.clientRect(view.handle());
        EXPECT_EQ(view.picture().width(), client.width());
        EXPECT_EQ(view.picture().height(), client.height());
        const PixelBuffer expected = exportedPicture(client.width(), client.height());
        EXPECT_TRUE(sameColours(view.picture(), expected));
        ASSERT_NE(view.backBuffer(), nullptr);
        EXPECT_TRUE(sameColours(pixelBufferOf(*view.backBuffer()), expected));
    }

    // The view as a top-level window with a client area of about this size.
    void open(CanvasView& view, int width, int height) {
        ASSERT_TRUE(view.create(nullptr, "canvas", WS_POPUP | WS_VISIBLE, 0, kNoWindow, 0, 0, width,
                                height, 0));
    }
};

TEST_F(CanvasViewTest, ShowsTheSketchAsTheExportDrawsItInItsBackBuffer) {
    CanvasView view;
    open(view, 300, 200);
    std::string error;
    ASSERT_TRUE(view.load(kExample, error)) << error;
    EXPECT_EQ(error, "");
    EXPECT_TRUE(view.picture().isEmpty());  // nothing drawn before the first paint
    expectTheExampleAtItsSize(view);
}

TEST_F(CanvasViewTest, ANewSizeIsDrawnAgainAtThatSize) {
    CanvasView view;
    open(view, 300, 200);
    std::string error;
    ASSERT_TRUE(view.load(kExample, error));
    host.paint();
    host.moveWindow(view.handle(), {0, 0, 420, 150}, true);
    expectTheExampleAtItsSize(view);
}

TEST_F(CanvasViewTest, AnUnreadableFileLeavesTheViewEmptyAndSaysWhy) {
    CanvasView view;
    open(view, 200, 100);
    std::string error;
    ASSERT_TRUE(view.load(kExample, error));
    TempFolder folder;
    writeFileText(folder.file("broken.wnk"), "not a sketch");
    EXPECT_FALSE(view.load(folder.file("broken.wnk"), error));
    EXPECT_NE(error, "");
    EXPECT_EQ(view.sketch().shapes.count(), 0);
    host.paint();
    // An empty sketch: only the paper.
    Rect client = host.clientRect(view.handle());
    Sketch empty;
    empty.setWindowFit(client.width(), client.height());
    PixelBuffer paper;
    ASSERT_TRUE(drawSketchPicture(empty, client.width(), client.height(), paper));
    EXPECT_TRUE(sameColours(view.picture(), paper));
}

}  // namespace
}  // namespace penwick
