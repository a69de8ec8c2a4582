#pragma once

#include <cstdint>

#include "model/path.h"
#include "render/pixel_buffer.h"

namespace penwick {

// Fills Paths with one solid colour into a PixelBuffer, with exact-area
// anti-aliasing and the non-zero rule. Contours are always closed; curves are
// flattened by recursive halving.
//
// Every fill of a thread shares that thread's CoverageStore, so a Rasterizer
// holds only its colour, opacity and target between fills.
class Rasterizer {
  public:
    Rasterizer() = default;

    // The buffer to draw into (not owned); null draws nothing.
    void setTarget(PixelBuffer* target) { target_ = target; }
    // Colours are 0xRRGGBB; the alpha byte is forced to 0xFF.
    void setColour(uint32_t colour) { colour_ = colour | 0xFF000000u; }
    // 0 ... 1; the fill's alpha scale is trunc(opacity x 256). Values outside
    // the range (and NaN) are clamped.
    void setOpacity(double opacity) { opacity_ = opacity; }

    // Limits every fill to the rows top ... end - 1 of the target; the rows
    // drawn are exactly those an unlimited fill would draw, so a picture may
    // be drawn band by band, on several threads. end <= top clears the limit.
    void setRowClip(int top, int end) {
        clipTop_ = top;
        clipEnd_ = end;
    }

    uint32_t colour() const { return colour_; }
    double opacity() const { return opacity_; }
    PixelBuffer* target() const { return target_; }

    // Fills the path into the target. Paths with a non-finite coordinate draw
    // nothing.
    void fill(const Path& path);

  private:
    uint32_t colour_ = 0;
    double opacity_ = 1.0;
    PixelBuffer* target_ = nullptr;
    int clipTop_ = 0;
    int clipEnd_ = 0;
};

void fillPath(PixelBuffer& target, const Path& path, uint32_t colour, double opacity);

// trunc(opacity x 256) with the opacity clamped to 0 ... 1 (NaN gives 0).
int alphaScaleOf(double opacity);

}  // namespace penwick
