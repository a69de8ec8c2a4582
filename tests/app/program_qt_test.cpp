// The program on the Qt host with the offscreen platform: it starts, shows
// a file, follows a resize, shows the about box and closes cleanly.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "app/program_resources.h"
#include "app/sketch_app.h"
#include "framework/platform/bitmap.h"
#include "host/messages.h"
#include "host/qt/qt_host.h"
#include "host/window_style.h"
#include "model/sketch_file.h"
#include "render/sketch_drawing.h"
#include "tests/app/app_test_support.h"
#include "tests/app/script_driver.h"
#include "tests/support/private_home.h"

namespace penwick {
namespace {

using namespace host;

const std::string& kExample = testing::kExampleSketch;
using testing::sameColours;

// The canvas's back buffer is what the export draws, its pen swatch aside.
bool drawnLikeTheExport(CanvasView& view, int width, int height) {
    Sketch sketch;
    if (!loadSketchFile(kExample, sketch) || !view.backBuffer()) return false;
    sketch.setWindowFit(width, height);
    PixelBuffer expected;
    return drawSketchPicture(sketch, width, height, expected) &&
           testing::sameColoursOutsideCorner(pixelBufferOf(*view.backBuffer()), expected,
                                             testing::kSwatchCornerWidth,
                                             testing::kSwatchCornerHeight);
}

using Driver = testing::ScriptDriver;

class ProgramOnQt : public ::testing::Test {
  protected:
    testing::PrivateHome home_;
};

TEST_F(ProgramOnQt, StartsShowsAFileResizesShowsTheAboutBoxAndCloses) {
    static char name[] = "penwick";
    char* argv[] = {name, nullptr};
    qt::QtHost qtHost(1, argv);
    setInstance(&qtHost);
    {
        SketchApp app;
        Driver driver;
        std::string aboutTitle;
        bool aboutClosed = false;
        auto frame = [&] { return app.mainFrame(); };
        driver.steps = {
            // Shown, titled, and drawn as the export draws it at this size.
            [&] {
                if (!frame() || !frame()->view()) return false;
                Rect client = qtHost.clientRect(frame()->view()->handle());
                if (frame()->view()->buffers.width() != client.width()) return false;
                // The title follows in the loop's idle work.
                if (qtHost.windowText(frame()->handle()) != "flower.wnk") return false;
                EXPECT_TRUE(qtHost.isVisible(frame()->handle()));
                EXPECT_TRUE(drawnLikeTheExport(*frame()->view(), client.width(), client.height()));
                qtHost.moveWindow(frame()->handle(), {40, 40, 640, 500}, true);
                return true;
            },
            // Redrawn at the new size.
            [&] {
                Rect client = qtHost.clientRect(frame()->view()->handle());
                const CanvasBuffers& buffers = frame()->view()->buffers;
                if (buffers.width() != client.width() || buffers.height() != client.height())
                    return false;
                EXPECT_TRUE(drawnLikeTheExport(*frame()->view(), client.width(), client.height()));
                frame()->post(WM_COMMAND, kCommandAbout, 0);
                return true;
            },
            // The modal about box: its OK button closes it.
            [&] {
                Window box = kNoWindow;
                for (Window candidate :
                     {qtHost.parent(qtHost.focusWindow()), qtHost.foregroundWindow()})
                    if (qtHost.isWindow(candidate) && candidate != frame()->handle() &&
                        candidate != driver.handle() && qtHost.parent(candidate) == kNoWindow)
                        box = candidate;
                if (box == kNoWindow) return false;
                aboutTitle = qtHost.windowText(box);
                EXPECT_FALSE(qtHost.isEnabled(frame()->handle()));
                for (Window button : qtHost.children(box))
                    if (qtHost.windowText(button) == "&OK")
                        qtHost.sendMessage(button, 0x00F5 /* BM_CLICK */, 0, 0);
                aboutClosed = !qtHost.isWindow(box);
                return true;
            },
            // File > Exit.
            [&] {
                EXPECT_TRUE(qtHost.isEnabled(frame()->handle()));
                frame()->post(WM_COMMAND, kCommandExit, 0);
                return true;
            },
        };
        driver.start();
        int result = app.run(&programResources(), "\"" + kExample + "\"", SW_SHOW);
        EXPECT_EQ(result, 0);
        EXPECT_FALSE(driver.gaveUp);
        EXPECT_EQ(driver.next, driver.steps.size());
        EXPECT_EQ(aboutTitle, "Penwick");
        EXPECT_TRUE(aboutClosed);
        EXPECT_EQ(app.windowCount(), 0);
    }
    setInstance(nullptr);
}

}  // namespace
}  // namespace penwick
