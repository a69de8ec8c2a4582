#include "framework/platform/graphics.h"

#include "host/window_style.h"
#include "host_fixture.h"

namespace penwick {
namespace {

using testing::HostFixture;

host::LResult plainProc(host::Window w, std::uint32_t m, host::WParam wp, host::LParam lp) {
    return host::instance().defaultProc(w, m, wp, lp);
}

class GraphicsTest : public HostFixture {
  protected:
    host::Window makeWindow(std::uint32_t style, host::Window parent, host::Rect r) {
        host::CreateRequest request;
        request.style = style;
        request.parent = parent;
        request.x = r.left;
        request.y = r.top;
        request.width = r.width();
        request.height = r.height();
        request.proc = plainProc;
        return host_.createWindow(request);
    }
};

TEST_F(GraphicsTest, SelectionRestoresWhatTheFirstSelectionReplaced) {
    host::Window w = makeWindow(host::WS_POPUP, {}, {0, 0, 50, 50});
    auto dc = host_.getDC(w);
    host::Brush original = host_.createSolidBrush(0x111111);
    dc->selectBrush(original);
    {
        DCSelection selection(*dc);
        selection.select(host_.createSolidBrush(0x222222));
        selection.select(host_.createSolidBrush(0x333333));
        EXPECT_NE(dc->selectBrush(dc->selectBrush(host::kNoBrush)), original);
    }
    EXPECT_EQ(dc->selectBrush(host::kNoBrush), original);
}

TEST_F(GraphicsTest, SolidBrushIsRemadeOnlyForANewColour) {
    host::Window w = makeWindow(host::WS_POPUP, {}, {0, 0, 50, 50});
    auto dc = host_.getDC(w);
    SolidBrush brush;
    host::Brush first = brush.get(*dc, 0x00FF00);
    EXPECT_EQ(brush.get(*dc, 0x00FF00), first);
    host::Brush second = brush.get(*dc, 0x0000FF, true);
    EXPECT_NE(second, first);
    EXPECT_EQ(brush.colour(), 0x0000FFu);
}

TEST_F(GraphicsTest, FontsWeighByBoldAndFailWhenTheFaceIsMissing) {
    ktFont font;
    ASSERT_TRUE(font.create("MS Shell Dlg", 14, false, true));
    auto info = host_.fontInfo(font.handle());
    ASSERT_TRUE(info);
    EXPECT_TRUE(info->bold);
    EXPECT_EQ(info->height, 14);
    host_.setFontAvailable("Missing Face", false);
    EXPECT_EQ(createFont("Missing Face", 8, false, false), host::kNoFont);
}

TEST_F(GraphicsTest, ResizeKeepsTheTopLeftCornerOfAChild) {
    host::Window top = makeWindow(host::WS_POPUP, {}, {10, 10, 310, 210});
    host::Window child = makeWindow(host::WS_CHILD, top, {20, 30, 60, 50});
    resizeWindow(child, 100, 70);
    EXPECT_EQ(host_.windowRect(child), (host::Rect{20, 30, 120, 100}));
    EXPECT_EQ(clientWidth(child), 100);
    EXPECT_EQ(clientHeight(child), 70);
    ASSERT_TRUE(displayMode());
    EXPECT_EQ(displayMode()->width, 1920);
    host_.setDisplayMode(std::nullopt);
    EXPECT_FALSE(displayMode());
}

TEST_F(GraphicsTest, PopupMenuAnswersOrPostsTheCommand) {
    host::Window owner = makeWindow(host::WS_POPUP, {}, {100, 200, 300, 300});
    host::Menu menu = host_.createMenu(true);
    host_.appendMenu(menu, host::MF_STRING, 77, "&Copy Dialog Text to Clipboard", host::kNoMenu);
    EXPECT_EQ(trackPopupMenu(5, 5, host::kNoMenu, owner, true), -1);

    host_.scriptPopupMenu(77);
    EXPECT_EQ(trackPopupMenu(5, 5, menu, owner, true), 77);
    host::Message m;
    EXPECT_FALSE(host_.peekMessage(m, host::kNoWindow, 0, 0, true));

    host_.scriptPopupMenu(77);
    trackPopupMenu(0xFFFF, 5, menu, owner, false);
    ASSERT_TRUE(host_.peekMessage(m, owner, 0, 0, true));
    EXPECT_EQ(m.message, host::WM_COMMAND);
    EXPECT_EQ(m.wParam, 77u);

    // Without an owner a hidden window stands in for the time of the menu.
    host_.scriptPopupMenu(77);
    EXPECT_EQ(trackPopupMenu(-1, 0, menu, host::kNoWindow, true), 77);
    EXPECT_EQ(host_.popupMenusShown().size(), 3u);
}

}  // namespace
}  // namespace penwick
