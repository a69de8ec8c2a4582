// Printing into a PDF file through the desktop's print dialog, the program
// on the Qt host with the offscreen platform: the file has a page per page
// number, and each page shows what the window shows, at the page's width.
#include <gtest/gtest.h>

#include <QApplication>
#include <QImage>
#include <QPrintDialog>
#include <QTimer>
#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "app/print_sketch.h"
#include "app/program_resources.h"
#include "app/sketch_app.h"
#include "framework/platform/bitmap.h"
#include "host/messages.h"
#include "host/qt/qt_host.h"
#include "host/window_style.h"
#include "tests/app/script_driver.h"
#include "tests/support/pixels.h"
#include "tests/support/private_home.h"
#include "tests/tools/tool_runner.h"

namespace penwick {
namespace {

using namespace host;

const std::string kTurnedView = std::string(PENWICK_SOURCE_DIR) + "/examples/turned-view.wnk";

bool hasProgram(const std::string& name) {
    return std::system(("command -v " + name + " >/dev/null 2>&1").c_str()) == 0;
}

int pdfPages(const std::string& pdf, const std::string& scratch) {
    RunResult info = runProgram("pdfinfo", {pdf}, scratch);
    std::size_t at = info.out.find("Pages:");
    return info.status == 0 && at != std::string::npos ? std::stoi(info.out.substr(at + 6)) : -1;
}

// A copy of a window's 32-bit back buffer.
struct Picture {
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> pixels;  // 0x??RRGGBB, rows top-down
};

Picture copyOf(const PixelBuffer& buffer) {
    Picture p{buffer.width(), buffer.height(), {}};
    p.pixels.resize(std::size_t(p.width) * p.height);
    for (int y = 0; y < p.height; ++y)
        std::memcpy(&p.pixels[std::size_t(y) * p.width], buffer.row(y), std::size_t(p.width) * 4);
    return p;
}

// The share of the pixels of the window's picture, its pen swatch aside,
// that differ from the top of the page in any channel by more than
// `tolerance`; 1 when the sizes do not fit.
double differingShare(const QImage& page, const Picture& window, int tolerance) {
    if (page.width() != window.width || page.height() < window.height) return 1;
    long differing = 0;
    long compared = 0;
    for (int y = 0; y < window.height; ++y)
        for (int x = 0; x < window.width; ++x) {
            if (x < testing::kSwatchCornerWidth && y < testing::kSwatchCornerHeight) continue;
            ++compared;
            const QRgb p = page.pixel(x, y);
            const std::uint32_t q = window.pixels[std::size_t(y) * window.width + x];
            const int dr = std::abs(qRed(p) - int((q >> 16) & 0xFF));
            const int dg = std::abs(qGreen(p) - int((q >> 8) & 0xFF));
            const int db = std::abs(qBlue(p) - int(q & 0xFF));
            if (std::max({dr, dg, db}) > tolerance) ++differing;
        }
    return compared ? double(differing) / double(compared) : 1;
}

class PrintOnQt : public ::testing::Test {
  protected:
    testing::PrivateHome home_;
};

TEST_F(PrintOnQt, PrintsTheVisibleCanvasIntoAPdfFileThroughThePrintDialog) {
    ASSERT_TRUE(hasProgram("pdfinfo") && hasProgram("pdftoppm"))
        << "pdfinfo and pdftoppm (poppler-utils) are needed";
    const std::string scratch = home_.folder().path().string();
    const std::string pdf = scratch + "/turned view.pdf";
    static char name[] = "penwick";
    char* argv[] = {name, nullptr};
    qt::QtHost qtHost(1, argv);
    setInstance(&qtHost);
    // The dialog offers printing into this file, pages 2 to 3; the user
    // accepts it as it is.
    PrintSettings& remembered = rememberedPrintSettings();
    remembered.outputFile = pdf;
    remembered.fromPage = 2;
    remembered.toPage = 3;
    int dialogsAccepted = 0;
    QTimer acceptor;
    QObject::connect(&acceptor, &QTimer::timeout, [&] {
        if (auto* dialog = qobject_cast<QPrintDialog*>(QApplication::activeModalWidget())) {
            ++dialogsAccepted;
            dialog->accept();
        }
    });
    acceptor.start(50);
    {
        SketchApp app;
        testing::ScriptDriver driver;
        Picture shown;
        bool enabledAfter = false;
        auto frame = [&] { return app.mainFrame(); };
        driver.steps = {
            [&] {
                if (!frame() || !frame()->view() || !qtHost.isVisible(frame()->handle()))
                    return false;
                frame()->post(WM_COMMAND, kCommandPrint, 0);
                return true;
            },
            [&] {
                // Printing is over once the main window is enabled again.
                if (dialogsAccepted == 0 || !qtHost.isEnabled(frame()->handle())) return false;
                enabledAfter = qtHost.isWindow(frame()->view()->handle());
                // What the window shows, to compare the pages with.
                ktBitmap* buffer = frame()->view()->backBuffer();
                if (buffer) shown = copyOf(pixelBufferOf(*buffer));
                frame()->post(WM_COMMAND, kCommandExit, 0);
                return true;
            },
        };
        driver.start();
        EXPECT_EQ(app.run(&programResources(), "\"" + kTurnedView + "\"", SW_SHOW), 0);
        EXPECT_FALSE(driver.gaveUp);
        EXPECT_EQ(dialogsAccepted, 1);
        EXPECT_TRUE(enabledAfter);
        EXPECT_EQ(remembered.outputFile, pdf) << "the choice is offered again";

        ASSERT_TRUE(std::filesystem::exists(pdf));
        EXPECT_EQ(pdfPages(pdf, scratch), 2);
        // Each page at the window's width in pixels: the window's picture,
        // paper to the edges, the same on both pages. The raster and the
        // PDF renderer smooth edges differently, so only few pixels may
        // differ, and only little.
        ASSERT_GT(shown.width, 0);
        for (int page : {1, 2}) {
            const std::string prefix = scratch + "/page" + std::to_string(page);
            RunResult rendered = runProgram(
                "pdftoppm",
                {"-png", "-singlefile", "-f", std::to_string(page), "-l", std::to_string(page),
                 "-scale-to-x", std::to_string(shown.width), "-scale-to-y", "-1", pdf, prefix},
                scratch);
            ASSERT_EQ(rendered.status, 0) << rendered.err;
            QImage image(QString::fromStdString(prefix + ".png"));
            ASSERT_FALSE(image.isNull());
            EXPECT_GT(image.height(), shown.height) << "a page is taller than the window";
            EXPECT_LT(differingShare(image, shown, 40), 0.01) << "page " << page;
            // The paper colour reaches the page's corners (the renderer's
            // last row may lie mostly below the page).
            for (QPoint corner : {QPoint(0, 0), QPoint(image.width() - 1, image.height() - 2)})
                EXPECT_EQ(image.pixelColor(corner), QColor(0xFF, 0xF8, 0xE1)) << "page " << page;
        }
    }
    setInstance(nullptr);
}

}  // namespace
}  // namespace penwick
