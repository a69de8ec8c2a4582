#include "framework/text/numbers.h"

#include <cmath>
#include <limits>

#include "framework/text/ascii.h"

namespace penwick {

namespace {

size_t skipSpace(std::string_view text) {
    size_t i = 0;
    while (i < text.size() && isTextSpace(text[i]))
        ++i;
    return i;
}

}  // namespace

int32_t parseInteger(std::string_view text, int32_t& out) {
    size_t i = 0;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
    size_t firstDigit = i;
    int64_t value = 0;
    while (i < text.size() && isAsciiDigit(text[i]) && value <= 214748364) {
        value = value * 10 + (text[i] - '0');
        ++i;
    }
    if (i == firstDigit) return 0;
    if (negative) value = -value;
    if (value > INT32_MAX) value = INT32_MAX;
    if (value < INT32_MIN) value = INT32_MIN;
    out = int32_t(value);
    return int32_t(i);
}

int32_t parseReal(std::string_view text, double& out) {
    size_t i = 0;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
    if (i >= text.size() || !isAsciiDigit(text[i])) return 0;
    double value = 0;
    while (i < text.size() && isAsciiDigit(text[i]))
        value = value * 10 + (text[i++] - '0');
    if (i < text.size() && text[i] == '.') {
        ++i;
        // Fraction digits beyond what a double can hold are read but not
        // counted, so that 10^k stays finite.
        double fraction = 0;
        int digits = 0;
        while (i < text.size() && isAsciiDigit(text[i])) {
            if (digits < 18) {
                fraction = fraction * 10 + (text[i] - '0');
                ++digits;
            }
            ++i;
        }
        value += fraction / std::pow(10.0, digits);
    }
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        int32_t exponent = 0;
        int32_t used = parseInteger(text.substr(i + 1), exponent);
        if (used > 0) {
            i += 1 + size_t(used);
            if (value != 0) {
                if (exponent >= 0)
                    value *= std::pow(10.0, exponent);
                else
                    value /= std::pow(10.0, -double(exponent));
            }
        }
    }
    out = negative ? -value : value;
    return int32_t(i);
}

int hexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

int32_t readIntegerNumber(std::string_view text, int32_t& out) {
    size_t start = skipSpace(text);
    std::string_view rest = text.substr(start);
    if (rest.size() >= 3 && rest[0] == '0') {
        int base = 0;
        if (rest[1] == 'x' || rest[1] == 'X') base = 16;
        if (rest[1] == 'b' || rest[1] == 'B') base = 2;
        if (base != 0) {
            size_t i = 2;
            uint32_t value = 0;
            for (; i < rest.size(); ++i) {
                int digit = hexDigit(rest[i]);
                if (digit < 0 || digit >= base) break;
                value = value * uint32_t(base) + uint32_t(digit);
            }
            if (i > 2) {
                out = int32_t(value);
                return int32_t(start + i);
            }
            // "0x" without digits reads as the decimal 0 below.
        }
    }
    int32_t used = parseInteger(rest, out);
    return used == 0 ? 0 : int32_t(start) + used;
}

int32_t readRealNumber(std::string_view text, double& out) {
    size_t start = skipSpace(text);
    int32_t used = parseReal(text.substr(start), out);
    return used == 0 ? 0 : int32_t(start) + used;
}

}  // namespace penwick
