#include "tests/support/pixels.h"

#include <cstring>

namespace penwick::testing {

bool sameColoursOutsideCorner(const PixelBuffer& a, const PixelBuffer& b, int cornerWidth,
                              int cornerHeight) {
    if (a.width() != b.width() || a.height() != b.height()) return false;
    for (int y = 0; y < a.height(); ++y)
        for (int x = y < cornerHeight ? cornerWidth : 0; x < a.width(); ++x)
            if (std::memcmp(a.row(y) + 4 * x, b.row(y) + 4 * x, 3) != 0) return false;
    return true;
}

bool sameColours(const PixelBuffer& a, const PixelBuffer& b) {
    return sameColoursOutsideCorner(a, b, 0, 0);
}

}  // namespace penwick::testing
