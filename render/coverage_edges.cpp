// Cutting edges into exact-area cells: every edge is cut at each pixel row it
// crosses, and inside a row the area right of the edge is split over the
// pixels it passes. The per-row formulas are evaluated afresh for every row
// (never stepped incrementally), in double precision, with the truncations
// toward zero that fix the exact pixel values.

#include <algorithm>
#include <cassert>
#include <utility>

#include "render/biased_floor.h"
#include "render/coverage_store.h"

namespace penwick {

namespace {

// One fully covered pixel row of an edge: 256, shifted left by 8 bits.
constexpr int kFullCover = 256 << 8;

}  // namespace

inline void CoverageStore::addCell(int x, int row, int area, int cover) {
    if (cover == 0) return;
    // Everything left of the buffer lands on column 0 as coverage of that
    // pixel (and, through its carry, of the pixels right of it).
    if (x < 0) {
        x = 0;
        area = cover;
    }
    if (x >= columns_) return;
    assert(row >= bandTop_ && row < bandEnd_);
    // The band holds every column the edges' cells reach; the test only
    // guards the memory.
    assert(x >= bandLeft_ && x < bandRight_);
    x -= bandLeft_;
    if (x < 0 || x >= stride_) return;
    const int r = row - bandTop_;
    Cell& cell = cells_[size_t(r) * size_t(stride_) + size_t(x)];
    cell.area += uint32_t(area);
    cell.carry += uint32_t(cover) - uint32_t(area);

    uint64_t& word = touched_[size_t(r) * size_t(wordsPerRow_) + size_t(x >> 6)];
    const uint64_t bit = uint64_t(1) << (x & 63);
    if ((word & bit) != 0) return;
    word |= bit;
    ++touchedCells_;
    const int w = x >> 6;
    firstTouchedWord_[size_t(r)] = std::min(firstTouchedWord_[size_t(r)], w);
    lastTouchedWord_[size_t(r)] = std::max(lastTouchedWord_[size_t(r)], w);
    firstTouchedRow_ = std::min(firstTouchedRow_, r);
    lastTouchedRow_ = std::max(lastTouchedRow_, r);
}

// The edge crosses `row` from column position xa to xb; the pixels right of
// it gain `cover`, split exactly by area.
void CoverageStore::rowSpan(double xa, double xb, int row, int cover) {
    const double d = std::min(xa, xb);
    const double e = std::max(xa, xb);
    const int c = cover;
    // Wholly right of the buffer: every cell would fall beyond the last
    // column.
    if (d >= columns_ + 2.0) return;
    // Wholly left of the buffer: the cells all collapse onto column 0, where
    // their areas add up to the whole cover.
    if (e < -2.0) return addCell(-1, row, c, c);
    // Beyond the right edge only "past the last column" matters.
    const int k = e > columns_ + 2.0 ? columns_ + 2 : biasedFloor(e);
    if (k < 0) return addCell(-1, row, c, c);

    double g = 0;
    int sum = 0;
    int i = 0;
    if (d < -2.0) {
        // The span starts far left of the buffer. Its cells left of column 0
        // all land on column 0; their running sum after column -1 is
        // trunc(((-1 + 0.5) - d) x c x g), because each step adds the
        // truncated difference to the previous truncation of a monotone
        // sequence. This saves a loop as long as the span is wide (and
        // keeps coordinates far beyond 32 bits harmless).
        g = 1.0 / (e - d);
        sum = int(((-1 + 0.5) - d) * c * g);
        if (sum != 0) addCell(-1, row, sum, sum);
        i = 0;
    } else {
        const int h = biasedFloor(d);
        if (h >= columns_) return;
        if (h == k) return addCell(h, row, int(((h + 1) - (d + e) / 2) * c), c);
        g = 1.0 / (e - d);
        const double a = (h + 1) - d;
        const int t = int(a * a * g * 0.5 * c);
        if (t != 0) addCell(h, row, t, t);
        sum = t;
        i = h + 1;
    }
    for (; i < k && i < columns_; ++i) {
        const int u = int(((i + 0.5) - d) * c * g - sum);
        if (u != 0) {
            addCell(i, row, u, u);
            sum += u;
        }
    }
    if (i < columns_) {
        const double f = e - k;
        addCell(i, row, int((1 - f * f * g * 0.5) * c - sum), c - sum);
    }
}

void CoverageStore::addEdge(double x0, double y0, double x1, double y1) {
    int w = kFullCover;
    if (y1 < y0) {
        std::swap(x0, x1);
        std::swap(y0, y1);
    } else {
        w = -w;
    }
    if (y1 <= 0 || y0 > rows_ || y0 == y1) return;
    // Rows far outside the target only decide "above the first row" or
    // "below the last"; clamping them keeps the row arithmetic in 32 bits.
    const int r0 = y0 < -2.0 ? -2 : biasedFloor(y0);
    const int r1 = y1 > rows_ + 2.0 ? rows_ + 2 : biasedFloor(y1);
    if (r0 == r1) {
        if (r0 < bandTop_ || r0 >= bandEnd_) return;
        const int c = int((y1 - y0) * w);
        if (c != 0) rowSpan(x0, x1, r0, c);
        return;
    }
    const double s = (x1 - x0) / (y1 - y0);
    const int last = std::min(r1, rows_);
    if (r0 >= 0 && r0 >= bandTop_ && r0 < bandEnd_) {
        const double dy = (r0 + 1) - y0;
        const int c = int(dy * w);
        if (c != 0) rowSpan(x0, x0 + dy * s, r0, c);
    }
    const int firstFull = std::max({r0 + 1, 0, bandTop_});
    const int endFull = std::min(last, bandEnd_);
    for (int r = firstFull; r < endFull; ++r) {
        const double xa = x0 + (r - y0) * s;
        rowSpan(xa, xa + s, r, w);
    }
    if (r1 < rows_ && r1 >= bandTop_ && r1 < bandEnd_) {
        const int c = int((y1 - r1) * w);
        if (c != 0) rowSpan(x0 + (r1 - y0) * s, x1, r1, c);
    }
}

}  // namespace penwick
