#include "host/menu.h"

#include "host/host.h"

namespace host {

namespace {

void appendItems(Host& host, Menu menu, const MenuTemplate& parent) {
    for (const MenuTemplate& item : parent.children) {
        if (item.flags & MF_SEPARATOR) {
            host.appendMenu(menu, MF_SEPARATOR, 0, {}, kNoMenu);
        } else if (!item.children.empty() || (item.flags & MF_POPUP)) {
            Menu sub = host.createMenu(true);
            appendItems(host, sub, item);
            host.appendMenu(menu, item.flags | MF_POPUP, 0, item.text, sub);
        } else {
            host.appendMenu(menu, item.flags, item.id, item.text, kNoMenu);
        }
    }
}

}  // namespace

Menu buildMenu(Host& host, const MenuTemplate& root, bool popup) {
    Menu menu = host.createMenu(popup);
    if (menu != kNoMenu) appendItems(host, menu, root);
    return menu;
}

}  // namespace host
