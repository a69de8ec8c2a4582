// The Qt host's tablet, clipboard, clipboard picture, printing, menus and
// system answers, under Qt's offscreen platform.
#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QMimeData>
#include <QPointingDevice>
#include <QPushButton>
#include <QTabletEvent>
#include <QTimer>
#include <cstdio>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "host/qt/painter_context.h"
#include "host/qt/qt_host.h"
#include "host/qt/tablet_mapping.h"
#include "host/window_style.h"
#include "tests/host/qt/qt_test_host.h"

namespace {

using namespace host;
using qt_test::testHost;

std::vector<std::uint32_t> messages;
LResult plainProc(Window w, std::uint32_t m, WParam wp, LParam lp) {
    messages.push_back(m);
    return testHost().defaultProc(w, m, wp, lp);
}

class QtServicesTest : public ::testing::Test {
  protected:
    QtServicesTest() : host_(testHost()) {
        messages.clear();
        Message m;
        while (host_.peekMessage(m, kNoWindow, 0, 0, true)) {
        }
    }
    ~QtServicesTest() override {
        for (Window w : made_)
            host_.destroyWindow(w);
    }
    Window make(int width, int height) {
        CreateRequest request;
        request.style = WS_OVERLAPPEDWINDOW;
        request.width = width;
        request.height = height;
        request.proc = plainProc;
        Window w = host_.createWindow(request);
        made_.push_back(w);
        return w;
    }
    qt::QtHost& host_;
    std::vector<Window> made_;
};

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

TEST(TabletMapping, CoversTheClientAreaWithItsMarginYUp) {
    // The widened area's corners: top-left of the margin is (0, 65536).
    TabletPacket p = qt::tabletPacketFor({-32, -32, 1.0, true}, 200, 100, 5);
    EXPECT_EQ(p.x, 0u);
    EXPECT_EQ(p.y, 65536u);
    EXPECT_EQ(p.normalPressure, 1024u);
    EXPECT_EQ(p.buttons, 1u);
    EXPECT_EQ(p.time, 5u);
    p = qt::tabletPacketFor({232, 132, 0.25, true}, 200, 100, 0);
    EXPECT_EQ(p.x, 65536u);
    EXPECT_EQ(p.y, 0u);
    EXPECT_EQ(p.normalPressure, 256u);
    // Beyond the margin the sample is held at the edge.
    p = qt::tabletPacketFor({-500, 900, 0.5, true}, 200, 100, 0);
    EXPECT_EQ(p.x, 0u);
    EXPECT_EQ(p.y, 0u);
    // The canvas's inverse mapping lands back on the pixel.
    p = qt::tabletPacketFor({50, 25, 0.5, true}, 200, 100, 0);
    const double x = p.x / 65536.0, y = p.y / 65536.0;
    EXPECT_NEAR((200 + 32) * x - 32 * (1 - x), 50.0, 0.01);
    EXPECT_NEAR((100 + 32) * (1 - y) - 32 * y, 25.0, 0.01);
    // Hovering: no pressure; barrel buttons in bits 1 and 2.
    p = qt::tabletPacketFor({10, 10, 0.7, false, true, false}, 200, 100, 0);
    EXPECT_EQ(p.buttons, 2u);
    EXPECT_EQ(p.normalPressure, 0u);
    p = qt::tabletPacketFor({10, 10, 0.7, true, false, true}, 200, 100, 0);
    EXPECT_EQ(p.buttons, 5u);
}

TEST_F(QtServicesTest, TabletEventBecomesAPacketForItsSerial) {
    Window w = make(200, 100);
    host_.showWindow(w, SW_SHOW);
    QWidget* client = host_.clientWidget(w);
    const QPointingDevice pen(
        QStringLiteral("test pen"), 4711, QInputDevice::DeviceType::Stylus,
        QPointingDevice::PointerType::Pen,
        QInputDevice::Capability::Position | QInputDevice::Capability::Pressure, 1, 3);
    auto sendPen = [&](QEvent::Type type, QPointF at, double pressure, Qt::MouseButton button,
                       Qt::MouseButtons buttons) {
        QTabletEvent e(type, &pen, at, client->mapToGlobal(at), pressure, 0, 0, 0, 0, 0,
                       Qt::NoModifier, button, buttons);
        e.setAccepted(false);
        bool consumed = QCoreApplication::sendEvent(client, &e);
        return consumed && e.isAccepted();
    };

    // Without a tablet context the pen is left to Qt, which makes mouse
    // events of it.
    sendPen(QEvent::TabletMove, {5, 5}, 0, Qt::NoButton, Qt::NoButton);
    Message m;
    EXPECT_FALSE(host_.peekMessage(m, kNoWindow, WT_PACKET, WT_PACKET, false));

    TabletContext context = host_.openTablet(w);
    ASSERT_NE(context, kNoTablet);
    while (host_.peekMessage(m, kNoWindow, 0, 0, true)) {
    }

    EXPECT_TRUE(sendPen(QEvent::TabletPress, {50, 25}, 0.5, Qt::LeftButton, Qt::LeftButton))
        << "taken, so that Qt makes no mouse events of it";
    ASSERT_TRUE(host_.getMessage(m));
    EXPECT_EQ(m.message, WT_PACKET);
    EXPECT_EQ(m.window, w);
    EXPECT_EQ(m.lParam, LParam(context));
    TabletPacket packet;
    ASSERT_TRUE(host_.tabletPacket(context, m.wParam, packet));
    EXPECT_EQ(packet.x, 20356u);  // (50 + 32) / 264 of 65536
    EXPECT_EQ(packet.y, 42758u);  // (100 + 32 - 25) / 164 of 65536
    EXPECT_EQ(packet.normalPressure, 512u);
    EXPECT_EQ(packet.buttons, 1u);
    const WParam first = m.wParam;

    // The tip and the lower side switch; then lifted.
    sendPen(QEvent::TabletMove, {60, 30}, 0.75, Qt::NoButton, Qt::LeftButton | Qt::MiddleButton);
    sendPen(QEvent::TabletRelease, {60, 30}, 0, Qt::LeftButton, Qt::NoButton);
    ASSERT_TRUE(host_.getMessage(m));
    EXPECT_GT(m.wParam, first) << "serials rise";
    ASSERT_TRUE(host_.tabletPacket(context, m.wParam, packet));
    EXPECT_EQ(packet.buttons, 3u);
    EXPECT_EQ(packet.normalPressure, 768u);
    ASSERT_TRUE(host_.getMessage(m));
    ASSERT_TRUE(host_.tabletPacket(context, m.wParam, packet));
    EXPECT_EQ(packet.buttons, 0u);
    EXPECT_EQ(packet.normalPressure, 0u);
    EXPECT_FALSE(host_.tabletPacket(context, 999999, packet));

    // A disabled context (the window is inactive) takes no samples.
    host_.enableTablet(context, false);
    sendPen(QEvent::TabletMove, {5, 5}, 0, Qt::NoButton, Qt::NoButton);
    EXPECT_FALSE(host_.peekMessage(m, kNoWindow, WT_PACKET, WT_PACKET, false));
    // A stroke that began as mouse input stays so when the context is
    // enabled meanwhile (the press activated the window).
    EXPECT_FALSE(sendPen(QEvent::TabletPress, {5, 5}, 0.5, Qt::LeftButton, Qt::LeftButton));
    host_.enableTablet(context, true);
    EXPECT_FALSE(sendPen(QEvent::TabletMove, {6, 6}, 0.5, Qt::NoButton, Qt::LeftButton));
    EXPECT_FALSE(sendPen(QEvent::TabletRelease, {6, 6}, 0, Qt::LeftButton, Qt::NoButton));
    EXPECT_FALSE(host_.peekMessage(m, kNoWindow, WT_PACKET, WT_PACKET, false));
    EXPECT_TRUE(sendPen(QEvent::TabletPress, {6, 6}, 0.5, Qt::LeftButton, Qt::LeftButton));
    EXPECT_TRUE(host_.peekMessage(m, kNoWindow, WT_PACKET, WT_PACKET, false));

    host_.closeTablet(context);
    EXPECT_FALSE(host_.tabletPacket(context, first, packet));
}

TEST_F(QtServicesTest, PrivateClipboardFormatRoundTrips) {
    EXPECT_EQ(qt::mimeTypeForFormat(kBinaryClipboardFormat), "application/x-kt-binary");
    const std::vector<std::uint8_t> payload = {0x4B, 0x54, 0x00, 0xFF, 0x10, 0x00};
    ASSERT_TRUE(host_.openClipboard(kNoWindow));
    EXPECT_FALSE(host_.openClipboard(kNoWindow)) << "one opener at a time";
    ASSERT_TRUE(host_.emptyClipboard());
    ASSERT_TRUE(host_.setClipboardData(kBinaryClipboardFormat, payload));
    ASSERT_TRUE(host_.setClipboardText("two shapes"));
    host_.closeClipboard();

    // Other programs see the bytes under the MIME type.
    const QMimeData* data = QApplication::clipboard()->mimeData();
    ASSERT_NE(data, nullptr);
    QByteArray seen = data->data(QStringLiteral("application/x-kt-binary"));
    EXPECT_EQ(std::vector<std::uint8_t>(seen.begin(), seen.end()), payload);

    EXPECT_TRUE(host_.isClipboardFormatAvailable(kBinaryClipboardFormat));
    ASSERT_TRUE(host_.openClipboard(kNoWindow));
    std::optional<std::vector<std::uint8_t>> back = host_.clipboardData(kBinaryClipboardFormat);
    ASSERT_TRUE(back.has_value());
    EXPECT_EQ(*back, payload);
    EXPECT_EQ(host_.clipboardText(), std::optional<std::string>("two shapes"));
    EXPECT_FALSE(host_.clipboardData("OTHER_FORMAT").has_value());

    // Emptied, nothing of ours is left; an empty payload still counts.
    ASSERT_TRUE(host_.emptyClipboard());
    EXPECT_FALSE(host_.isClipboardFormatAvailable(kBinaryClipboardFormat));
    ASSERT_TRUE(host_.setClipboardData(kBinaryClipboardFormat, {}));
    back = host_.clipboardData(kBinaryClipboardFormat);
    ASSERT_TRUE(back.has_value());
    EXPECT_TRUE(back->empty());
    host_.closeClipboard();
    EXPECT_FALSE(host_.clipboardData(kBinaryClipboardFormat).has_value())
        << "reading needs the clipboard open";
}

TEST_F(QtServicesTest, PictureGoesToTheClipboardAsSvgAndPng) {
    std::unique_ptr<DeviceContext> screen = host_.getDC(kNoWindow);
    ASSERT_NE(screen, nullptr);
    EXPECT_GT(screen->deviceCaps(HORZRES), 0);
    std::unique_ptr<DeviceContext> picture =
        host_.createPicture(*screen, nullptr, std::string_view("Penwick\0Page 1\0\0", 16));
    Brush red = host_.createSolidBrush(rgb(255, 0, 0));
    picture->selectBrush(red);
    picture->setFillMode(FillMode::winding);
    picture->beginPath();
    picture->moveTo({10, 10});
    picture->bezierTo({40, 0}, {60, 0}, {90, 10});
    picture->bezierTo({90, 40}, {90, 40}, {10, 40});
    picture->closeFigure();
    picture->endPath();
    picture->fillPath();
    picture->fillRect({100, 10, 120, 30});

    ASSERT_TRUE(host_.openClipboard(kNoWindow));
    host_.emptyClipboard();
    ASSERT_TRUE(host_.setClipboardPicture(std::move(picture)));
    host_.closeClipboard();
    host_.deleteBrush(red);

    const QMimeData* data = QApplication::clipboard()->mimeData();
    ASSERT_NE(data, nullptr);
    const std::string svg = data->data(QStringLiteral("image/svg+xml")).toStdString();
    EXPECT_NE(svg.find("<path d=\"M10 10 C40 0 60 0 90 10 C90 40 90 40 10 40 Z\" fill=\"#ff0000\" "
                       "fill-rule=\"nonzero\"/>"),
              std::string::npos)
        << svg;
    EXPECT_NE(svg.find("<rect x=\"100\" y=\"10\" width=\"20\" height=\"20\""), std::string::npos);
    // The bounds follow the curve, which stays below its control points.
    EXPECT_NE(svg.find("viewBox=\"10 2 110 38\""), std::string::npos) << svg;
    EXPECT_NE(svg.find("<desc>Penwick Page 1</desc>"), std::string::npos);
    const std::string file = qt_test::scratchFolder() + "/picture.svg";
    std::ofstream(file) << svg;
    EXPECT_EQ(run("xmllint --noout " + file + " 2>&1; echo $?"), "0\n");

    QImage png = QImage::fromData(data->data(QStringLiteral("image/png")), "PNG");
    ASSERT_FALSE(png.isNull());
    ASSERT_EQ(png.size(), QSize(110, 38));  // from (10, 2)
    EXPECT_EQ(png.pixelColor(95, 18), QColor(255, 0, 0)) << "the rectangle";
    EXPECT_EQ(png.pixelColor(40, 25), QColor(255, 0, 0)) << "inside the curved shape";
    EXPECT_EQ(png.pixelColor(85, 35).alpha(), 0) << "between them";
}

TEST_F(QtServicesTest, PrinterContextPrintsTwoPagesToPdf) {
    PrintSettings settings;
    settings.outputFile = qt_test::scratchFolder() + "/two pages.pdf";
    std::unique_ptr<PrinterContext> printer = host_.createPrinterContext(settings);
    ASSERT_NE(printer, nullptr);
    DeviceContext& dc = printer->dc();
    EXPECT_GT(dc.deviceCaps(HORZRES), 1000) << "printer dots";
    EXPECT_NEAR(dc.deviceCaps(HORZSIZE), 200, 15) << "an A4 or Letter page, in millimetres";
    EXPECT_EQ(printer->startPage(), 0) << "no page before the document";

    ASSERT_GT(printer->startDocument("Sketchbook"), 0);
    Brush black = host_.createSolidBrush(rgb(0, 0, 0));
    dc.selectBrush(black);
    ASSERT_GT(printer->startPage(), 0);
    dc.fillRect({100, 100, 900, 900});
    ASSERT_GT(printer->endPage(), 0);
    ASSERT_GT(printer->startPage(), 0);
    dc.drawText("Page two", {100, 100, 2000, 400}, DT_LEFT | DT_SINGLELINE);
    ASSERT_GT(printer->endPage(), 0);
    ASSERT_GT(printer->endDocument(), 0);
    printer.reset();
    host_.deleteBrush(black);

    const std::string info = run("pdfinfo '" + settings.outputFile + "' 2>&1");
    std::size_t pages = info.find("Pages:");
    ASSERT_NE(pages, std::string::npos) << info;
    EXPECT_EQ(std::stoi(info.substr(pages + 6)), 2) << info;

    // A file that cannot be written fails the document's start.
    settings.outputFile = qt_test::scratchFolder() + "/no such folder/page.pdf";
    printer = host_.createPrinterContext(settings);
    ASSERT_NE(printer, nullptr);
    errno = 0;
    EXPECT_EQ(printer->startDocument("Sketchbook"), 0);
    EXPECT_NE(errno, 0) << "for the system's text";
    EXPECT_EQ(printer->startPage(), 0);
}

TEST_F(QtServicesTest, MenuBarTakesRoomAndSendsCommands) {
    Window w = make(300, 200);
    host_.showWindow(w, SW_SHOW);
    MenuTemplate root;
    MenuTemplate file{"&File", 0, 0, {}};
    file.children.push_back({"&Open...\tCtrl+O", 101, 0, {}});
    file.children.push_back({"", 0, MF_SEPARATOR, {}});
    file.children.push_back({"E&xit", 102, MF_GRAYED, {}});
    root.children.push_back(file);
    Menu bar = buildMenu(host_, root, false);
    ASSERT_NE(bar, kNoMenu);

    const int before = host_.clientRect(w).height();
    messages.clear();
    ASSERT_TRUE(host_.setWindowMenu(w, bar));
    EXPECT_EQ(host_.windowMenu(w), bar);
    const int after = host_.clientRect(w).height();
    EXPECT_LT(after, before) << "the bar sits above the client area";
    EXPECT_EQ(std::count(messages.begin(), messages.end(), WM_SIZE), 1);

    auto* qtBar = host_.outerWidget(w)->findChild<QMenuBar*>();
    ASSERT_NE(qtBar, nullptr);
    ASSERT_EQ(qtBar->actions().size(), 1);
    EXPECT_EQ(qtBar->actions()[0]->text(), QStringLiteral("&File"));
    QMenu* popup = qtBar->actions()[0]->menu();
    ASSERT_NE(popup, nullptr);

    // Before the popup shows, the window updates it: here it enables Exit.
    messages.clear();
    std::optional<MenuItem> fileItem = host_.menuItem(bar, 0);
    ASSERT_TRUE(fileItem.has_value());
    host_.setMenuItemEnabled(fileItem->subMenu, 2, true);
    host_.setMenuItemChecked(fileItem->subMenu, 0, true);
    Q_EMIT popup->aboutToShow();
    EXPECT_EQ(messages, (std::vector<std::uint32_t>{WM_INITMENU, WM_INITMENUPOPUP}));
    QList<QAction*> items = popup->actions();
    ASSERT_EQ(items.size(), 3);
    EXPECT_EQ(items[0]->text(), QStringLiteral("&Open...\tCtrl+O"));
    EXPECT_TRUE(items[0]->isChecked());
    EXPECT_TRUE(items[1]->isSeparator());
    EXPECT_TRUE(items[2]->isEnabled());

    items[2]->trigger();
    Message m;
    ASSERT_TRUE(host_.getMessage(m));
    EXPECT_EQ(m.message, WM_COMMAND);
    EXPECT_EQ(m.window, w);
    EXPECT_EQ(lowWord(m.wParam), 102u);
    EXPECT_EQ(highWord(m.wParam), 0u);

    // The bar's own items change in place: an open popup stays.
    ASSERT_TRUE(host_.setMenuItemText(bar, 0, "&Document"));
    ASSERT_EQ(qtBar->actions().size(), 1);
    EXPECT_EQ(qtBar->actions()[0]->text(), QStringLiteral("&Document"));
    EXPECT_EQ(qtBar->actions()[0]->menu(), popup);

    ASSERT_TRUE(host_.setWindowMenu(w, kNoMenu));
    EXPECT_EQ(host_.clientRect(w).height(), before);
    host_.destroyMenu(bar);
    EXPECT_EQ(host_.menuItemCount(bar), -1);
}

TEST_F(QtServicesTest, SystemAnswersFollowTheDesktop) {
    EXPECT_EQ(host_.specialFolder(CSIDL_APPDATA), qt_test::scratchFolder() + "/config");
    EXPECT_EQ(host_.specialFolder(CSIDL_PERSONAL), qt_test::scratchFolder() + "/Documents");
    EXPECT_EQ(host_.specialFolder(12345), "");
    const std::string program = host_.modulePath();
    EXPECT_NE(program.find("host_qt_tests"), std::string::npos) << program;
    std::optional<DisplayMode> mode = host_.displayMode();
    ASSERT_TRUE(mode.has_value());
    EXPECT_GT(mode->width, 0);
    EXPECT_GT(mode->bitsPerPixel, 0);
    EXPECT_GT(host_.wallTime(), 1.7e9);
    const std::int64_t t0 = host_.millisecondsSinceStart();
    host_.sleep(15);
    EXPECT_GE(host_.millisecondsSinceStart() - t0, 15);
}

TEST_F(QtServicesTest, MemoryContextsDrawIntoTheProgramsPixels) {
    std::vector<std::uint8_t> bits(16 * 8 * 4, 0);
    PixelView view{bits.data(), 16, 8, 16 * 4, 32, nullptr};
    std::unique_ptr<DeviceContext> dc = host_.createMemoryContext(view);
    ASSERT_NE(dc, nullptr);
    EXPECT_EQ(dc->deviceCaps(HORZRES), 16);
    Brush green = host_.createSolidBrush(rgb(0, 200, 0));
    dc->selectBrush(green);
    dc->fillRect({4, 2, 8, 6});
    dc.reset();
    EXPECT_EQ(bits[(3 * 16 + 5) * 4 + 1], 200);
    EXPECT_EQ(bits[(3 * 16 + 5) * 4 + 2], 0);
    EXPECT_EQ(bits[(3 * 16 + 1) * 4 + 1], 0) << "outside the rectangle";

    // 8-bit pixels keep indices into the grey table.
    std::vector<std::uint8_t> table(256 * 4);
    for (int i = 0; i < 256; ++i)
        table[i * 4] = table[i * 4 + 1] = table[i * 4 + 2] = std::uint8_t(i);
    std::vector<std::uint8_t> grey(8 * 4, 7);
    PixelView greyView{grey.data(), 8, 4, 8, 8, table.data()};
    dc = host_.createMemoryContext(greyView);
    ASSERT_NE(dc, nullptr);
    Brush mid = host_.createSolidBrush(rgb(128, 128, 128));
    dc->selectBrush(mid);
    dc->fillRect({0, 0, 2, 4});
    dc.reset();
    EXPECT_EQ(grey[0], 128);
    EXPECT_EQ(grey[8 + 1], 128);
    EXPECT_EQ(grey[3], 7) << "untouched pixels keep their index";
    host_.deleteBrush(green);
    host_.deleteBrush(mid);
}

TEST_F(QtServicesTest, TextIsMeasuredWithWrappingAndTabs) {
    std::unique_ptr<DeviceContext> dc = host_.getDC(kNoWindow);
    Font font = host_.createFont("DejaVu Sans", 16, false, false);
    dc->selectFont(font);
    Rect one = dc->measureText("Sketch", {5, 7, 5, 7}, DT_SINGLELINE);
    EXPECT_EQ(one.left, 5);
    EXPECT_EQ(one.top, 7);
    EXPECT_GT(one.width(), 0);
    EXPECT_LE(one.height(), 17) << "the cell height asked for";
    Rect wrapped =
        dc->measureText("one two three four five six seven eight", {0, 0, 80, 0}, DT_WORDBREAK);
    EXPECT_LE(wrapped.width(), 80);
    EXPECT_GE(wrapped.height(), 3 * one.height());
    Rect tabbed = dc->measureText("a\tb", {0, 0, 0, 0}, DT_EXPANDTABS | DT_SINGLELINE);
    Rect spaced = dc->measureText("a       b", {0, 0, 0, 0}, DT_SINGLELINE);
    EXPECT_EQ(tabbed.width(), spaced.width()) << "a tab runs to the eighth column";
    // "&" marks a mnemonic and takes no room unless DT_NOPREFIX.
    EXPECT_LT(dc->measureText("&File", {0, 0, 0, 0}, DT_SINGLELINE).width(),
              dc->measureText("&File", {0, 0, 0, 0}, DT_SINGLELINE | DT_NOPREFIX).width());
    host_.deleteFont(font);
}

}  // namespace

