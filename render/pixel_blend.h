#pragma once

// Whole-pixel forms of the 32-bit blends, for the inner loops.
//
// Each channel's d + ((s - d) * a >> 8), with an arithmetic shift, equals
// (d * (256 - a) + s * a) >> 8, whose terms are never negative; so blue and
// red can share one 32-bit multiply (16-bit lanes never overflow:
// 255 * 256 < 65536) and green takes another.

#include <cstdint>

namespace penwick {

// A 32-bit pixel seen through a byte pointer: any alignment, any aliasing
// (a plain memcpy here makes the vectoriser go through the stack).
using Pixel32 = uint32_t __attribute__((aligned(1), may_alias));

inline uint32_t loadPixel32(const uint8_t* at) {
    return *reinterpret_cast<const Pixel32*>(at);
}

inline void storePixel32(uint8_t* at, uint32_t v) {
    *reinterpret_cast<Pixel32*>(at) = v;
}

// Code 1/3 blend of colour (its blue/red and green lanes premultiplied by a:
// sRB = (colour & 0xFF00FF) * a, sG = (colour & 0xFF00) * a) into d; the
// fourth byte is kept.
inline uint32_t blendRgbLanes(uint32_t d, uint32_t sRB, uint32_t sG, uint32_t a) {
    const uint32_t keep = 256 - a;
    const uint32_t rb = (((d & 0xFF00FFu) * keep + sRB) >> 8) & 0xFF00FFu;
    const uint32_t g = (((d & 0xFF00u) * keep + sG) >> 8) & 0xFF00u;
    return (d & 0xFF000000u) | rb | g;
}

inline uint32_t blendRgb32(uint32_t d, uint32_t colour, int a) {
    return blendRgbLanes(d, (colour & 0xFF00FFu) * uint32_t(a), (colour & 0xFF00u) * uint32_t(a),
                         uint32_t(a));
}

// Code 4 blend: the destination alpha ad decides the colour weight
// c = ((ad * (a - 255)) >> 8) + 255; the new alpha is ((255 - ad) * a >> 8) + ad.
inline uint32_t blendArgb32(uint32_t d, uint32_t colour, int a) {
    const int ad = int(d >> 24);
    const int c = ((ad * (a - 255)) >> 8) + 255;
    const uint32_t rgb = blendRgb32(d, colour, c) & 0xFFFFFFu;
    return rgb | (uint32_t((((255 - ad) * a) >> 8) + ad) << 24);
}

}  // namespace penwick
