#include "framework/text/format.h"

#include <charconv>
#include <cstdio>

namespace penwick {

namespace {

int formatInto(char (&buffer)[kFormatLimit + 1], const char* fmt, va_list args) {
    int n = std::vsnprintf(buffer, sizeof buffer, fmt, args);
    if (n < 0) return 0;
    return n > kFormatLimit ? kFormatLimit : n;
}

}  // namespace

ktString formatList(const char* fmt, va_list args) {
    char buffer[kFormatLimit + 1];
    int n = formatInto(buffer, fmt, args);
    return ktString(buffer, n);
}

ktString format(const char* fmt, ...) {
    va_list args;
    va_start(args, fmt);
    ktString result = formatList(fmt, args);
    va_end(args);
    return result;
}

ktTextBuffer formatBuffer(const char* fmt, ...) {
    char buffer[kFormatLimit + 1];
    va_list args;
    va_start(args, fmt);
    int n = formatInto(buffer, fmt, args);
    va_end(args);
    return ktTextBuffer(std::string_view(buffer, size_t(n)));
}

ktString formatReal(double value) {
    // std::to_chars with the general format and precision 6 is "%g" in the
    // C locale, whatever locale the program runs in.
    char buffer[64];
    auto result =
        std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::general, 6);
    return ktString(buffer, int32_t(result.ptr - buffer));
}

}  // namespace penwick