namespace {

TEST(PainterContext, PixelsDrawnThroughAClipKeepTheirPlace) {
    qt_test::testHost();
    // A 40 x 30 block whose pixel (x, y) has red x and green y, fourth byte 0.
    const int width = 40, height = 30;
    std::vector<std::uint8_t> bits(std::size_t(width) * height * 4);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            std::uint8_t* p = &bits[(std::size_t(y) * width + x) * 4];
            p[0] = 0, p[1] = std::uint8_t(y), p[2] = std::uint8_t(x), p[3] = 0;
        }
    host::PixelView view{bits.data(), width, height, width * 4, 32, nullptr};
    QImage target(60, 50, QImage::Format_ARGB32);
    target.fill(Qt::white);
    {
        host::qt::PainterContext dc(qt_test::testHost(), host::qt::paintDeviceCaps(target));
        dc.painter().begin(&target);
        dc.painter().setClipRect(QRect(10, 8, 12, 6));
        dc.drawPixels(5, 3, view);
    }
    EXPECT_EQ(target.pixel(10, 8), qRgba(5, 5, 0, 255)) << "block pixel (5, 5), opaque";
    EXPECT_EQ(target.pixel(21, 13), qRgba(16, 10, 0, 255));
    EXPECT_EQ(target.pixel(9, 8), qRgba(255, 255, 255, 255)) << "outside the clip";
    EXPECT_EQ(target.pixel(22, 13), qRgba(255, 255, 255, 255));
}

}  // namespace

