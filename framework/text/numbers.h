#pragma once

// The framework's number readers. Each returns the number of bytes it used;
// 0 means no number was there, and the output is then left untouched. None
// reads past the end of the text it is given.

#include <cstdint>
#include <string_view>

namespace penwick {

// Optional + or -, then decimal digits. Digits stop being read once the value
// exceeds 214748364, so the value stays within 32 bits (clamped at the ends).
int32_t parseInteger(std::string_view text, int32_t& out);

// Optional sign, at least one decimal digit, optionally "." and more digits,
// optionally e or E and a signed integer exponent.
int32_t parseReal(std::string_view text, double& out);

// 0-9, a-f, A-F give 0 to 15; any other byte -1.
int hexDigit(char c);

// The tokenizer's number: whitespace skipped first; 0x.. is hexadecimal,
// 0b.. binary, anything else decimal (a leading 0 is not octal). Hexadecimal
// and binary keep the low 32 bits. The count includes the skipped whitespace.
int32_t readIntegerNumber(std::string_view text, int32_t& out);

// parseReal after skipping whitespace; the count includes the whitespace.
int32_t readRealNumber(std::string_view text, double& out);

}  // namespace penwick
