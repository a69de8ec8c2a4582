#pragma once

#include <cstdint>

#include "model/path.h"
#include "render/pixel_buffer.h"

namespace penwick::reference {

// The rasterizer written the straightforward way, step by step as it was
// first designed: sorted per-row cell lists taken from a fixed pool, the
// literal per-column loops, no clamping. The fast Rasterizer must give the
// same pixels on every path whose coordinates stay within 32-bit pixel
// positions.
//
// poolCells limits the cells of one fill (cells beyond it are dropped, the
// old behaviour); a negative value means 128 cells per row of the target,
// and kUnlimited never drops.
constexpr int64_t kPerRowPool = -1;
constexpr int64_t kUnlimited = INT64_MAX;

void fill(PixelBuffer& target, const Path& path, uint32_t colour, double opacity,
          int64_t poolCells = kUnlimited);

}  // namespace penwick::reference
