// Printing from the main window on the headless host: the print dialog and
// its remembered settings, the pages printed, the "Printing" dialog and its
// Cancel, and the failures the user is told of.
#include "app/print_sketch.h"

#include <cerrno>
#include <cstring>
#include <string>
#include <vector>

#include "app/program_resources.h"
#include "app/sketch_app.h"
#include "canvas/vector_drawing.h"
#include "host/dialogs.h"
#include "host/keys.h"
#include "host/messages.h"
#include "host/window_style.h"
#include "model/sketch_file.h"
#include "tests/app/app_test_support.h"
#include "tests/framework/headless_fixture.h"

namespace penwick {
namespace {

using namespace host;
using headless::DrawOp;
using testing::HeadlessTest;

const std::string& kExample = testing::kExampleSketch;

// The headless printer's page: 210 x 297 mm at 300 dots per inch.
constexpr int kPageWidth = 2480;
constexpr int kPageHeight = 3508;

// What one printed page of the example must hold: the page filled with the
// paper colour, then the vector drawing of the sketch as the window of
// `client` fits it, scaled so that the window's width fills the page width.
std::vector<DrawOp> expectedPage(headless::HeadlessHost& h, const Rect& client) {
    Sketch sketch;
    EXPECT_TRUE(loadSketchFile(kExample, sketch));
    sketch.setWindowFit(client.width(), client.height());
    std::unique_ptr<DeviceContext> screen = h.getDC(kNoWindow);
    std::unique_ptr<DeviceContext> picture = h.createPicture(*screen, nullptr, "");
    drawSketchVector(h, *picture, sketch, double(kPageWidth) / client.width());
    DrawOp paper;
    paper.kind = DrawOp::Kind::fillRect;
    paper.rect = {0, 0, kPageWidth, kPageHeight};
    paper.colour = fromRgbColour(sketch.background);
    paper.hasBrush = true;
    std::vector<DrawOp> page{paper};
    const auto& drawn = dynamic_cast<headless::RecordingContext&>(*picture).ops();
    page.insert(page.end(), drawn.begin(), drawn.end());
    return page;
}

class PrintTest : public HeadlessTest {
  protected:
    // Runs the program on the example with `steps` run one per idle pass,
    // then File > Exit.
    void runProgram(std::vector<std::function<void()>> steps) {
        host.whenIdle([&] { main = app.mainFrame()->handle(); });
        for (auto& step : steps)
            host.whenIdle(std::move(step));
        host.whenIdle([&] { app.mainFrame()->post(WM_COMMAND, kCommandExit, 0); });
        EXPECT_EQ(app.run(&programResources(), "\"" + kExample + "\"", SW_SHOW), 0);
    }
    Window mainWindow() const { return main; }
    void pressCtrlP() { host.keyDown('P', {false, true, false}); }
    // The "Printing" dialog: the foreground window while printing.
    Window printingDialog() {
        Window w = host.foregroundWindow();
        return host.windowText(w) == "Printing" ? w : kNoWindow;
    }

