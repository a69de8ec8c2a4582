#pragma once

#include <cstdint>
#include <utility>
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
// ever dropping coverage. A store covers a band: the rows of the path's
// flattened edges and the columns their cells can reach (which may pass an
// edge's end, see EdgeCollector in rasterizer.cpp), as many rows at a time as
// fit a budget that stays within the processor's cache; taller paths are
// filled band by band (see Rasterizer).
//
// Stages: addEdge (cuts an edge at every row, coverage_edges.cpp) ->
// rowSpan -> RowWriter::add (exact area per pixel, coverage_edges.cpp) -> sweep
// (run fills and blends, coverage_sweep.cpp).
class CoverageStore {
  public:
    // The store of the calling thread; fills on different threads never share.
    static CoverageStore& forThisThread();

    // Rows of a band of this many columns, keeping the cells within the
    // cache budget.
    static int bandRowsFor(int bandColumns);

    // Starts a band of a fill of `target`, accumulating the rows bandTop ...
    // bandTop + bandRows - 1 and the columns bandLeft ... bandRight - 1 (which
    // must hold every cell the edges can reach). The store must be clean (it
    // is after every sweep). The edge walk asks for the target's pixels
    // under its cells well before the sweep reads them: a fill's rows lie a
    // whole picture row apart, and waiting for each at the sweep costs more
    // than the walk and the sweep together on a page of small strokes.
    void prepare(PixelBuffer& target, int bandTop, int bandRows, int bandLeft, int bandRight);

    int columns() const { return columns_; }
    int rows() const { return rows_; }

    // Adds the straight edge (x0, y0) -> (x1, y1) with the full weight.
    void addEdge(double x0, double y0, double x1, double y1);

    // Draws the accumulated coverage into the band's rows of `target` (whose
    // size is the prepared one) and leaves the store clean. `alphaScale` is
    // trunc(opacity x 256), 0 ... 256.
    void sweep(PixelBuffer& target, uint32_t colour, int alphaScale);

    // Cells touched since the last call (for measurements).
    int64_t takeTouchedCells() { return std::exchange(touchedCells_, 0); }

    // A flattened edge, kept when a path is filled in several bands.
    struct Edge {
        float x0, y0, x1, y1;
    };
    std::vector<Edge>& edges() { return edges_; }

  private:
    struct Cell {
        // Sums wrap as 32-bit integers would; kept unsigned so that the
        // wrap-around is defined.
        uint32_t area;
        uint32_t carry;
    };

    class RowWriter;
    void rowSpan(double xa, double xb, int row, int cover);
    void sweepRow(PixelBuffer& target, int bandRow, uint32_t colour, uint32_t fill, int alphaScale);
    template <class Writer>
    void sweepRowWith(const Writer& writer, PixelBuffer& target, int bandRow, uint32_t colour,
                      uint32_t fill, int alphaScale);

    uint8_t* targetFirstRow_ = nullptr;
    std::ptrdiff_t targetStride_ = 0;
    int targetBytes_ = 0;
    int columns_ = 0;
    int rows_ = 0;
    int bandTop_ = 0;
    int bandEnd_ = 0;
    int bandLeft_ = 0;
    int stride_ = 0;  // cells per band row
    int wordsPerRow_ = 0;
    int bandRows_ = 0;
    int64_t touchedCells_ = 0;

    std::vector<Cell> cells_;        // band rows x stride, zero when clean
    std::vector<uint64_t> touched_;  // bandRows x wordsPerRow bits, zero when clean
    std::vector<Edge> edges_;
};

}  // namespace penwick
