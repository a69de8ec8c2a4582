#pragma once
// Comparing pictures.

#include "render/pixel_buffer.h"

namespace penwick::testing {

// Equal colours pixel by pixel (both 32-bit buffers); the fourth byte of a
// pixel is not part of what a window shows.
bool sameColours(const PixelBuffer& a, const PixelBuffer& b);
// The same, leaving out the top-left corner of this size (where the canvas
// shows its pen swatch over the drawing).
bool sameColoursOutsideCorner(const PixelBuffer& a, const PixelBuffer& b, int cornerWidth,
                              int cornerHeight);

// The corner the canvas's pen swatch and its shadow may cover at the
// default pen size.
inline constexpr int kSwatchCornerWidth = 72;
inline constexpr int kSwatchCornerHeight = 40;

}  // namespace penwick::testing
