#pragma once

// The libraries our rasterizer is measured against, each filling the same
// paths into its own 1920 x 1080 32-bit buffer. Paths are converted into each
// library's own terms once, before timing: quadratic curves for AGG and
// FreeType, cubic curves (the exact equivalent) for cairo.

#include <cstdint>
#include <memory>
#include <vector>

#include "model/path.h"
#include "render/pixel_buffer.h"

namespace penwick::bench {

class RasterPeer {
  public:
    virtual ~RasterPeer() = default;
    // Converts the paths once; fill(i) then fills path i.
    virtual void prepare(const std::vector<Path>& paths) = 0;
    virtual void fill(size_t i, uint32_t colour) = 0;
};

// Anti-Grain Geometry: rasterizer_scanline_aa, scanline_u8 and the solid
// renderer on a BGRA pixel format; its own curve flattening.
std::unique_ptr<RasterPeer> makeAggPeer(int width, int height);

// FreeType's smooth rasterizer with direct spans, blended into `target` by
// our own run fill and blend routines. Coordinates in 26.6.
std::unique_ptr<RasterPeer> makeFreeTypePeer(PixelBuffer& target);

// cairo: an ARGB32 image surface, winding rule, tolerance 0.25.
std::unique_ptr<RasterPeer> makeCairoPeer(int width, int height);

}  // namespace penwick::bench
