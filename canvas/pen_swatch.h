#pragma once
// The pen swatch in the canvas's top-left corner: an ellipse 64 x 32 pixels
// filled with the pen's fill colour and ringed by a band of the pen's width
// in its ink colour, over a soft shadow (the band's own shape when the pen
// has no fill).

#include <cstdint>

#include "render/pixel_buffer.h"

namespace penwick {

// The swatch covers no pixel right of or below this corner.
inline constexpr int kSwatchWidth = 64;
inline constexpr int kSwatchHeight = 32;

// Draws the swatch into `target` (the window's back buffer). A negative
// colour draws nothing of its part.
void drawPenSwatch(PixelBuffer& target, double penSize, int32_t colour, int32_t fillColour);

}  // namespace penwick
