#include "host/keys.h"

namespace host {

std::string keyName(int vk) {
    if ((vk >= 'A' && vk <= 'Z') || (vk >= '0' && vk <= '9')) return std::string(1, char(vk));
    // Appending to a string, rather than writing "literal" + string, keeps
    // GCC 12's false -Wrestrict report out of optimised builds.
    if (vk >= VK_F1 && vk <= VK_F12) return std::string("F").append(std::to_string(vk - VK_F1 + 1));
    if (vk >= VK_NUMPAD0 && vk <= VK_NUMPAD0 + 9)
        return std::string("Num ").append(std::to_string(vk - VK_NUMPAD0));
    switch (vk) {
        // The cursor block shares its scan codes with the numeric keypad; asked
        // without the extended bit, the keyboard names the keypad keys.
        case VK_HOME:
            return "Num 7";
        case VK_UP:
            return "Num 8";
        case VK_PRIOR:
            return "Num 9";
        case VK_LEFT:
            return "Num 4";
        case VK_RIGHT:
            return "Num 6";
        case VK_END:
            return "Num 1";
        case VK_DOWN:
            return "Num 2";
        case VK_NEXT:
            return "Num 3";
        case VK_INSERT:
            return "Num 0";
        case VK_DELETE:
            return "Num Del";
        case VK_MULTIPLY:
            return "Num *";
        case VK_ADD:
            return "Num +";
        case VK_SUBTRACT:
            return "Num -";
        case VK_DECIMAL:
            return "Num Del";
        case VK_DIVIDE:
            return "/";
        case VK_BACK:
            return "Backspace";
        case VK_TAB:
            return "Tab";
        case VK_RETURN:
            return "Enter";
        case VK_SHIFT:
            return "Shift";
        case VK_CONTROL:
            return "Ctrl";
        case VK_MENU:
            return "Alt";
        case VK_PAUSE:
            return "Pause";
        case VK_CAPITAL:
            return "Caps Lock";
        case VK_ESCAPE:
            return "Esc";
        case VK_SPACE:
            return "Space";
        case VK_NUMLOCK:
            return "Num Lock";
        case VK_SCROLL:
            return "Scroll Lock";
        case VK_OEM_1:
            return ";";
        case VK_OEM_PLUS:
            return "=";
        case VK_OEM_COMMA:
            return ",";
        case VK_OEM_MINUS:
            return "-";
        case VK_OEM_PERIOD:
            return ".";
        case VK_OEM_2:
            return "/";
        case VK_OEM_3:
            return "`";
        case VK_OEM_4:
            return "[";
        case VK_OEM_5:
            return "\\";
        case VK_OEM_6:
            return "]";
        case VK_OEM_7:
            return "'";
        default:
            return {};
    }
}

}  // namespace host
