// The rasterizer against AGG, FreeType and cairo on the same paths, in the
// same run, plus the memory-bound operations it is built on against
// memset and memcpy of the same bytes.
//
//   Workload/0: a whole sketch, 2,000 stroke outlines
//   Workload/1: 10,000 outlinePiece fills of a growing stroke
//   Workload/2: 50 lasso-sized closed centre lines of 200 points

#include <benchmark/benchmark.h>

#include <cstring>
#include <vector>

#include "bench/raster_peers.h"
#include "bench/raster_workloads.h"
#include "render/coverage_store.h"
#include "render/rasterizer.h"

namespace penwick::bench {
namespace {

constexpr uint32_t kInk = 0x203040;

const std::vector<Path>& workload(int64_t which) {
    switch (which) {
        case 0:
            return wholeSketch();
        case 1:
            return growingStrokePieces();
        default:
            return lassoAreas();
    }
}

PixelBuffer paper(int code) {
    PixelBuffer buffer;
    buffer.allocate(kWidth, kHeight, PixelFormat::fromCode(code), 0, 0xFFFFFF);
    return buffer;
}

void Penwick(benchmark::State& state) {
    const std::vector<Path>& paths = workload(state.range(0));
    PixelBuffer target = paper(3);
    Rasterizer rasterizer;
    rasterizer.setTarget(&target);
    rasterizer.setColour(kInk);
    // Cells touched per pass, for the cost per cell.
    CoverageStore::forThisThread().takeTouchedCells();
    for (const Path& path : paths)
        rasterizer.fill(path);
    const int64_t cells = CoverageStore::forThisThread().takeTouchedCells();
    for (auto _ : state) {
        for (const Path& path : paths)
            rasterizer.fill(path);
        benchmark::ClobberMemory();
    }
    state.counters["cells"] = double(cells);
    state.counters["time_per_cell"] = benchmark::Counter(
        double(cells), benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

void runPeer(benchmark::State& state, RasterPeer& peer) {
    const std::vector<Path>& paths = workload(state.range(0));
    peer.prepare(paths);
    for (auto _ : state) {
        for (size_t i = 0; i < paths.size(); ++i)
            peer.fill(i, kInk);
        benchmark::ClobberMemory();
    }
}

void Agg(benchmark::State& state) {
    auto peer = makeAggPeer(kWidth, kHeight);
    runPeer(state, *peer);
}

void FreeType(benchmark::State& state) {
    PixelBuffer target = paper(3);
    auto peer = makeFreeTypePeer(target);
    runPeer(state, *peer);
}

void Cairo(benchmark::State& state) {
    auto peer = makeCairoPeer(kWidth, kHeight);
    runPeer(state, *peer);
}

BENCHMARK(Penwick)->DenseRange(0, 2)->Unit(benchmark::kMillisecond);
BENCHMARK(Agg)->DenseRange(0, 2)->Unit(benchmark::kMillisecond);
BENCHMARK(FreeType)->DenseRange(0, 2)->Unit(benchmark::kMillisecond);
BENCHMARK(Cairo)->DenseRange(0, 2)->Unit(benchmark::kMillisecond);

// Memory-bound operations over a whole 1920 x 1080 x 4 buffer.
constexpr int64_t kBytes = int64_t(kWidth) * kHeight * 4;

void InteriorFill(benchmark::State& state) {
    // A rectangle covering the buffer: all interior runs.
    PixelBuffer target = paper(3);
    Path whole;
    whole.startContour();
    whole.addOnCurve(0, 0);
    whole.addOnCurve(0, kHeight);
    whole.addOnCurve(kWidth, kHeight);
    whole.addOnCurve(kWidth, 0);
    for (auto _ : state) {
        fillPath(target, whole, kInk, 1.0);
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(state.iterations() * kBytes);
}

void FillAll(benchmark::State& state) {
    PixelBuffer target = paper(3);
    for (auto _ : state) {
        target.fillAll(kInk);
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(state.iterations() * kBytes);
}

void Memset(benchmark::State& state) {
    std::vector<uint8_t> bytes(static_cast<size_t>(kBytes));
    for (auto _ : state) {
        std::memset(bytes.data(), 0x20, bytes.size());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(state.iterations() * kBytes);
}

void CompositeArgbOntoRgb(benchmark::State& state) {
    // Mode 263 of a full preview: every source pixel half-transparent.
    PixelBuffer image = paper(3);
    PixelBuffer preview;
    preview.allocate(kWidth, kHeight, PixelFormat::argb32(), 0, 0x80406080u);
    for (auto _ : state) {
        image.composite(preview, 0, 0, -1, -1, 263);
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(state.iterations() * kBytes);
}

void CompositeCopy(benchmark::State& state) {
    PixelBuffer image = paper(3), back = paper(3);
    for (auto _ : state) {
        back.composite(image, 0, 0, -1, -1, 0);
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(state.iterations() * kBytes);
}

void Memcpy(benchmark::State& state) {
    std::vector<uint8_t> from(static_cast<size_t>(kBytes), 1), to(static_cast<size_t>(kBytes));
    for (auto _ : state) {
        std::memcpy(to.data(), from.data(), to.size());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(state.iterations() * kBytes);
}

BENCHMARK(InteriorFill)->Unit(benchmark::kMillisecond);
BENCHMARK(FillAll)->Unit(benchmark::kMillisecond);
BENCHMARK(Memset)->Unit(benchmark::kMillisecond);
BENCHMARK(CompositeArgbOntoRgb)->Unit(benchmark::kMillisecond);
BENCHMARK(CompositeCopy)->Unit(benchmark::kMillisecond);
BENCHMARK(Memcpy)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace penwick::bench
