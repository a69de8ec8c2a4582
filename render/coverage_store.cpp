#include "render/coverage_store.h"

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <new>

#ifdef __linux__
#include <sys/mman.h>
#endif

namespace penwick {

namespace {

// Cells a band may hold: 32 MiB of integer pairs, enough for a whole
// 3840 x 1080 target in one band.
constexpr int64_t kCellBudget = int64_t(1) << 22;

constexpr size_t kHugePage = size_t(2) << 20;

}  // namespace

void CoverageStore::FreeCells::operator()(Cell* cells) const {
    std::free(cells);
}

void CoverageStore::allocateCells(size_t cells) {
    cells_.reset();
    const size_t bytes = (cells * sizeof(Cell) + kHugePage - 1) / kHugePage * kHugePage;
    void* memory = std::aligned_alloc(kHugePage, bytes);
    if (memory == nullptr) throw std::bad_alloc();
#ifdef MADV_HUGEPAGE
    madvise(memory, bytes, MADV_HUGEPAGE);
#endif
    std::memset(memory, 0, bytes);
    cells_.reset(static_cast<Cell*>(memory));
    cellCapacity_ = bytes / sizeof(Cell);
}

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
    if (cellCapacity_ < cells) allocateCells(cells);
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
