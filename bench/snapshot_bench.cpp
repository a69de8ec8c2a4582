// Snapshot cost on a page of 10,000 shapes of 10, 100 and 400 points
// (100,000, 1,000,000 and 4,000,000 points), with the old whole deep copy of
// the same page as the baseline in the same run, and a memcpy of the point
// bytes for scale.
//
//   BM_Snapshot                  snapshot(): shares the shapes
//   BM_DeepCopyBaseline          the old snapshot, every shape copied
//   BM_SnapshotThenEditOneShape  a snapshot and the first edit after it, which
//                                pays for the copy-on-write of one shape
//   BM_MemcpyOfThePointBytes     the point bytes copied in one piece
//
// Goals: the snapshot's time does not grow with the points; at most 0.1 ms
// at 1,000,000 points.
#include <cstring>
#include <vector>

#include <benchmark/benchmark.h>

#include "bench/bench_pages.h"

using namespace penwick;
using namespace penwick::bench;

namespace {

void pointCounter(benchmark::State& state) {
    state.counters["points"] = double(state.range(0)) * kShapes;
}

void BM_Snapshot(benchmark::State& state) {
    const Sketch page = pageOf(int(state.range(0)));
    for (auto _ : state) {
        Sketch copy = page.snapshot();
        benchmark::DoNotOptimize(copy);
    }
    pointCounter(state);
}
BENCHMARK(BM_Snapshot)->Arg(10)->Arg(100)->Arg(400)->Unit(benchmark::kMicrosecond);

void BM_DeepCopyBaseline(benchmark::State& state) {
    const UnsharedSketch page(pageOf(int(state.range(0))));
    for (auto _ : state) {
        UnsharedSketch copy = page;
        benchmark::DoNotOptimize(copy.shapes.items());
    }
    pointCounter(state);
}
BENCHMARK(BM_DeepCopyBaseline)->Arg(10)->Arg(100)->Arg(400)->Unit(benchmark::kMicrosecond);

void BM_SnapshotThenEditOneShape(benchmark::State& state) {
    Sketch page = pageOf(int(state.range(0)));
    int32_t next = 0;
    for (auto _ : state) {
        Sketch copy = page.snapshot();
        page.shapes.edit(next).colour ^= 1;
        next = (next + 97) % kShapes;
        benchmark::DoNotOptimize(copy);
    }
    pointCounter(state);
}
BENCHMARK(BM_SnapshotThenEditOneShape)->Arg(10)->Arg(100)->Arg(400)->Unit(benchmark::kMicrosecond);

void BM_MemcpyOfThePointBytes(benchmark::State& state) {
    const size_t bytes = size_t(state.range(0)) * kShapes * sizeof(StrokePoint);
    std::vector<char> from(bytes, 1), to(bytes, 0);
    for (auto _ : state) {
        std::memcpy(to.data(), from.data(), bytes);
        benchmark::DoNotOptimize(to.data());
        benchmark::ClobberMemory();
    }
    pointCounter(state);
}
BENCHMARK(BM_MemcpyOfThePointBytes)->Arg(10)->Arg(100)->Arg(400)->Unit(benchmark::kMicrosecond);

}  // namespace
