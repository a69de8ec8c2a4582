// The property every settings tree built through the API must keep, shared by
// the settings fuzz target and the test suite (which replays its corpus):
// saved as a settings text and loaded back, the tree is the same tree (the
// same kinds, keys in the same order, the same values), with two documented
// changes only: bytes that are not UTF-8 (and zero bytes) in a string read
// as "?", and a
// double reads as its six significant digits; and the loaded tree saves to
// the very same text. No value or key can change the file's structure.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace penwick::checks {

// The bytes are a little program of API calls (set a value, make a
// container, step into a member path or an element, step out) run on an
// empty tree; "" when the property held, otherwise what went wrong.
std::string checkSettingsApi(const uint8_t* data, size_t size);

}  // namespace penwick::checks