    SketchApp app;
    Window main = kNoWindow;
    PrintSettings remembered = rememberedPrintSettings();
};

TEST_F(PrintTest, CtrlPWithTheFirstSettingsPrintsOnePageOfTheVisibleCanvas) {
    // The run's record starts as the dialog's first offer; the tests below
    // use copies of it.
    const PrintSettings first = rememberedPrintSettings();
    EXPECT_EQ(first.flags, PD_PAGENUMS | PD_NOSELECTION | PD_PRINTSETUP);
    host.setPrintDialogHandler([](PrintSettings&) { return true; });
    Rect client;
    bool sawDialog = false;
    host.setPagePrintedHandler([&](std::size_t) {
        // While the page prints: the main window is disabled and the
        // "Printing" dialog it owns shows its text and Cancel.
        Window dialog = printingDialog();
        ASSERT_NE(dialog, kNoWindow);
        sawDialog = true;
        EXPECT_FALSE(host.isEnabled(mainWindow()));
        EXPECT_EQ(host.owner(dialog), mainWindow());
        EXPECT_TRUE(host.isVisible(dialog));
        std::vector<std::string> texts;
        for (Window child : host.children(dialog))
            texts.push_back(host.windowText(child));
        EXPECT_EQ(texts, (std::vector<std::string>{"Printing...", "Cancel"}));
    });
    runProgram({
        [&] {
            client = host.clientRect(mainWindow());
            pressCtrlP();
        },
        [&] {
            EXPECT_TRUE(host.isEnabled(mainWindow()));
            EXPECT_EQ(host.foregroundWindow(), mainWindow());
            EXPECT_TRUE(host.dirtyRect(mainWindow()).has_value()) << "repainted after printing";
        },
    });
    ASSERT_EQ(host.printDialogs().size(), 1u);
    const headless::PrintDialogCall& call = host.printDialogs()[0];
    EXPECT_EQ(call.owner, mainWindow());
    EXPECT_EQ(call.offered.flags, 0x46u);
    EXPECT_EQ(call.offered.fromPage, 1);
    EXPECT_EQ(call.offered.toPage, 1);
    EXPECT_EQ(call.offered.minPage, 1);
    EXPECT_EQ(call.offered.maxPage, 1000);
    EXPECT_EQ(call.offered.copies, 1);
    EXPECT_TRUE(sawDialog);
    ASSERT_EQ(host.printedDocuments().size(), 1u);
    const headless::PrintedDocument& document = host.printedDocuments()[0];
    EXPECT_EQ(document.name, kExample) << "the current file names the job";
    EXPECT_TRUE(document.ended);
    ASSERT_EQ(document.pages.size(), 1u);
    EXPECT_EQ(document.pages[0], expectedPage(host, client));
    EXPECT_TRUE(host.messageBoxes().empty());
}

TEST_F(PrintTest, ARangeOfTwoToFourPrintsThreeEqualPagesAndTheChoiceIsOfferedAgain) {
    CanvasView* view = nullptr;
    std::vector<PrintSettings> offered;
    host.setPrintDialogHandler([&](PrintSettings& s) {
        offered.push_back(s);
        if (offered.size() == 1) {
            // The user picks another printer and pages 2 to 4; the dialog
            // answers without the page-numbers flag.
            s.fromPage = 2;
            s.toPage = 4;
            s.printerName = "Office";
            s.copies = 2;
            s.flags = 0;
            return true;
        }
        return false;  // the second time the user cancels
    });
    runProgram({
        [&] {
            view = app.mainFrame()->view();
            printSketch(*view, "a name", remembered);
        },
        [&] { printSketch(*view, "a name", remembered); },
        // A first page below 1 starts at 1.
        [&] {
            remembered.fromPage = -3;
            remembered.toPage = 2;
            host.setPrintDialogHandler([](PrintSettings&) { return true; });
            printSketch(*view, "", remembered);
        },
    });
    ASSERT_EQ(host.printedDocuments().size(), 2u) << "a cancelled dialog prints nothing";
    const headless::PrintedDocument& document = host.printedDocuments()[0];
    EXPECT_EQ(document.name, "a name");
    ASSERT_EQ(document.pages.size(), 3u);
    EXPECT_GT(document.pages[0].size(), 10u);
    EXPECT_EQ(document.pages[1], document.pages[0]);
    EXPECT_EQ(document.pages[2], document.pages[0]);
    // Offered again, with the three flags set once more.
    ASSERT_EQ(offered.size(), 2u);
    EXPECT_EQ(offered[1].printerName, "Office");
    EXPECT_EQ(offered[1].fromPage, 2);
    EXPECT_EQ(offered[1].toPage, 4);
    EXPECT_EQ(offered[1].copies, 2);
    EXPECT_EQ(offered[1].flags, 0x46u);
    EXPECT_EQ(remembered.printerName, "Office") << "stored back";
    EXPECT_EQ(host.printedDocuments()[1].pages.size(), 2u);
}

TEST_F(PrintTest, CancelInThePrintingDialogStopsBeforeTheNextPage) {
    host.setPrintDialogHandler([](PrintSettings& s) {
        s.fromPage = 1;
        s.toPage = 5;
        return true;
    });
    // The first time the user clicks Cancel after the second page, the
    // second time presses Escape after the first.
    host.setPagePrintedHandler([&](std::size_t pages) {
        Window dialog = printingDialog();
        ASSERT_NE(dialog, kNoWindow);
        if (host.printedDocuments().size() == 2) {
            if (pages == 1) host.keyDown(VK_ESCAPE);
            return;
        }
        if (pages != 2) return;
        for (Window child : host.children(dialog)) {
            if (host.windowText(child) != "Cancel") continue;
            host.mousePress(child, headless::MouseButton::left, {5, 5});
            host.mouseRelease(child, headless::MouseButton::left, {5, 5});
        }
    });
    auto printAndCheck = [&] {
        printSketch(*app.mainFrame()->view(), "", remembered);
        EXPECT_TRUE(host.isEnabled(mainWindow()));
        EXPECT_EQ(printingDialog(), kNoWindow);
    };
    runProgram({printAndCheck, printAndCheck});
    ASSERT_EQ(host.printedDocuments().size(), 2u);
    EXPECT_EQ(host.printedDocuments()[0].pages.size(), 2u);
    EXPECT_TRUE(host.printedDocuments()[0].ended) << "the document is ended on Cancel";
    EXPECT_EQ(host.printedDocuments()[1].pages.size(), 1u);
    EXPECT_TRUE(host.printedDocuments()[1].ended);
    EXPECT_TRUE(host.messageBoxes().empty());
}

TEST_F(PrintTest, FailuresShowTheSystemTextAndTheMainWindowComesBack) {
    host.setPrintDialogHandler([](PrintSettings& s) {
        s.toPage = 3;
        return true;
    });
    std::vector<bool> enabledDuringBox;
    std::vector<std::string> dialogsDuringBox;
    host.setMessageBoxHandler([&](const headless::MessageBoxCall&) {
        enabledDuringBox.push_back(host.isEnabled(mainWindow()));
        dialogsDuringBox.push_back(host.windowText(host.foregroundWindow()));
        return IDOK;
    });
    runProgram({
        // No printer at all.
        [&] {
            host.setPrinterAvailable(false);
            printSketch(*app.mainFrame()->view(), "", remembered);
            EXPECT_TRUE(host.isEnabled(mainWindow()));
            EXPECT_EQ(remembered.toPage, 3) << "the choice is kept all the same";
        },
        // The printer refuses the document.
        [&] {
            host.setPrinterAvailable(true);
            host.setPrintDocumentError(EACCES);
            printSketch(*app.mainFrame()->view(), "", remembered);
            EXPECT_TRUE(host.isEnabled(mainWindow()));
            EXPECT_EQ(host.foregroundWindow(), mainWindow());
            EXPECT_EQ(printingDialog(), kNoWindow);
        },
    });
    ASSERT_EQ(host.messageBoxes().size(), 2u);
    for (const headless::MessageBoxCall& box : host.messageBoxes()) {
        EXPECT_EQ(box.title, "Win32 Error");
        EXPECT_EQ(box.type, MB_OK | MB_ICONHAND);
        EXPECT_EQ(box.owner, mainWindow());
    }
    EXPECT_EQ(host.messageBoxes()[0].text, std::strerror(ENODEV));
    EXPECT_EQ(host.messageBoxes()[1].text, std::strerror(EACCES));
    // Before the document the main window was never disabled; the refused
    // document was reported while the "Printing" dialog stood over the
    // disabled main window.
    EXPECT_EQ(enabledDuringBox, (std::vector<bool>{true, false}));
    EXPECT_EQ(dialogsDuringBox[1], "Printing");
    EXPECT_TRUE(host.printedDocuments().empty());
}

}  // namespace
}  // namespace penwick
