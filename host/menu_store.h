#pragma once
// The menus of a host as records: what the program builds and changes item by
// item, and what a window system's menus are filled from when they show.

#include <cstdint>
#include <map>
#include <optional>
#include <string_view>
#include <vector>

#include "host/menu.h"
#include "host/types.h"

namespace host {

class MenuStore {
  public:
    struct Record {
        bool popup = false;
        std::vector<MenuItem> items;
    };

    // `handle` is a fresh handle from the host.
    void create(Menu handle, bool popup);
    // Removes the menu and its sub-menus; answers every menu removed.
    std::vector<Menu> destroy(Menu menu);
    bool append(Menu menu, std::uint32_t flags, std::uint32_t id, std::string_view text,
                Menu subMenu);

    const Record* find(Menu menu) const;
    int itemCount(Menu menu) const;  // -1 for an unknown menu
    std::optional<MenuItem> item(Menu menu, int position) const;

    bool setText(Menu menu, int position, std::string_view text);
    bool setChecked(Menu menu, int position, bool checked);
    bool setEnabled(Menu menu, int position, bool enabled);

  private:
    MenuItem* itemAt(Menu menu, int position);
    std::map<std::uintptr_t, Record> menus_;
};

}  // namespace host
