#pragma once

// Runs of 32-bit pixels for the inner loops: one value stored n times, one
// colour blended into n pixels at one alpha. Four pixels at a time with
// SSE2 (part of every x86-64 processor), giving the integers of
// render/pixel_blend.h exactly; long fills eight at a time with AVX2 where
// the processor has it (render/pixel_runs_avx2.cpp).

#include <cstdint>

#ifdef __SSE2__
#include <emmintrin.h>
#endif

#include "render/pixel_blend.h"

namespace penwick {

// Whether the processor has AVX2, for the runs long enough to pay for a call.
extern const bool longRunsUseAvx2;
constexpr int kLongRun = 32;
// n >= 8 pixels; only where longRunsUseAvx2.
void fillLongRun32(uint8_t* at, int n, uint32_t pixel);

inline void fillRun32(uint8_t* at, int n, uint32_t pixel) {
    if (n >= kLongRun && longRunsUseAvx2) return fillLongRun32(at, n, pixel);
    int i = 0;
#ifdef __SSE2__
    if (n >= 4) {
        const __m128i four = _mm_set1_epi32(int(pixel));
        for (; i + 4 <= n; i += 4)
            _mm_storeu_si128(reinterpret_cast<__m128i*>(at + 4 * i), four);
        // The last, partial group overlaps the one before it.
        if (i < n) _mm_storeu_si128(reinterpret_cast<__m128i*>(at + 4 * (n - 4)), four);
        return;
    }
#endif
    for (; i < n; ++i)
        storePixel32(at + 4 * i, pixel);
}

// Code 1/3 blend of colour into n pixels: (d x (256 - a) + s x a) >> 8 per
// channel, the fourth byte kept. In 16-bit lanes the terms never overflow
// (255 x 256 < 65536), so the lanes hold the same integers as
// blendRgbLanes.
inline void blendRunRgb32(uint8_t* at, int n, uint32_t colour, int alpha) {
    const uint32_t a = uint32_t(alpha);
    int i = 0;
#ifdef __SSE2__
    if (n >= 4) {
        const __m128i zero = _mm_setzero_si128();
        // Per pixel lanes blue, green, red, fourth byte; the fourth keeps
        // its byte with weight 256 and no colour.
        const short keep = short(256 - a);
        const __m128i keepLanes = _mm_set_epi16(256, keep, keep, keep, 256, keep, keep, keep);
        const short b = short((colour & 0xFF) * a), g = short(((colour >> 8) & 0xFF) * a),
                    r = short(((colour >> 16) & 0xFF) * a);
        const __m128i colourLanes = _mm_set_epi16(0, r, g, b, 0, r, g, b);
        auto blendFour = [&](uint8_t* p) {
            const __m128i d = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
            auto half = [&](__m128i lanes) {
                return _mm_srli_epi16(_mm_add_epi16(_mm_mullo_epi16(lanes, keepLanes), colourLanes),
                                      8);
            };
            const __m128i lo = half(_mm_unpacklo_epi8(d, zero));
            const __m128i hi = half(_mm_unpackhi_epi8(d, zero));
            _mm_storeu_si128(reinterpret_cast<__m128i*>(p), _mm_packus_epi16(lo, hi));
        };
        for (; i + 4 <= n; i += 4)
            blendFour(at + 4 * i);
        // The pixels left over one by one: blending twice would not be the
        // same.
    }
#endif
    const uint32_t sRB = (colour & 0xFF00FFu) * a, sG = (colour & 0xFF00u) * a;
    for (; i < n; ++i)
        storePixel32(at + 4 * i, blendRgbLanes(loadPixel32(at + 4 * i), sRB, sG, a));
}

}  // namespace penwick
