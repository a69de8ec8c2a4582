#pragma once
// What the program's tests share: the example sketch they open and the
// comparison of what a view shows with what the drawing should give.

#include <string>

#include "tests/support/pixels.h"

namespace penwick::testing {

inline const std::string kExampleSketch = std::string(PENWICK_SOURCE_DIR) + "/examples/flower.wnk";

}  // namespace penwick::testing
