#include "host/key_translation.h"

#include "host/keys.h"

namespace host {

namespace {

// Unshifted and shifted characters of the punctuation keys.
struct PunctuationKey {
    int virtualKey;
    char plain;
    char shifted;
};
constexpr PunctuationKey kPunctuation[] = {
    {VK_OEM_1, ';', ':'},     {VK_OEM_PLUS, '=', '+'},   {VK_OEM_COMMA, ',', '<'},
    {VK_OEM_MINUS, '-', '_'}, {VK_OEM_PERIOD, '.', '>'}, {VK_OEM_2, '/', '?'},
    {VK_OEM_3, '`', '~'},     {VK_OEM_4, '[', '{'},      {VK_OEM_5, '\\', '|'},
    {VK_OEM_6, ']', '}'},     {VK_OEM_7, '\'', '"'},
};

int plainCharacter(int vk, bool shift) {
    if (vk >= 'A' && vk <= 'Z') return shift ? vk : vk - 'A' + 'a';
    if (vk >= '0' && vk <= '9') return shift ? ")!@#$%^&*("[vk - '0'] : vk;
    if (vk >= VK_NUMPAD0 && vk <= VK_NUMPAD0 + 9) return '0' + vk - VK_NUMPAD0;
    switch (vk) {
        case VK_SPACE:
        case VK_RETURN:
        case VK_BACK:
        case VK_ESCAPE:
        case VK_TAB:
            return vk;
        case VK_ADD:
            return '+';
        case VK_SUBTRACT:
            return '-';
        case VK_MULTIPLY:
            return '*';
        case VK_DIVIDE:
            return '/';
        case VK_DECIMAL:
            return '.';
        default:
            break;
    }
    for (const PunctuationKey& key : kPunctuation)
        if (key.virtualKey == vk) return shift ? key.shifted : key.plain;
    return 0;
}

}  // namespace

int characterForKey(int virtualKey, bool shift, bool control) {
    if (control && virtualKey >= 'A' && virtualKey <= 'Z') return virtualKey - 'A' + 1;
    return plainCharacter(virtualKey, shift);
}

}  // namespace host
