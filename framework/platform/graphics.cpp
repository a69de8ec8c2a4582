#include "framework/platform/graphics.h"

#include "host/menu.h"
#include "host/window_style.h"

namespace penwick {

DCSelection::~DCSelection() {
    if (firstBrush_) dc_.selectBrush(*firstBrush_);
    if (firstFont_) dc_.selectFont(*firstFont_);
}

void DCSelection::select(host::Brush brush) {
    host::Brush old = dc_.selectBrush(brush);
    if (!firstBrush_) firstBrush_ = old;
}

void DCSelection::select(host::Font font) {
    host::Font old = dc_.selectFont(font);
    if (!firstFont_) firstFont_ = old;
}

SolidBrush::~SolidBrush() {
    if (brush_ != host::kNoBrush) host::instance().deleteBrush(brush_);
}

host::Brush SolidBrush::get(const host::DeviceContext& dc, host::ColourRef colour, bool exact) {
    if (!exact) colour = dc.nearestColour(colour);
    if (brush_ != host::kNoBrush && colour == colour_) return brush_;
    host::Host& h = host::instance();
    if (brush_ != host::kNoBrush) h.deleteBrush(brush_);
    brush_ = h.createSolidBrush(colour);
    colour_ = colour;
    return brush_;
}

ktFont::~ktFont() {
    if (font_ != host::kNoFont) host::instance().deleteFont(font_);
}

bool ktFont::create(std::string_view face, int height, bool italic, bool bold) {
    if (font_ != host::kNoFont) host::instance().deleteFont(font_);
    font_ = createFont(face, height, italic, bold);
    return font_ != host::kNoFont;
}

host::Font createFont(std::string_view face, int height, bool italic, bool bold) {
    return host::instance().createFont(face, height, italic, bold);
}

int clientWidth(host::Window window) {
    return host::instance().clientRect(window).width();
}
int clientHeight(host::Window window) {
    return host::instance().clientRect(window).height();
}

void resizeWindow(host::Window window, int width, int height) {
    host::Host& h = host::instance();
    host::Rect r = h.windowRect(window);
    h.moveWindow(window, {r.left, r.top, r.left + width, r.top + height}, true);
}

std::optional<host::DisplayMode> displayMode() {
    return host::instance().displayMode();
}

int trackPopupMenu(int x, int y, host::Menu menu, host::Window owner, bool returnCommand) {
    if (menu == host::kNoMenu) return -1;
    host::Host& h = host::instance();
    host::Window temporary{};
    if (owner == host::kNoWindow) {
        host::CreateRequest request;
        request.style = host::WS_POPUP;
        request.proc = [](host::Window w, std::uint32_t m, host::WParam wp, host::LParam lp) {
            return host::instance().defaultProc(w, m, wp, lp);
        };
        temporary = h.createWindow(request);
        owner = temporary;
        h.setForegroundWindow(owner);
    }
    host::Point at{x, y};
    if (x < 0 || (x & 0xFFFF) == 0xFFFF) at = h.clientToScreen(owner, {0, 0});
    std::uint32_t flags = returnCommand ? host::TPM_RETURNCMD | host::TPM_RIGHTBUTTON : 0;
    int result = h.trackPopupMenu(menu, flags, at, owner);
    if (temporary != host::kNoWindow) h.destroyWindow(temporary);
    return result;
}

}  // namespace penwick
