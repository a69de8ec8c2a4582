#pragma once
// The resources a program carries as data: menus, accelerator tables and
// dialog templates, each under a numeric name (the program's main menu and
// its accelerators share the name 128). The application is given its
// resources as its "instance" and loads from them by name.

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "host/menu.h"

namespace penwick {

// One accelerator: a key (a virtual-key code, or a character when kVirtKey
// is not set) with modifier flags, and the command it sends.
struct Accelerator {
    static constexpr std::uint8_t kVirtKey = 0x01;
    static constexpr std::uint8_t kNoInvert = 0x02;
    static constexpr std::uint8_t kShift = 0x04;
    static constexpr std::uint8_t kControl = 0x08;
    static constexpr std::uint8_t kAlt = 0x10;

    std::uint8_t flags = 0;
    std::uint16_t key = 0;
    std::uint16_t command = 0;
};
using AcceleratorTable = std::vector<Accelerator>;

// One control of a dialog template; positions and sizes in dialog units
// (a quarter of the font's average character width horizontally, an eighth
// of its height vertically).
struct DialogItem {
    enum class Kind { text, button };
    Kind kind = Kind::text;
    std::string text;
    int id = -1;
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
    bool defaultButton = false;
};

struct DialogTemplate {
    std::string caption;
    int width = 0;  // dialog units
    int height = 0;
    std::string fontFace;
    int fontPoints = 8;
    std::uint32_t style = 0;  // WS_* of the dialog window
    std::vector<DialogItem> items;
};

struct ktResources {
    std::map<int, host::MenuTemplate> menus;
    std::map<int, AcceleratorTable> accelerators;
    std::map<int, DialogTemplate> dialogs;
};

}  // namespace penwick
