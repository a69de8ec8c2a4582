// The program on the Qt host with the offscreen platform: it starts, shows
// a file, follows a resize, shows the about box and closes cleanly.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include <QApplication>
#include <QClipboard>
#include <QCoreApplication>
#include <QImage>
#include <QMimeData>
#include <QMouseEvent>
#include <QPointingDevice>
#include <QTabletEvent>
#include <QWidget>

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

// The radii of a shape's points, in window pixels.
std::vector<float> radiiOf(const Shape& shape) {
    std::vector<float> radii;
    for (const StrokeGroup& g : shape.groups)
        for (const Stroke& s : g.strokes)
            for (const StrokePoint& p : s.points)
                radii.push_back(p.radius);
    return radii;
}

bool inkedAt(CanvasView& view, int x, int y) {
    const PixelBuffer shown = pixelBufferOf(*view.backBuffer());
    const uint8_t* p = shown.row(y) + 4 * x;
    return p[0] < 200 && p[1] < 200 && p[2] < 200;  // black ink on white paper
}

std::string run(const std::string& command) {
    std::string out;
    if (FILE* pipe = popen(command.c_str(), "r")) {
        char buffer[256];
        while (fgets(buffer, sizeof buffer, pipe))
            out += buffer;
        pclose(pipe);
    }
    return out;
}

// The clipboard's vector picture is well-formed XML, and rendered by another
// program it looks like the PNG beside it: the same size, the same pixels
// inked (allowing for the two renderers' edges).
void expectTheClipboardPictureRendersLikeItsPng(const std::string& folder) {
    const QMimeData* data = QApplication::clipboard()->mimeData();
    ASSERT_NE(data, nullptr);
    const QByteArray svg = data->data(QStringLiteral("image/svg+xml"));
    const QImage png = QImage::fromData(data->data(QStringLiteral("image/png")), "PNG")
                           .convertToFormat(QImage::Format_ARGB32);
    ASSERT_FALSE(svg.isEmpty());
    ASSERT_FALSE(png.isNull());
    const std::string svgFile = folder + "/copy.svg", pngFile = folder + "/copy-rsvg.png";
    FILE* out = std::fopen(svgFile.c_str(), "wb");
    ASSERT_NE(out, nullptr);
    std::fwrite(svg.data(), 1, size_t(svg.size()), out);
    std::fclose(out);
    EXPECT_EQ(run("xmllint --noout '" + svgFile + "' 2>&1; echo $?"), "0\n");
    EXPECT_EQ(
        run("rsvg-convert -b white -w " + std::to_string(png.width()) + " -h " +
            std::to_string(png.height()) + " -o '" + pngFile + "' '" + svgFile + "' 2>&1; echo $?"),
        "0\n");
    const QImage other =
        QImage(QString::fromStdString(pngFile)).convertToFormat(QImage::Format_RGB32);
    ASSERT_EQ(other.size(), png.size());
    int inked = 0, disagree = 0;
    // Every fourth pixel each way is plenty for a picture thousands wide.
    for (int y = 0; y < png.height(); y += 4)
        for (int x = 0; x < png.width(); x += 4) {
            const QRgb ours = png.pixel(x, y);  // ink on a transparent ground
            const bool a = qAlpha(ours) >= 128 && qGray(ours) < 128;
            const bool b = qGray(other.pixel(x, y)) < 128;
            inked += a;
            disagree += a != b;
        }
    EXPECT_GT(inked, 50);
    EXPECT_LT(disagree, inked / 5) << "of " << inked << " inked pixels";
}

