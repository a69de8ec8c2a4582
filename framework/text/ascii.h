#pragma once

// Byte classes of the framework's text: letters are the ASCII letters only,
// and whitespace is every byte that, read as a signed 8-bit number, is not 0
// and at most 32 (the bytes 1 to 32 and 0x80 to 0xFF).

namespace penwick {

inline bool isTextSpace(char c) {
    return c != 0 && static_cast<signed char>(c) <= 32;
}
inline bool isAsciiDigit(char c) {
    return c >= '0' && c <= '9';
}
inline bool isAsciiUpper(char c) {
    return c >= 'A' && c <= 'Z';
}
inline bool isAsciiLower(char c) {
    return c >= 'a' && c <= 'z';
}
inline char asciiLower(char c) {
    return isAsciiUpper(c) ? char(c + ('a' - 'A')) : c;
}
inline char asciiUpper(char c) {
    return isAsciiLower(c) ? char(c - ('a' - 'A')) : c;
}

}  // namespace penwick
