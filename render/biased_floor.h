#pragma once

#include <bit>
#include <cstdint>

namespace penwick {

// The pixel row or column a coordinate falls in: floor(v), except that a
// value less than 0.001 below an integer counts as that integer, so that
// coordinates a hair short of a pixel boundary (2.9995) land in the next
// pixel (row 3).
//
// Computed as the integer nearest to v - 0.499 (rounded half to even) by the
// classic trick: adding 1.5 x 2^52 pushes the fraction out of the mantissa,
// leaving the rounded integer in the low 32 bits. Valid for |v| < 2^31; the
// callers clamp larger values first.
inline int32_t biasedFloor(double v) {
    constexpr double kBias = -0.499000072479248;
    constexpr double kMagic = 6755399441055744.0;  // 1.5 x 2^52
    const double shifted = (v + kBias) + kMagic;
    return int32_t(uint32_t(std::bit_cast<uint64_t>(shifted)));
}

}  // namespace penwick
