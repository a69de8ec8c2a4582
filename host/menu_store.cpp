#include "host/menu_store.h"

#include <string>

namespace host {

void MenuStore::create(Menu handle, bool popup) {
    menus_[std::uintptr_t(handle)] = Record{popup, {}};
}

std::vector<Menu> MenuStore::destroy(Menu menu) {
    std::vector<Menu> removed;
    std::vector<Menu> pending{menu};
    // A sub-menu belongs to the one menu it was appended to, so the walk
    // meets each menu once; a menu given twice is gone the second time.
    while (!pending.empty()) {
        Menu m = pending.back();
        pending.pop_back();
        auto it = menus_.find(std::uintptr_t(m));
        if (it == menus_.end()) continue;
        for (const MenuItem& item : it->second.items)
            if (item.subMenu != kNoMenu) pending.push_back(item.subMenu);
        menus_.erase(it);
        removed.push_back(m);
    }
    return removed;
}

bool MenuStore::append(Menu menu, std::uint32_t flags, std::uint32_t id, std::string_view text,
                       Menu subMenu) {
    auto it = menus_.find(std::uintptr_t(menu));
    if (it == menus_.end()) return false;
    if ((flags & MF_POPUP) && (subMenu == menu || !find(subMenu))) return false;
    MenuItem item;
    item.flags = flags;
    if (flags & MF_POPUP)
        item.subMenu = subMenu;
    else if (!(flags & MF_SEPARATOR))
        item.id = id;
    if (!(flags & MF_SEPARATOR)) item.text = std::string(text);
    it->second.items.push_back(std::move(item));
    return true;
}

const MenuStore::Record* MenuStore::find(Menu menu) const {
    auto it = menus_.find(std::uintptr_t(menu));
    return it == menus_.end() ? nullptr : &it->second;
}

int MenuStore::itemCount(Menu menu) const {
    const Record* r = find(menu);
    return r ? int(r->items.size()) : -1;
}

std::optional<MenuItem> MenuStore::item(Menu menu, int position) const {
    const Record* r = find(menu);
    if (!r || position < 0 || position >= int(r->items.size())) return std::nullopt;
    return r->items[std::size_t(position)];
}

MenuItem* MenuStore::itemAt(Menu menu, int position) {
    auto it = menus_.find(std::uintptr_t(menu));
    if (it == menus_.end() || position < 0 || position >= int(it->second.items.size()))
        return nullptr;
    return &it->second.items[std::size_t(position)];
}

bool MenuStore::setText(Menu menu, int position, std::string_view text) {
    MenuItem* item = itemAt(menu, position);
    if (!item || (item->flags & MF_SEPARATOR)) return false;
    item->text = std::string(text);
    return true;
}

bool MenuStore::setChecked(Menu menu, int position, bool checked) {
    MenuItem* item = itemAt(menu, position);
    if (!item) return false;
    item->flags = checked ? item->flags | MF_CHECKED : item->flags & ~MF_CHECKED;
    return true;
}

bool MenuStore::setEnabled(Menu menu, int position, bool enabled) {
    MenuItem* item = itemAt(menu, position);
    if (!item) return false;
    item->flags = enabled ? item->flags & ~MF_GRAYED : item->flags | MF_GRAYED;
    return true;
}

}  // namespace host
