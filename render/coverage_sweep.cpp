// Turning accumulated cells into pixels: each touched row is walked left to
// right with the running coverage; runs between cells take one alpha and are
// filled (fully covered) or blended in one pass, each cell's own pixel is
// blended.

#include <algorithm>
#include <bit>
#include <climits>
#include <cstdlib>

#include "render/coverage_store.h"
#include "render/pixel_blend.h"
#include "render/pixel_runs.h"

namespace penwick {

namespace {

// The alpha of a coverage value: capped at one pixel (0xFFFF), scaled by
// trunc(opacity x 256).
int alphaOf(int64_t v, int alphaScale) {
    return int((std::min<int64_t>(v, 0xFFFF) * alphaScale) >> 16);
}

// How the sweep writes pixels: through the format's routines, or inlined for
// the two 32-bit formats the canvas draws into. `zeroAlphaKeeps` says whether
// a blend at alpha 0 leaves every pixel as it was, so that the faint
// leftovers of coverage truncation (a row's running sum often ends a unit
// or two off zero) can be skipped rather than blended to the row's end. It
// holds for every format but two: with its own alpha (code 4) alpha 0 still
// pulls a transparent pixel's colour toward the fill, and RGB 5-5-5 (code 5)
// loses its top bit to any blend.
struct AnyFormat {
    const PixelFormat& format;
    bool zeroAlphaKeeps() const { return format.code != 4 && format.code != 5; }
    void blend(uint8_t* at, uint32_t colour, int alpha) const { format.blend(at, colour, alpha); }
    void fillRun(uint8_t* at, int n, uint32_t fill) const { format.fillRun(at, n, fill); }
    void blendRun(uint8_t* at, int n, uint32_t colour, int alpha) const {
        format.blendRun(at, n, colour, alpha);
    }
};
struct Rgb32 {
    static bool zeroAlphaKeeps() { return true; }
    static void blend(uint8_t* at, uint32_t colour, int alpha) {
        storePixel32(at, blendRgb32(loadPixel32(at), colour, alpha));
    }
    static void fillRun(uint8_t* at, int n, uint32_t fill) { fillRun32(at, n, fill); }
    static void blendRun(uint8_t* at, int n, uint32_t colour, int alpha) {
        blendRunRgb32(at, n, colour, alpha);
    }
};
struct Argb32 {
    static bool zeroAlphaKeeps() { return false; }
    static void blend(uint8_t* at, uint32_t colour, int alpha) {
        storePixel32(at, blendArgb32(loadPixel32(at), colour, alpha));
    }
    static void fillRun(uint8_t* at, int n, uint32_t fill) { fillRun32(at, n, fill); }
    static void blendRun(uint8_t* at, int n, uint32_t colour, int alpha) {
        for (int i = 0; i < n; ++i, at += 4)
            blend(at, colour, alpha);
    }
};

}  // namespace

void CoverageStore::sweepRow(PixelBuffer& target, int bandRow, uint32_t colour, uint32_t fill,
                             int alphaScale) {
    switch (target.format().code) {
        case 3:
            return sweepRowWith(Rgb32{}, target, bandRow, colour, fill, alphaScale);
        case 4:
            return sweepRowWith(Argb32{}, target, bandRow, colour, fill, alphaScale);
        default:
            return sweepRowWith(AnyFormat{target.format()}, target, bandRow, colour, fill,
                                alphaScale);
    }
}

// Every value the loop reads is a local copy: the pixel stores go through a
// pointer that may alias anything, and would otherwise make the compiler
// reload each member and captured variable after every pixel.
template <class Writer>
void CoverageStore::sweepRowWith(const Writer& writer, PixelBuffer& target, int bandRow,
                                 uint32_t colour, uint32_t fill, int alphaScale) {
    const std::ptrdiff_t bytes = target.format().bytesPerPixel;
    uint8_t* const row = target.row(bandTop_ + bandRow);
    Cell* const cells = cells_.data() + size_t(bandRow) * size_t(stride_);
    uint64_t* const words = touched_.data() + size_t(bandRow) * size_t(wordsPerRow_);
    const int left = bandLeft_;
    const bool skipZeroAlpha = writer.zeroAlphaKeeps();
    const Writer pixels = writer;

    // The run from..to - 1 at the running coverage m.
    const auto span = [=](int from, int to, uint32_t m) {
        const int n = to - from;
        if (n <= 0) return;
        const int64_t v = std::llabs(int64_t(int32_t(m)));
        if (v == 0) return;
        const int alpha = alphaOf(v, alphaScale);
        if (alpha == 0 && skipZeroAlpha) return;
        uint8_t* at = row + from * bytes;
        if (alpha >= 255) {
            pixels.fillRun(at, n, fill);
        } else {
            pixels.blendRun(at, n, colour, alpha);
        }
    };

    uint32_t m = 0;  // running coverage, wrapping as a 32-bit integer would
    int x = left;
    int64_t touched = 0;
    const int wordCount = wordsPerRow_;
    for (int w = 0; w < wordCount; ++w) {
        uint64_t bits = words[w];
        if (bits == 0) continue;
        words[w] = 0;
        while (bits != 0) {
            const int local = w * 64 + std::countr_zero(bits);
            const int column = left + local;
            bits &= bits - 1;
            ++touched;
            span(x, column, m);
            const Cell cell = cells[local];
            cells[local] = Cell{0, 0};
            const int64_t v = std::llabs(int64_t(int32_t(m + cell.area)));
            // A cell's pixel is always blended, even at full coverage.
            if (v > 0) {
                const int alpha = alphaOf(v, alphaScale);
                if (alpha != 0 || !skipZeroAlpha) pixels.blend(row + column * bytes, colour, alpha);
            }
            m += cell.area + cell.carry;
            x = column + 1;
        }
    }
    span(x, columns_, m);
    touchedCells_ += touched;
}

void CoverageStore::sweep(PixelBuffer& target, uint32_t colour, int alphaScale) {
    const uint32_t fill = target.format().convert(colour | 0xFF000000u);
    for (int r = 0; r < bandRows_; ++r)
        sweepRow(target, r, colour, fill, alphaScale);
}

}  // namespace penwick
