#pragma once
// What the program's tests share: the example sketch they open and the
// comparison of what a view shows with what the drawing should give.

#include <cstring>
#include <string>

#include "render/pixel_buffer.h"

namespace penwick::testing {

inline const std::string kExampleSketch = std::string(PENWICK_SOURCE_DIR) + "/examples/flower.wnk";

// Equal colours pixel by pixel; the fourth byte of a 32-bit pixel is not
// part of what the window shows.
inline bool sameColours(const PixelBuffer& a, const PixelBuffer& b) {
    if (a.width() != b.width() || a.height() != b.height()) return false;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x)
            if (std::memcmp(a.row(y) + 4 * x, b.row(y) + 4 * x, 3) != 0) return false;
    return true;
}

}  // namespace penwick::testing
