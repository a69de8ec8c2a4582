#include "render/coverage_store.h"

#include <algorithm>

namespace penwick {

namespace {

// Cells a band may hold: 256 KiB of integer pairs, so that a band's cells
// stay in the second-level cache between the edge walk and the sweep.
constexpr int kCellBudget = 1 << 15;
// Fewer rows than this per band would make re-reading the edges dominate.
constexpr int kMinimumBandRows = 16;

}  // namespace

CoverageStore& CoverageStore::forThisThread() {
    thread_local CoverageStore store;
    return store;
}

int CoverageStore::bandRowsFor(int bandColumns) {
    return std::max(kMinimumBandRows, kCellBudget / std::max(bandColumns, 1));
}

void CoverageStore::prepare(PixelBuffer& target, int bandTop, int bandRows, int bandLeft,
                            int bandRight) {
    // The store is clean here (every sweep zeroes what it read), so a new
    // band shape simply re-reads the same zeroed memory with another layout.
    columns_ = target.width();
    rows_ = target.height();
    targetFirstRow_ = target.row(0);
    targetStride_ = target.stride();
    targetBytes_ = target.format().bytesPerPixel;
    bandTop_ = bandTop;
    bandEnd_ = bandTop + bandRows;
    bandLeft_ = bandLeft;
    stride_ = std::max(bandRight - bandLeft, 1);
    wordsPerRow_ = (stride_ + 63) / 64;
    const size_t cells = size_t(bandRows) * size_t(stride_);
    if (cells_.size() < cells) cells_.resize(cells, Cell{0, 0});
    const size_t words = size_t(bandRows) * size_t(wordsPerRow_);
    if (touched_.size() < words) touched_.resize(words, 0);
    bandRows_ = bandRows;
}

}  // namespace penwick
