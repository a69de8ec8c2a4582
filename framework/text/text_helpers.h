#pragma once

// Plain-text helpers: search, count, replace, bounded copies, word wrap and
// line reading.

#include <cstdint>
#include <memory>
#include <string_view>

#include "framework/text/string.h"

namespace penwick {

// Index of the first `needle` at or after `from` (a negative `from` counts
// from the end), -1 when none.
int32_t findText(std::string_view haystack, std::string_view needle, int32_t from = 0);
// Non-overlapping occurrences; an empty needle occurs 0 times.
int32_t countText(std::string_view haystack, std::string_view needle);
// Replaces every byte a by b in place; returns the count.
int32_t replaceChar(ktString& text, char a, char b);
// Copies at most n - 1 bytes of src into the n-byte dest and terminates it;
// returns the bytes copied (nothing when n <= 0).
int32_t copyText(char* dest, std::string_view src, int32_t n);
// A zero-terminated heap copy of the text with room for at least minSize bytes.
std::unique_ptr<char[]> duplicate(std::string_view text, int32_t minSize = 0);

// Breaks every line longer than `width` after the last space, tab or CR
// within its first `width` bytes (with `hard`, at exactly `width` bytes),
// drops the whitespace at the break and inserts "\n". A line without a break
// point stays whole.
ktString wordWrap(std::string_view text, int32_t width, bool hard = false);

// Skips empty lines (LF or CR LF) from `position`, then takes the bytes up to
// the next LF with every CR removed and moves past that LF; without a further
// LF, the rest of the text. False at the end of the text.
bool lineOf(std::string_view text, size_t& position, ktString& line);

}  // namespace penwick