namespace {

// Answers the message box that is about to run, once it shows.
void answerNextBox(std::function<void(QMessageBox&)> answer) {
    QTimer::singleShot(0, [answer = std::move(answer)] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (box) answer(*box);
    });
}

TEST(QtMessageBox, ButtonSetsAndIconsAnswerTheirIds) {
    host::qt::QtHost& h = qt_test::testHost();
    QString seenText, seenTitle;
    QMessageBox::Icon seenIcon = QMessageBox::NoIcon;
    int buttonCount = 0;
    answerNextBox([&](QMessageBox& box) {
        seenText = box.text();
        seenTitle = box.windowTitle();
        seenIcon = box.icon();
        buttonCount = int(box.buttons().size());
        box.button(QMessageBox::No)->click();
    });
    EXPECT_EQ(h.messageBox(host::kNoWindow, "Save the changes?", "penwick",
                           host::MB_YESNOCANCEL | host::MB_ICONQUESTION),
              host::IDNO);
    EXPECT_EQ(seenText, QStringLiteral("Save the changes?"));
    EXPECT_EQ(seenTitle, QStringLiteral("penwick"));
    EXPECT_EQ(seenIcon, QMessageBox::Question);
    EXPECT_EQ(buttonCount, 3);

    answerNextBox([](QMessageBox& box) { box.button(QMessageBox::Retry)->click(); });
    EXPECT_EQ(h.messageBox(host::kNoWindow, "Disk busy", "penwick",
                           host::MB_ABORTRETRYIGNORE | host::MB_ICONHAND),
              host::IDRETRY);

    // Closed without a button: Cancel where the set has one.
    answerNextBox([](QMessageBox& box) { box.reject(); });
    EXPECT_EQ(h.messageBox(host::kNoWindow, "Print?", "penwick", host::MB_OKCANCEL),
              host::IDCANCEL);
    answerNextBox([](QMessageBox& box) { box.reject(); });
    EXPECT_EQ(h.messageBox(host::kNoWindow, "Done.", "penwick", host::MB_OK), host::IDOK);
}

}  // namespace
