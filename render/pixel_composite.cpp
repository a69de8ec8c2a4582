// PixelBuffer::composite: copying and alpha-compositing one buffer onto a
// rectangle of another, with the source repeating in both directions.

#include <algorithm>
#include <cstring>

#include "render/pixel_buffer.h"

namespace penwick {

namespace {

int blendByte(int d, int s, int g) {
    return d + (((s - d) * g) >> 8);
}

// ARGB onto 32-bit RGB, the canvas's preview-onto-image case: blue, green and
// red move by source alpha x g / 65536; the fourth byte is left alone.
void argbOntoRgb32(uint8_t* d, const uint8_t* s, int n, int g) {
    for (int i = 0; i < n; ++i, d += 4, s += 4) {
        const int c = s[3] * g;
        if (c == 0) continue;  // d + (0 >> 16) is d
        d[0] = uint8_t(d[0] + ((c * (s[0] - d[0])) >> 16));
        d[1] = uint8_t(d[1] + ((c * (s[1] - d[1])) >> 16));
        d[2] = uint8_t(d[2] + ((c * (s[2] - d[2])) >> 16));
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
