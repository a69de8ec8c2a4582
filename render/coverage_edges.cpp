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

// The cells of one band row while a span adds to them; every cell lands
// through `add`, which also marks it in the row's bitmap of touched cells.
class CoverageStore::RowWriter {
  public:
    RowWriter(CoverageStore& store, int row)
        : cells_(store.cells_.data() + size_t(row - store.bandTop_) * size_t(store.stride_)),
          words_(store.touched_.data() + size_t(row - store.bandTop_) * size_t(store.wordsPerRow_)),
          columns_(store.columns_),
          left_(store.bandLeft_),
          stride_(unsigned(store.stride_)) {
        assert(row >= store.bandTop_ && row < store.bandEnd_);
    }
    RowWriter(const RowWriter&) = delete;
    RowWriter& operator=(const RowWriter&) = delete;

    // The cell of column x gains `area` for itself and cover - area for the
    // pixels right of it; a zero cover leaves the cell untouched. Everything
    // left of the buffer lands on column 0 as coverage of that pixel (and,
    // through its carry, of the pixels right of it).
    __attribute__((always_inline)) void add(int x, int area, int cover) const {
        if (cover == 0) return;
        if (x < 0) {
            x = 0;
            area = cover;
        }
        if (x >= columns_) return;
        // The band holds every column the edges' cells reach; the test only
        // guards the memory.
        const unsigned local = unsigned(x - left_);
        assert(local < stride_);
        if (local >= stride_) return;
        Cell& cell = cells_[local];
        cell.area += uint32_t(area);
        cell.carry += uint32_t(cover) - uint32_t(area);
        words_[local >> 6] |= uint64_t(1) << (local & 63);
    }

  private:
    Cell* cells_;
    uint64_t* words_;
    int columns_;
    int left_;
    unsigned stride_;
};

// The edge crosses `row` from column position xa to xb; the pixels right of
// it gain `cover`, split exactly by area.
// Inlined into its one caller, which runs it for every row of every edge.
__attribute__((always_inline)) inline void CoverageStore::rowSpan(double xa, double xb, int row,
                                                                  int cover) {
    const double d = std::min(xa, xb);
    const double e = std::max(xa, xb);
    const int c = cover;
    // Wholly right of the buffer: every cell would fall beyond the last
    // column.
    if (d >= columns_ + 2.0) return;
    RowWriter cells(*this, row);
    // The sweep will blend the pixel of the span's first cell (see prepare).
    const int first = d < 0 ? 0 : d >= columns_ ? columns_ - 1 : int(d);
    __builtin_prefetch(targetFirstRow_ + row * targetStride_ + first * targetBytes_, 1, 1);
    // Wholly left of the buffer: the cells all collapse onto column 0, where
    // their areas add up to the whole cover.
    if (e < -2.0) return cells.add(-1, c, c);
    // Beyond the right edge only "past the last column" matters.
    const int k = e > columns_ + 2.0 ? columns_ + 2 : biasedFloor(e);
    if (k < 0) return cells.add(-1, c, c);

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
        if (sum != 0) cells.add(-1, sum, sum);
        i = 0;
    } else {
        const int h = biasedFloor(d);
        if (h >= columns_) return;
        // A span that ends a hair short of the next pixel, which its end
        // counts for, still lies wholly in pixel h. Split over two cells,
        // the first cell's share would be (h + 1 - d)^2 / 2(e - d) of the
        // cover: more than all of it on a thin span (a nearly upright edge),
        // which darkened the pixel left of the edge, and beyond any integer
        // on an edge millions of pixels tall.
        if (h == k || (k == h + 1 && e < k))
            return cells.add(h, int(((h + 1) - (d + e) / 2) * c), c);
        g = 1.0 / (e - d);
        const double a = (h + 1) - d;
        const int t = int(a * a * g * 0.5 * c);
        if (t != 0) cells.add(h, t, t);
        sum = t;
        i = h + 1;
    }
    for (; i < k && i < columns_; ++i) {
        const int u = int(((i + 0.5) - d) * c * g - sum);
        if (u != 0) {
            cells.add(i, u, u);
            sum += u;
        }
    }
    if (i < columns_) {
        const double f = e - k;
        cells.add(i, int((1 - f * f * g * 0.5) * c - sum), c - sum);
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
    // The band lies within the target, so its limits also drop the rows
    // outside it.
    const int first = std::max(r0, bandTop_);
    const int end = std::min(r1 + 1, bandEnd_);
    if (first >= end) return;
    if (r0 == r1) {
        const int c = int((y1 - y0) * w);
        if (c != 0) rowSpan(x0, x1, r0, c);
        return;
    }
    // The first and last rows are partial, those between full; each row's
    // positions come from the edge's own ends, never from the row before.
    const double s = (x1 - x0) / (y1 - y0);
    for (int r = first; r < end; ++r) {
        double xa, xb;
        int c = w;
        if (r == r0) {
            const double dy = (r0 + 1) - y0;
            c = int(dy * w);
            xa = x0;
            xb = x0 + dy * s;
        } else if (r == r1) {
            c = int((y1 - r1) * w);
            xa = x0 + (r1 - y0) * s;
            xb = x1;
        } else {
            xa = x0 + (r - y0) * s;
            xb = xa + s;
        }
        if (c != 0) rowSpan(xa, xb, r, c);
    }
}

}  // namespace penwick
