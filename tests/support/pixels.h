#pragma once
// Comparing pictures.

#include "render/pixel_buffer.h"

namespace penwick::testing {

// Equal colours pixel by pixel (both 32-bit buffers); the fourth byte of a
// pixel is not part of what a window shows.
bool sameColours(const PixelBuffer& a, const PixelBuffer& b);

}  // namespace penwick::testing