TEST_F(ProgramOnQt, StrokesOfThePenAndTheMouseAppearInTheWindowAndTheSketch) {
    static char name[] = "penwick";
    char* argv[] = {name, nullptr};
    qt::QtHost qtHost(1, argv);
    setInstance(&qtHost);
    {
        SketchApp app;
        Driver driver;
        const QPointingDevice pen(
            QStringLiteral("test pen"), 4711, QInputDevice::DeviceType::Stylus,
            QPointingDevice::PointerType::Pen,
            QInputDevice::Capability::Position | QInputDevice::Capability::Pressure, 1, 3);
        const QPointingDevice finger(
            QStringLiteral("test touch screen"), 4712, QInputDevice::DeviceType::TouchScreen,
            QPointingDevice::PointerType::Finger, QInputDevice::Capability::Position, 10, 0);
        auto frame = [&] { return app.mainFrame(); };
        auto canvas = [&] { return qtHost.clientWidget(frame()->view()->handle()); };
        auto sendPen = [&](QEvent::Type type, QPointF at, double pressure, bool tip) {
            QTabletEvent e(type, &pen, at, canvas()->mapToGlobal(at), pressure, 0, 0, 0, 0, 0,
                           Qt::NoModifier, tip ? Qt::LeftButton : Qt::NoButton,
                           tip ? Qt::LeftButton : Qt::NoButton);
            QCoreApplication::sendEvent(canvas(), &e);
        };
        auto sendMouse = [&](QEvent::Type type, QPointF at, Qt::MouseButtons held,
                             const QPointingDevice* device) {
            QMouseEvent e(type, at, at, canvas()->mapToGlobal(at),
                          type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton, held,
                          Qt::NoModifier, device);
            QCoreApplication::sendEvent(canvas(), &e);
        };
        const QPointingDevice* mouse = QPointingDevice::primaryPointingDevice();
        auto shapes = [&] { return frame()->view()->sketch.shapes.count(); };
        driver.steps = {
            [&] { return frame() && frame()->view() && qtHost.isVisible(frame()->handle()); },
            // A pen stroke whose pressure grows, one sample a tick so each
            // is processed rather than passed over.
            [&] {
                sendPen(QEvent::TabletPress, {100, 100}, 0.1, true);
                return true;
            },
            [&] {
                static int x = 100;
                x += 10;
                sendPen(QEvent::TabletMove, {double(x), 100}, (x - 100) / 100.0, true);
                return x >= 200;
            },
            [&] {
                sendPen(QEvent::TabletRelease, {200, 100}, 0, false);
                return true;
            },
            [&] {
                if (shapes() != 1) return false;
                const std::vector<float> radii =
                    radiiOf(frame()->view()->sketch.shapeForDrawing(0));
                EXPECT_GE(radii.size(), 8u);
                EXPECT_LT(radii.front(), radii.back());  // the width follows the pressure
                EXPECT_TRUE(inkedAt(*frame()->view(), 150, 100));
                // A mouse stroke below it.
                sendMouse(QEvent::MouseButtonPress, {100, 200}, Qt::LeftButton, mouse);
                return true;
            },
            [&] {
                sendMouse(QEvent::MouseMove, {150, 200}, Qt::LeftButton, mouse);
                sendMouse(QEvent::MouseMove, {200, 200}, Qt::LeftButton, mouse);
                sendMouse(QEvent::MouseButtonRelease, {200, 200}, Qt::NoButton, mouse);
                return true;
            },
            [&] {
                if (shapes() != 2) return false;
                EXPECT_TRUE(inkedAt(*frame()->view(), 150, 200));
                // The palm: a touch made into mouse events while the pen is near.
                sendPen(QEvent::TabletMove, {300, 300}, 0, false);
                sendMouse(QEvent::MouseButtonPress, {100, 300}, Qt::LeftButton, &finger);
                sendMouse(QEvent::MouseMove, {200, 300}, Qt::LeftButton, &finger);
                sendMouse(QEvent::MouseButtonRelease, {200, 300}, Qt::NoButton, &finger);
                return true;
            },
            [&] {
                EXPECT_EQ(shapes(), 2);
                EXPECT_FALSE(inkedAt(*frame()->view(), 150, 300));
                // The drawing on the clipboard, as other programs paste it.
                frame()->view()->penSize = 1;
                frame()->view()->execute("copy all");
                expectTheClipboardPictureRendersLikeItsPng(home_.folder().path().string());
                frame()->post(WM_COMMAND, kCommandExit, 0);
                return true;
            },
        };
        driver.start();
        EXPECT_EQ(app.run(&programResources(), "", SW_SHOW), 0);
        EXPECT_FALSE(driver.gaveUp);
        EXPECT_EQ(driver.next, driver.steps.size());
    }
    setInstance(nullptr);
}

}  // namespace
}  // namespace penwick
