#include <gtest/gtest.h>

#include "host/headless/headless_host.h"
#include "host/menu.h"
#include "host/window_style.h"

namespace {

using namespace host;
using host::headless::DrawOp;
using host::headless::HeadlessHost;

std::vector<std::pair<std::uint32_t, WParam>> seen;
LResult noteProc(Window w, std::uint32_t m, WParam wp, LParam lp) {
    seen.push_back({m, wp});
    return instance().defaultProc(w, m, wp, lp);
}

class HeadlessServicesTest : public ::testing::Test {
  protected:
    HeadlessServicesTest() {
        setInstance(&host_);
        seen.clear();
        CreateRequest request;
        request.style = WS_OVERLAPPEDWINDOW;
        request.width = 400;
        request.height = 300;
        request.proc = noteProc;
        window_ = host_.createWindow(request);
    }
    ~HeadlessServicesTest() override { setInstance(nullptr); }
    HeadlessHost host_;
    Window window_{};
};

TEST_F(HeadlessServicesTest, MenuBuiltFromADescriptionCanBeQueriedAndChanged) {
    MenuTemplate file{"&File",
                      0,
                      0,
                      {{"&New\tCtrl+N", 40001, 0, {}},
                       {"", 0, MF_SEPARATOR, {}},
                       {"Auto &Save", 40002, MF_CHECKED, {}}}};
    MenuTemplate root{"", 0, 0, {file, {"&Help", 0, 0, {{"&About ...", 130, 0, {}}}}}};
    Menu bar = buildMenu(host_, root, false);
    ASSERT_EQ(host_.menuItemCount(bar), 2);
    Menu fileMenu = host_.menuItem(bar, 0)->subMenu;
    ASSERT_EQ(host_.menuItemCount(fileMenu), 3);
    EXPECT_EQ(host_.menuItem(fileMenu, 0)->text, "&New\tCtrl+N");
    EXPECT_EQ(host_.menuItem(fileMenu, 0)->id, 40001u);
    EXPECT_TRUE(host_.menuItem(fileMenu, 1)->flags & MF_SEPARATOR);
    EXPECT_TRUE(host_.menuItem(fileMenu, 2)->flags & MF_CHECKED);
    EXPECT_FALSE(host_.menuItem(fileMenu, 3));

    host_.setMenuItemChecked(fileMenu, 2, false);
    host_.setMenuItemEnabled(fileMenu, 0, false);
    host_.setMenuItemText(fileMenu, 0, "&New   \tCtrl+N");
    EXPECT_EQ(host_.menuItem(fileMenu, 2)->flags & MF_CHECKED, 0u);
    EXPECT_TRUE(host_.menuItem(fileMenu, 0)->flags & MF_GRAYED);
    EXPECT_EQ(host_.menuItem(fileMenu, 0)->text, "&New   \tCtrl+N");

    // Attaching the bar takes a menu row from the client area.
    int before = host_.clientRect(window_).height();
    seen.clear();
    ASSERT_TRUE(host_.setWindowMenu(window_, bar));
    EXPECT_EQ(host_.clientRect(window_).height(), before - 20);
    EXPECT_EQ(seen.at(0).first, WM_SIZE);
    seen.clear();
    host_.openMenuBarPopup(window_, 0);
    ASSERT_EQ(seen.size(), 2u);
    EXPECT_EQ(seen[0], std::make_pair(WM_INITMENU, WParam(bar)));
    EXPECT_EQ(seen[1], std::make_pair(WM_INITMENUPOPUP, WParam(fileMenu)));
    host_.destroyMenu(bar);
    EXPECT_EQ(host_.menuItemCount(fileMenu), -1);  // sub-menus go with it
}

TEST_F(HeadlessServicesTest, PaintRecordsDrawingAndErasesFirst) {
    host_.showWindow(window_, SW_SHOW);
    seen.clear();
    host_.updateWindow(window_);
    // defaultProc does not paint; the paint message came, the region is valid.
    ASSERT_FALSE(seen.empty());
    EXPECT_EQ(seen.back().first, WM_PAINT);
    EXPECT_FALSE(host_.dirtyRect(window_));

    Rect part{1, 2, 30, 40};
    host_.invalidate(window_, &part, true);
    PaintRecord record = host_.beginPaint(window_);
    ASSERT_NE(record.dc, nullptr);
    EXPECT_EQ(record.paint, part);
    EXPECT_TRUE(record.erase);  // defaultProc left the background
    Brush brush = host_.createSolidBrush(rgb(1, 2, 3));
    record.dc->selectBrush(brush);
    record.dc->fillRect(part);
    record.dc->beginPath();
    record.dc->moveTo({0, 0});
    record.dc->bezierTo({1, 1}, {2, 2}, {3, 0});
    record.dc->closeFigure();
    record.dc->endPath();
    record.dc->fillPath();
    host_.endPaint(window_, record);
    const std::vector<DrawOp>& ops = host_.drawLog(window_);
    ASSERT_EQ(ops.size(), 7u);
    EXPECT_EQ(ops[0].kind, DrawOp::Kind::fillRect);
    EXPECT_EQ(ops[0].colour, rgb(1, 2, 3));
    EXPECT_EQ(ops[3].points, (std::vector<Point>{{1, 1}, {2, 2}, {3, 0}}));
    EXPECT_EQ(ops[6].kind, DrawOp::Kind::fillPath);
    EXPECT_TRUE(ops[6].hasBrush);
}

TEST_F(HeadlessServicesTest, TextMeasuresWithWrapTabsAndMnemonics) {
    auto dc = host_.getDC(window_);
    Font font = host_.createFont("MS Shell Dlg", 14, false, false);  // 7 pixels a character
    dc->selectFont(font);
    Rect wide = dc->measureText("&OK", {0, 0, 1000, 0}, DT_SINGLELINE);
    EXPECT_EQ(wide, (Rect{0, 0, 14, 14}));
    Rect tabbed = dc->measureText("a\tb", {0, 0, 1000, 0}, DT_EXPANDTABS | DT_NOPREFIX);
    EXPECT_EQ(tabbed.width(), 9 * 7);
    Rect wrapped =
        dc->measureText("one two three four", {5, 5, 5 + 7 * 9, 5}, DT_WORDBREAK | DT_NOPREFIX);
    // "one two" / "three" / "four" in nine columns.
    EXPECT_EQ(wrapped, (Rect{5, 5, 5 + 7 * 7, 5 + 3 * 14}));
}

TEST_F(HeadlessServicesTest, DialogsAnswerFromTheScriptAndRecordTheQuestion) {
    EXPECT_EQ(host_.messageBox(window_, "Save changes to a.wnk?", "", MB_YESNOCANCEL), IDYES);
    host_.scriptMessageBox(IDCANCEL);
    EXPECT_EQ(host_.messageBox(kNoWindow, "x", "t", MB_OKCANCEL), IDCANCEL);
    ASSERT_EQ(host_.messageBoxes().size(), 2u);
    EXPECT_EQ(host_.messageBoxes()[0].text, "Save changes to a.wnk?");
    EXPECT_EQ(host_.messageBoxes()[0].owner, window_);

    PrintSettings settings;
    EXPECT_FALSE(host_.printDialog(window_, settings));  // cancelled when nothing scripted
    PrintSettings chosen;
    chosen.fromPage = 2;
    chosen.toPage = 3;
    host_.scriptPrintDialog(chosen);
    ASSERT_TRUE(host_.printDialog(window_, settings));
    EXPECT_EQ(settings.toPage, 3);

    auto printer = host_.createPrinterContext(settings);
    ASSERT_NE(printer, nullptr);
    EXPECT_GT(printer->startDocument("page.wnk"), 0);
    for (int page = settings.fromPage; page <= settings.toPage; ++page) {
        EXPECT_GT(printer->startPage(), 0);
        printer->dc().fillRect({0, 0, printer->dc().deviceCaps(HORZRES), 10});
        EXPECT_GT(printer->endPage(), 0);
    }
    EXPECT_GT(printer->endDocument(), 0);
    ASSERT_EQ(host_.printedDocuments().size(), 1u);
    EXPECT_EQ(host_.printedDocuments()[0].name, "page.wnk");
    EXPECT_EQ(host_.printedDocuments()[0].pages.size(), 2u);
    EXPECT_EQ(host_.printedDocuments()[0].pages[1].at(0).rect.right, 2480);
    EXPECT_TRUE(host_.printedDocuments()[0].ended);

    host_.setPrinterAvailable(false);
    errno = 0;
    EXPECT_EQ(host_.createPrinterContext(settings), nullptr);
    EXPECT_NE(errno, 0);
}

TEST_F(HeadlessServicesTest, PictureGoesToTheClipboardWithItsDrawing) {
    auto reference = host_.getDC(window_);
    auto picture = host_.createPicture(*reference, nullptr, "A Meta File");
    ASSERT_NE(picture, nullptr);
    picture->setFillMode(FillMode::winding);
    EXPECT_FALSE(host_.setClipboardPicture(std::move(picture)));  // clipboard not open
    picture = host_.createPicture(*reference, nullptr, "A Meta File");
    picture->setFillMode(FillMode::winding);
    ASSERT_TRUE(host_.openClipboard(kNoWindow));
    EXPECT_FALSE(host_.openClipboard(kNoWindow));  // one opener at a time
    ASSERT_TRUE(host_.emptyClipboard());
    ASSERT_TRUE(host_.setClipboardPicture(std::move(picture)));
    host_.closeClipboard();
    ASSERT_NE(host_.clipboardPicture(), nullptr);
    EXPECT_EQ(host_.clipboardPicture()->size(), 1u);
    EXPECT_TRUE(host_.isClipboardFormatAvailable("image/svg+xml"));
}

}  // namespace
