#include "render/coverage_store.h"

#include <algorithm>
#include <climits>

namespace penwick {

namespace {

// Cells a band may hold: 32 MiB of integer pairs, enough for a whole
// 3840 x 1080 target in one band.
constexpr int64_t kCellBudget = int64_t(1) << 22;

}  // namespace

CoverageStore& CoverageStore::forThisThread() {
    thread_local CoverageStore store;
    return store;
}

int CoverageStore::bandRowsFor(int columns) {
    return int(std::max<int64_t>(1, kCellBudget / std::max(columns, 1)));
}

void CoverageStore::prepare(int columns, int rows, int bandTop, int bandRows) {
    // The store is clean here (every sweep zeroes what it read), so a change
    // of width simply re-reads the same zeroed memory with another layout.
    columns_ = columns;
    rows_ = rows;
    bandTop_ = bandTop;
    bandEnd_ = bandTop + bandRows;
    wordsPerRow_ = (columns + 63) / 64;
    const size_t cells = size_t(bandRows) * size_t(columns);
    if (cells_.size() < cells) cells_.resize(cells, Cell{0, 0});
    const size_t words = size_t(bandRows) * size_t(wordsPerRow_);
    if (touched_.size() < words) touched_.resize(words, 0);
    if (firstTouchedWord_.size() < size_t(bandRows)) {
        firstTouchedWord_.resize(size_t(bandRows), INT32_MAX);
        lastTouchedWord_.resize(size_t(bandRows), -1);
    }
    firstTouchedRow_ = INT_MAX;
    lastTouchedRow_ = -1;
    touchedCells_ = 0;
}

}  // namespace penwick
