#pragma once

// Name matching: wildcard patterns and the natural order of file names.

#include <string_view>

namespace penwick {

// `?` matches any one byte, `*` any run (also empty), other bytes match
// without regard to ASCII case. `|` separates alternatives; a pattern that
// starts with `|` matches exactly when the rest does not.
bool wildcardMatch(std::string_view text, std::string_view pattern);

// -1, 0 or 1. Quotes, apostrophes, `.`, `-`, brackets, backquotes and spaces
// are skipped; runs of digits compare by value (page2 before page10); other
// bytes by a key that puts A < a < B < b, and digits and punctuation before
// the letters, or after them when `symbolsLast` is set. A string that ends
// first sorts first.
int naturalCompare(std::string_view a, std::string_view b, bool symbolsLast = false);

}  // namespace penwick
