// The program's start-up, main window and drawing window on the headless
// host.
#include "app/sketch_app.h"

#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "app/program_resources.h"
#include "framework/platform/bitmap.h"
#include "host/dialogs.h"
#include "host/keys.h"
#include "host/messages.h"
#include "host/window_style.h"
#include "model/sketch_file.h"
#include "render/sketch_drawing.h"
#include "tests/app/app_test_support.h"
#include "tests/framework/headless_fixture.h"

namespace penwick {
namespace {

using namespace host;
using testing::HeadlessTest;

const std::string& kExample = testing::kExampleSketch;
using testing::sameColours;

class SketchAppTest : public HeadlessTest {
  protected:
    // Closes the main window through File > Exit at the next wait.
    void exitWhenIdle(SketchApp& app) {
        host.whenIdle([&] { app.mainFrame()->post(WM_COMMAND, kCommandExit, 0); });
    }
};

TEST_F(SketchAppTest, ShowsTheFileFittedToTheWindowAndRedrawsOnResize) {
    SketchApp app;
    host.whenIdle([&] {
        MainFrame* frame = app.mainFrame();
        ASSERT_NE(frame, nullptr);
        EXPECT_TRUE(host.isVisible(frame->handle()));
        EXPECT_EQ(host.windowText(frame->handle()), "flower.wnk");
        EXPECT_EQ(host.windowMenu(frame->handle()), app.menu());
        CanvasView* view = frame->view();
        Rect client = host.clientRect(frame->handle());
        EXPECT_EQ(host.clientRect(view->handle()), client);
        host.paint();
        // The picture is what the export draws at this size.
        Sketch sketch;
        ASSERT_TRUE(loadSketchFile(kExample, sketch));
        sketch.setWindowFit(client.width(), client.height());
        PixelBuffer expected;
        ASSERT_TRUE(drawSketchPicture(sketch, client.width(), client.height(), expected));
        // The back buffer holds it, the pen swatch in its corner aside.
        ASSERT_NE(view->backBuffer(), nullptr);
        EXPECT_TRUE(testing::sameColoursOutsideCorner(pixelBufferOf(*view->backBuffer()), expected,
                                                      testing::kSwatchCornerWidth,
                                                      testing::kSwatchCornerHeight));

        // Resize: the view follows and draws again at the new size.
        host.moveWindow(frame->handle(), {0, 0, 500, 400}, true);
        host.paint();
        Rect smaller = host.clientRect(frame->handle());
        EXPECT_EQ(view->buffers.width(), smaller.width());
        EXPECT_EQ(view->buffers.height(), smaller.height());
        sketch.setWindowFit(smaller.width(), smaller.height());
        ASSERT_TRUE(drawSketchPicture(sketch, smaller.width(), smaller.height(), expected));
        EXPECT_TRUE(testing::sameColoursOutsideCorner(pixelBufferOf(*view->backBuffer()), expected,
                                                      testing::kSwatchCornerWidth,
                                                      testing::kSwatchCornerHeight));
    });
    exitWhenIdle(app);
    EXPECT_EQ(app.run(&programResources(), "\"" + kExample + "\"", SW_SHOW), 0);
    EXPECT_TRUE(host.messageBoxes().empty());
}

TEST_F(SketchAppTest, AnUnreadableFileIsReportedAndTheWindowOpensEmpty) {
    std::filesystem::path broken = folder() / "broken.wnk";
    std::ofstream(broken) << "not a sketch";
    SketchApp app;
    std::string reported;
    host.whenIdle([&] {
        // The message box runs modally over the shown main window.
        Window box = host.foregroundWindow();
        reported = host.windowText(box);
        EXPECT_NE(box, app.mainFrame()->handle());
        EXPECT_FALSE(host.isEnabled(app.mainFrame()->handle()));
        host.keyDown(VK_RETURN);
    });
    host.whenIdle([&] {
        // The page stays the new one it was: nothing will save over the file.
        EXPECT_EQ(host.windowText(app.mainFrame()->handle()), "Untitled");
        EXPECT_EQ(app.mainFrame()->currentFile(), "");
        EXPECT_EQ(app.mainFrame()->view()->sketch.shapes.count(), 0);
    });
    exitWhenIdle(app);
    EXPECT_EQ(app.run(&programResources(), broken.string(), SW_SHOW), 0);
    EXPECT_EQ(reported, "Penwick");
    EXPECT_EQ(host.beeps(), std::vector<std::uint32_t>{MB_ICONEXCLAMATION});
}

TEST_F(SketchAppTest, MenuShowsShortcutsHelpDisabledAndFullScreenChecked) {
    SketchApp app;
    host.whenIdle([&] {
        Window frame = app.mainFrame()->handle();
        Menu bar = host.windowMenu(frame);
        host.openMenuBarPopup(frame, 0);
        Menu file = host.menuItem(bar, 0)->subMenu;
        EXPECT_EQ(host.menuItem(file, 0)->text, "&New   \tCtrl+N");
        EXPECT_EQ(host.menuItem(file, 5)->text, "Save &As...   \tCtrl+Shift+S");
        EXPECT_EQ(host.menuItem(file, 9)->text, "Auto Save");  // no accelerator
        EXPECT_EQ(host.menuItem(file, 12)->text, "&Previous Page   \tAlt+Num 9");
        // Opening again does not add the shortcut twice.
        host.openMenuBarPopup(frame, 0);
        EXPECT_EQ(host.menuItem(file, 0)->text, "&New   \tCtrl+N");

        host.keyDown(VK_F11);  // Full Screen through its accelerator
    });
    host.whenIdle([&] {
        Window frame = app.mainFrame()->handle();
        EXPECT_TRUE(app.mainFrame()->isFullScreen());
        EXPECT_EQ(host.windowMenu(frame), kNoMenu);
        app.mainFrame()->setFullScreen(false);
        Menu bar = host.windowMenu(frame);
        host.openMenuBarPopup(frame, 5);
        Menu help = host.menuItem(bar, 5)->subMenu;
        EXPECT_TRUE(host.menuItem(help, 0)->flags & MF_GRAYED);
        EXPECT_EQ(host.menuItem(help, 0)->text, "&Help   \tF1");
        EXPECT_EQ(host.menuItem(help, 2)->text, "&About ...   \tAlt+/");
        host.openMenuBarPopup(frame, 2);
        Menu view = host.menuItem(bar, 2)->subMenu;
        EXPECT_FALSE(host.menuItem(view, 2)->flags & MF_CHECKED);
        app.mainFrame()->setFullScreen(true);
        host.sendMessage(frame, WM_INITMENUPOPUP, WParam(view), 0);
        EXPECT_TRUE(host.menuItem(view, 2)->flags & MF_CHECKED);
        app.mainFrame()->setFullScreen(false);
    });
    exitWhenIdle(app);
    EXPECT_EQ(app.run(&programResources(), "", SW_SHOW), 0);
}

TEST_F(SketchAppTest, AboutShowsTheModalBoxAndExitCloses) {
    SketchApp app;
    std::string title;
    host.whenIdle([&] {
        // Alt+/ is About.
        host.keyDown(VK_OEM_2, {false, false, true});
    });
    host.whenIdle([&] {
        Window box = host.foregroundWindow();
        title = host.windowText(box);
        EXPECT_FALSE(host.isEnabled(app.mainFrame()->handle()));
        host.keyDown(VK_RETURN, {});
    });
    exitWhenIdle(app);
    EXPECT_EQ(app.run(&programResources(), "", SW_SHOW), 0);
    EXPECT_EQ(title, "Penwick");
}

TEST(CommandLine, FirstTokenOrTheRestNamesTheFile) {
    char program[] = "penwick", first[] = "my sketch.wnk", second[] = "x";
    char* argv[] = {program, first, second};
    EXPECT_EQ(commandLineOf(3, argv), "\"my sketch.wnk\" x");
    EXPECT_EQ(commandLineOf(1, argv), "");

    std::filesystem::path folder =
        std::filesystem::temp_directory_path() / ("penwick-cmdline-" + std::to_string(getpid()));
    std::filesystem::create_directories(folder);
    std::string spaced = (folder / "a b.wnk").string();
    std::ofstream(spaced) << "x";
    EXPECT_EQ(fileOfCommandLine("\"" + spaced + "\""), spaced);
    EXPECT_EQ(fileOfCommandLine("--switch \"" + spaced + "\""), spaced);
    EXPECT_EQ(fileOfCommandLine("--switch " + spaced), spaced);
    // Unquoted, neither the first word nor the rest names the file.
    EXPECT_EQ(fileOfCommandLine(spaced), "");
    EXPECT_EQ(fileOfCommandLine("  missing.wnk"), "");
    EXPECT_EQ(fileOfCommandLine(""), "");
    std::filesystem::remove_all(folder);

    // --help and --version answer without starting; anything else starts.
    char help[] = "--help", version[] = "--version";
    char* asked[] = {program, help};
    std::ostringstream out;
    EXPECT_EQ(answerInformationOption(2, asked, out), 0);
    EXPECT_NE(out.str().find("Usage: penwick [FILE]"), std::string::npos);
    asked[1] = version;
    out.str("");
    EXPECT_EQ(answerInformationOption(2, asked, out), 0);
    EXPECT_EQ(out.str().rfind("penwick ", 0), 0u) << out.str();
    EXPECT_GT(out.str().size(), std::string("penwick \n").size());
    EXPECT_EQ(answerInformationOption(3, argv, out), std::nullopt);
}

}  // namespace
}  // namespace penwick
