#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "render/pixel_buffer.h"

namespace penwick {

// Exact-area coverage of one fill, accumulated per pixel cell and swept into
// a PixelBuffer.
//
// Coverage is fixed point: 65536 is one fully covered pixel. Each cell holds
// `area`, added to its own pixel, and `carry`, added to every pixel right of
// it. An edge going up the screen adds positive coverage, one going down
// negative; the non-zero rule takes the absolute sum, capped at one pixel.
//
// Cells live in dense integer rows (one int pair per pixel) with a bitmap of
// the cells touched, instead of sorted per-row lists: integer sums do not
// depend on the order of the additions, so the pixels are those of a sorted
// cell list, without searching, without a pool to run out of, and without
// ever dropping coverage. A store covers a band of rows; targets taller than
// the band are filled band by band (see Rasterizer).
//
// Stages: addEdge (cuts an edge at every row, coverage_edges.cpp) ->
// rowSpan -> addCell (exact area per pixel, coverage_edges.cpp) -> sweep
// (run fills and blends, coverage_sweep.cpp).
class CoverageStore {
  public:
    // The store of the calling thread; fills on different threads never share.
    static CoverageStore& forThisThread();

    // Rows of a band for a target this wide, keeping the store within its
    // memory budget.
    static int bandRowsFor(int columns);

    // Starts a fill of a columns x rows target, accumulating the rows
    // bandTop ... bandTop + bandRows - 1. The store must be clean (it is after
    // every sweep).
    void prepare(int columns, int rows, int bandTop, int bandRows);

    int columns() const { return columns_; }
    int rows() const { return rows_; }

    // Adds the straight edge (x0, y0) -> (x1, y1) with the full weight.
    void addEdge(double x0, double y0, double x1, double y1);

    // Draws the accumulated coverage into the band's rows of `target` (whose
    // size is the prepared one) and leaves the store clean. `alphaScale` is
    // trunc(opacity x 256), 0 ... 256.
    void sweep(PixelBuffer& target, uint32_t colour, int alphaScale);

    // Cells touched since the last prepare (for measurements).
    int64_t touchedCells() const { return touchedCells_; }

  private:
    struct Cell {
        // Sums wrap as 32-bit integers would; kept unsigned so that the
        // wrap-around is defined.
        uint32_t area;
        uint32_t carry;
    };

    void allocateCells(size_t cells);
    void rowSpan(double xa, double xb, int row, int cover);
    void addCell(int x, int row, int area, int cover);
    void sweepRow(PixelBuffer& target, int bandRow, uint32_t colour, uint32_t fill, int alphaScale);
    template <class Writer>
    void sweepRowWith(const Writer& writer, PixelBuffer& target, int bandRow, uint32_t colour,
                      uint32_t fill, int alphaScale);

    int columns_ = 0;
    int rows_ = 0;
    int bandTop_ = 0;
    int bandEnd_ = 0;
    int wordsPerRow_ = 0;
    int firstTouchedRow_ = 0;  // band-relative, inclusive
    int lastTouchedRow_ = -1;
    int64_t touchedCells_ = 0;

    // bandRows x columns cells, zeroed, on huge pages where the system
    // offers them: consecutive rows lie a whole buffer row apart, and with
    // 4 KiB pages every row of an edge would cost a page-table walk.
    struct FreeCells {
        void operator()(Cell* cells) const;
    };
    std::unique_ptr<Cell[], FreeCells> cells_;
    size_t cellCapacity_ = 0;
    std::vector<uint64_t> touched_;          // bandRows x wordsPerRow bits
    std::vector<int32_t> firstTouchedWord_;  // per band row; > last when untouched
    std::vector<int32_t> lastTouchedWord_;
};

}  // namespace penwick
