// PixelBuffer::composite: copying and alpha-compositing one buffer onto a
// rectangle of another, with the source repeating in both directions.

#include <algorithm>
#include <cstring>

#ifdef __SSE2__
#include <emmintrin.h>
#endif

#include "render/pixel_blend.h"
#include "render/pixel_buffer.h"

namespace penwick {

namespace {

int blendByte(int d, int s, int g) {
    return d + (((s - d) * g) >> 8);
}

// ARGB onto 32-bit RGB, the canvas's preview-onto-image case: blue, green and
// red move by c / 65536 of the way with c = source alpha x g; the fourth
// byte is left alone. d + ((c * (s - d)) >> 16) is computed as
// (d * (65536 - c) + s * c) >> 16, whose terms are never negative, so blue
// and red share one 64-bit multiply in 32-bit lanes.
void argbOntoRgb32(uint8_t* d, const uint8_t* s, int n, int g) {
    int i = 0;
#ifdef __SSE2__
    // Four pixels at a time in 16-bit lanes. With t = s - d, the step
    // floor(c * t / 65536) is mulhi(c, t) for t >= 0 and
    // -(mulhi(c, -t) + (mullo(c, -t) != 0)) for t < 0: the same integers.
    const __m128i zero = _mm_setzero_si128();
    const __m128i ones = _mm_set1_epi16(-1);
    const __m128i gv = _mm_set1_epi16(short(g));
    const __m128i colourLanes = _mm_set_epi16(0, -1, -1, -1, 0, -1, -1, -1);  // not alpha
    for (; i + 4 <= n; i += 4) {
        const __m128i sp = _mm_loadu_si128(reinterpret_cast<const __m128i*>(s + 4 * i));
        // Four transparent pixels change nothing (c = 0 leaves d as it is);
        // most of a preview or faded sheet is that.
        if (_mm_movemask_epi8(_mm_cmpeq_epi32(_mm_srli_epi32(sp, 24), zero)) == 0xFFFF) continue;
        const __m128i dp = _mm_loadu_si128(reinterpret_cast<const __m128i*>(d + 4 * i));
        const __m128i up8 = _mm_subs_epu8(sp, dp), down8 = _mm_subs_epu8(dp, sp);
        // Source alpha x g in both 16-bit halves of each pixel's 32 bits,
        // then spread to the pixel's four lanes (zero for the alpha lane).
        __m128i alpha = _mm_srli_epi32(sp, 24);
        alpha = _mm_mullo_epi16(_mm_or_si128(alpha, _mm_slli_epi32(alpha, 16)), gv);
        auto half = [&](__m128i c, __m128i dd, __m128i up, __m128i down) {
            c = _mm_and_si128(c, colourLanes);
            const __m128i rise = _mm_mulhi_epu16(c, up);
            const __m128i fall = _mm_mulhi_epu16(c, down);
            const __m128i rest =
                _mm_xor_si128(_mm_cmpeq_epi16(_mm_mullo_epi16(c, down), zero), ones);
            return _mm_add_epi16(_mm_sub_epi16(_mm_add_epi16(dd, rise), fall), rest);
        };
        const __m128i lo = half(_mm_unpacklo_epi32(alpha, alpha), _mm_unpacklo_epi8(dp, zero),
                                _mm_unpacklo_epi8(up8, zero), _mm_unpacklo_epi8(down8, zero));
        const __m128i hi = half(_mm_unpackhi_epi32(alpha, alpha), _mm_unpackhi_epi8(dp, zero),
                                _mm_unpackhi_epi8(up8, zero), _mm_unpackhi_epi8(down8, zero));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(d + 4 * i), _mm_packus_epi16(lo, hi));
    }
#endif
    d += 4 * i;
    s += 4 * i;
    for (; i < n; ++i, d += 4, s += 4) {
        const uint32_t sp = loadPixel32(s);
        if ((sp >> 24) == 0) continue;
        const uint32_t dp = loadPixel32(d);
        const uint64_t c = (sp >> 24) * uint64_t(g);
        const uint64_t keep = 65536 - c;
        const uint64_t dRB = (dp & 0xFFu) | (uint64_t(dp & 0xFF0000u) << 16);
        const uint64_t sRB = (sp & 0xFFu) | (uint64_t(sp & 0xFF0000u) << 16);
        const uint64_t rb = ((dRB * keep + sRB * c) >> 16) & 0x000000FF000000FFull;
        const uint64_t green =
            ((uint64_t(dp & 0xFF00u) * keep + uint64_t(sp & 0xFF00u) * c) >> 16) & 0xFF00u;
        storePixel32(d, (dp & 0xFF000000u) | uint32_t(rb) | uint32_t(rb >> 16) | uint32_t(green));
    }
}

void argbOntoArgb(uint8_t* d, const uint8_t* s, int n, int g) {
    for (int i = 0; i < 4 * n; ++i)
        d[i] = uint8_t(blendByte(d[i], s[i], g));
}

// Composites n pixels of one source row onto one destination row.
void compositeRun(const PixelFormat& to, uint8_t* d, const PixelFormat& from, const uint8_t* s,
                  int n, int g) {
    if (from.code == 4 && to.code == 3) return argbOntoRgb32(d, s, n, g);
    if (from.code == 4 && to.code == 4) return argbOntoArgb(d, s, n, g);
    const int db = to.bytesPerPixel, sb = from.bytesPerPixel;
    for (int i = 0; i < n; ++i, d += db, s += sb) {
        if (from.code == 4 || from.code == 8) {
            to.compositeArgb(d, from.colourOf(s), g);
        } else if (from.code == 0 && to.code == 0) {
            d[0] = uint8_t(blendByte(d[0], s[0], g));
        } else {
            // Sources without alpha blend their colour with the global alpha.
            to.blend(d, from.colourOf(s), g);
        }
    }
}

}  // namespace

void PixelBuffer::composite(const PixelBuffer& source, int x, int y, int w, int h, int mode) {
    if (isEmpty() || source.isEmpty()) return;
    const bool copy = mode == 0;
    if (!copy && (mode < 8 || mode > 263)) return;
    if (copy && source.format_.bytesPerPixel != format_.bytesPerPixel) return;

    PixelBuffer target;
    target.subView(*this, x, y, w, h);
    if (target.ownsMemory()) return;  // the rectangle misses this buffer

    const int bytes = format_.bytesPerPixel;
    const int g = mode - 8;
    for (int row = 0; row < target.height_; ++row) {
        uint8_t* d = target.row(row);
        const uint8_t* s = source.row(row % source.height_);
        for (int column = 0; column < target.width_; column += source.width_) {
            const int n = std::min(source.width_, target.width_ - column);
            uint8_t* at = d + std::ptrdiff_t(column) * bytes;
            if (copy) {
                std::memmove(at, s, size_t(n) * bytes);
            } else {
                compositeRun(format_, at, source.format_, s, n, g);
            }
        }
    }
}

}  // namespace penwick
