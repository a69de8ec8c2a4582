#pragma once
// Menus: menu bars and popups built from a description, queried and changed
// item by item. Items are addressed by position (0 = first). Commands chosen
// from a menu reach the owner window as a queued WM_COMMAND with the item's
// id in the low word of wParam.

#include <cstdint>
#include <string>
#include <vector>

#include "host/types.h"

namespace host {

class Host;

// Item state flags (MenuItem::flags and Host::appendMenu).
inline constexpr std::uint32_t MF_STRING = 0x0000;
inline constexpr std::uint32_t MF_GRAYED = 0x0001;  // shown greyed and not choosable
inline constexpr std::uint32_t MF_CHECKED = 0x0008;
inline constexpr std::uint32_t MF_POPUP = 0x0010;  // the item opens a sub-menu
inline constexpr std::uint32_t MF_SEPARATOR = 0x0800;

// trackPopupMenu flags.
inline constexpr std::uint32_t TPM_RIGHTBUTTON = 0x0002;  // the right button chooses too
inline constexpr std::uint32_t TPM_RETURNCMD = 0x0100;    // return the id instead of posting

// One item as the host reports it. The text keeps "&" before the mnemonic
// letter and "\t" before the shortcut text, as given.
struct MenuItem {
    std::uint32_t id = 0;  // command id; 0 for separators and sub-menus
    std::uint32_t flags = 0;
    std::string text;
    Menu subMenu{};  // MF_POPUP items only
};

// A menu described as data, the form resources take: a tree of items.
// A separator has the flag MF_SEPARATOR; a sub-menu has children.
struct MenuTemplate {
    std::string text;
    std::uint32_t id = 0;
    std::uint32_t flags = 0;
    std::vector<MenuTemplate> children;
};

// Builds a menu bar (`popup` false) or a popup menu from the children of
// `root`; the caller owns the result (Host::destroyMenu).
Menu buildMenu(Host& host, const MenuTemplate& root, bool popup);

}  // namespace host
