// The host core: menus, brushes, fonts, dropped files and tablet contexts.
#include "host/host_core.h"
#include "host/window_style.h"

namespace host {

// ---- Menus ------------------------------------------------------------------

Menu HostCore::createMenu(bool popup) {
    const Menu menu{newObjectHandle()};
    menus_.create(menu, popup);
    return menu;
}

void HostCore::destroyMenu(Menu menu) {
    // A window whose bar goes loses it (its client area grows back), rather
    // than keeping a handle that means nothing.
    for (Menu gone : menus_.destroy(menu))
        for (const auto& [handle, w] : windows_)
            if (!w->dead && w->menu == gone) setWindowMenu(w->handle, kNoMenu);
}

bool HostCore::appendMenu(Menu menu, std::uint32_t flags, std::uint32_t id, std::string_view text,
                          Menu subMenu) {
    if (!menus_.append(menu, flags, id, text, subMenu)) return false;
    menuChanged(menu);
    return true;
}

int HostCore::menuItemCount(Menu menu) const {
    return menus_.itemCount(menu);
}

std::optional<MenuItem> HostCore::menuItem(Menu menu, int position) const {
    return menus_.item(menu, position);
}

bool HostCore::setMenuItemText(Menu menu, int position, std::string_view text) {
    if (!menus_.setText(menu, position, text)) return false;
    menuChanged(menu);
    return true;
}

bool HostCore::setMenuItemChecked(Menu menu, int position, bool checked) {
    if (!menus_.setChecked(menu, position, checked)) return false;
    menuChanged(menu);
    return true;
}

bool HostCore::setMenuItemEnabled(Menu menu, int position, bool enabled) {
    if (!menus_.setEnabled(menu, position, enabled)) return false;
    menuChanged(menu);
    return true;
}

void HostCore::menuChanged(Menu menu) {
    // Popups are read again whenever they open; only a bar shows its items
    // all the time.
    for (const auto& [handle, w] : windows_)
        if (!w->dead && w->menu == menu) surfaceMenuChanged(*w);
}

bool HostCore::setWindowMenu(Window window, Menu menu) {
    CoreWindow* w = find(window);
    if (!w || (w->style & WS_CHILD)) return false;
    if (menu != kNoMenu && !menus_.find(menu)) return false;
    w->menu = menu;
    surfaceMenuChanged(*w);
    sendSizeIfChanged(*w, false);
    return true;
}

Menu HostCore::windowMenu(Window window) const {
    const CoreWindow* w = find(window);
    return w ? w->menu : kNoMenu;
}

int HostCore::trackPopupMenu(Menu menu, std::uint32_t flags, Point screen, Window owner) {
    if (!menus_.find(menu)) return 0;
    sendMessage(owner, WM_INITMENUPOPUP, WParam(menu), 0);
    const int id = runPopupMenu(menu, screen, owner);
    if (flags & TPM_RETURNCMD) return id;
    if (id != 0) postMessage(owner, WM_COMMAND, makeWParam(id, 0), 0);
    return id != 0 ? 1 : 0;
}

// ---- Brushes and fonts ------------------------------------------------------

Brush HostCore::createSolidBrush(ColourRef colour) {
    const Brush brush{newObjectHandle()};
    brushes_[std::uintptr_t(brush)] = colour & 0xFFFFFF;
    return brush;
}

void HostCore::deleteBrush(Brush brush) {
    brushes_.erase(std::uintptr_t(brush));
}

std::optional<ColourRef> HostCore::brushColour(Brush brush) const {
    auto it = brushes_.find(std::uintptr_t(brush));
    if (it == brushes_.end()) return std::nullopt;
    return it->second;
}

bool HostCore::fontAvailable(std::string_view) const {
    return true;
}

Font HostCore::createFont(std::string_view face, int height, bool italic, bool bold) {
    if (!fontAvailable(face)) return kNoFont;
    const Font font{newObjectHandle()};
    fonts_[std::uintptr_t(font)] = {std::string(face), height, italic, bold};
    return font;
}

void HostCore::deleteFont(Font font) {
    fonts_.erase(std::uintptr_t(font));
}

std::optional<FontInfo> HostCore::fontInfo(Font font) const {
    auto it = fonts_.find(std::uintptr_t(font));
    if (it == fonts_.end()) return std::nullopt;
    return it->second;
}

// ---- Dropped files ----------------------------------------------------------

WParam HostCore::addDrop(std::vector<std::string> files) {
    const WParam drop = nextDrop_++;
    drops_[drop] = std::move(files);
    return drop;
}

std::vector<std::string> HostCore::droppedFiles(WParam drop) const {
    auto it = drops_.find(drop);
    return it == drops_.end() ? std::vector<std::string>{} : it->second;
}

void HostCore::finishDrop(WParam drop) {
    drops_.erase(drop);
}

// ---- Tablet -----------------------------------------------------------------

TabletContext HostCore::openTablet(Window window) {
    // Pens are reported whether or not one is attached now, so a context
    // always opens for a window; with no pen, no packets come.
    if (!find(window)) return kNoTablet;
    const TabletContext context{newObjectHandle()};
    tablets_.open(context, window);
    return context;
}

void HostCore::closeTablet(TabletContext context) {
    tablets_.close(context);
}

bool HostCore::tabletPacket(TabletContext context, WParam serial, TabletPacket& packet) {
    return tablets_.packet(context, serial, packet);
}

void HostCore::enableTablet(TabletContext context, bool enable) {
    tablets_.enable(context, enable);
}

void HostCore::penProximity(bool near) {
    if (penNear_ && !near) penLeft_ = millisecondsSinceStart();
    penNear_ = near;
}

bool HostCore::penNearWithin(std::int64_t milliseconds) const {
    return penNear_ || (penLeft_ >= 0 && millisecondsSinceStart() - penLeft_ < milliseconds);
}

WParam HostCore::postTabletPacket(TabletContext context, const TabletPacket& packet,
                                  const InputState& state, Point cursor) {
    const WParam serial = tablets_.add(context, packet);
    // The keys held with the sample: the pen's gestures read Ctrl and Shift.
    if (serial != 0)
        postInput(tablets_.window(context), WT_PACKET, serial, LParam(context), state, cursor);
    return serial;
}

}  // namespace host
