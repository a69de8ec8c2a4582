#pragma once

// The framework's formatter: printf-style formatting into a 4096-byte
// buffer, so a result holds at most 4095 characters and longer output is
// cut silently. Numbers follow the C library's current locale; text meant for
// files formats its floating-point numbers with formatReal instead.

#include <cstdarg>

#include "framework/text/sequence.h"
#include "framework/text/string.h"

namespace penwick {

constexpr int kFormatLimit = 4095;

ktString format(const char* fmt, ...) __attribute__((format(printf, 1, 2)));
ktTextBuffer formatBuffer(const char* fmt, ...) __attribute__((format(printf, 1, 2)));
ktString formatList(const char* fmt, va_list args) __attribute__((format(printf, 1, 0)));

// "%g" of the value, independent of the locale.
ktString formatReal(double value);

}  // namespace penwick
