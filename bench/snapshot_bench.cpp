// Snapshot cost: snapshot() of a sketch of 10,000 strokes of 100 points
// (1,000,000 points), against a plain memcpy of the same point bytes measured
// in the same run. The goal is at most three times the memcpy.
#include <cstring>
#include <memory>
#include <vector>

#include <benchmark/benchmark.h>

#include "model/sketch.h"

using namespace penwick;

namespace {

constexpr int kStrokes = 10000;
constexpr int kPointsPerStroke = 100;
constexpr size_t kPointBytes = size_t(kStrokes) * kPointsPerStroke * sizeof(StrokePoint);

// Shapes of strokesPerShape strokes each, one group per shape.
Sketch bigSketch(int strokesPerShape) {
    Sketch sketch;
    for (int s = 0; s < kStrokes; ++s) {
        if (s % strokesPerShape == 0) {
            sketch.shapes.append(Shape{});
            sketch.shapes.last().groups.append(StrokeGroup{});
        }
        Stroke stroke;
        stroke.points.resize(kPointsPerStroke);
        for (int i = 0; i < kPointsPerStroke; ++i) {
            stroke.points[i] = StrokePoint{float(s), float(i), 1.5f, 1, 0};
        }
        sketch.shapes.last().groups.last().strokes.append(std::move(stroke));
    }
    return sketch;
}

// Heap bytes held by a sketch's arrays.
size_t heapBytes(const Sketch& sketch) {
    size_t bytes = size_t(sketch.shapes.capacity()) * sizeof(Shape);
    for (const Shape& shape : sketch.shapes) {
        bytes += size_t(shape.groups.capacity()) * sizeof(StrokeGroup);
        for (const StrokeGroup& g : shape.groups) {
            bytes += size_t(g.strokes.capacity()) * sizeof(Stroke);
            for (const Stroke& s : g.strokes) {
                bytes += size_t(s.points.capacity()) * sizeof(StrokePoint);
            }
        }
    }
    return bytes;
}

void snapshotOf(benchmark::State& state, int strokesPerShape) {
    const Sketch sketch = bigSketch(strokesPerShape);
    size_t bytes = 0;
    for (auto _ : state) {
        Sketch copy = sketch.snapshot();
        benchmark::DoNotOptimize(copy.shapes.items());
        bytes = heapBytes(copy);
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(kPointBytes));
    state.counters["snapshot_bytes"] = double(bytes + sizeof(Sketch));
    state.counters["point_bytes"] = double(kPointBytes);
}

// As the undo history uses them: a few snapshots stay alive and each new one
// replaces the oldest, so the allocator reuses memory instead of handing the
// freed pages back to the system and faulting them in again.
void BM_SnapshotIntoAnUndoRing(benchmark::State& state) {
    const Sketch sketch = bigSketch(1);
    std::vector<Sketch> ring(3);
    size_t next = 0;
    for (auto _ : state) {
        ring[next] = Sketch();  // the oldest goes first, as when the history is full
        ring[next] = sketch.snapshot();
        benchmark::DoNotOptimize(ring[next].shapes.items());
        next = (next + 1) % ring.size();
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(kPointBytes));
    state.counters["snapshot_bytes"] = double(heapBytes(ring[0]) + sizeof(Sketch));
}
BENCHMARK(BM_SnapshotIntoAnUndoRing)->Unit(benchmark::kMillisecond);

void BM_SnapshotOneStrokePerShape(benchmark::State& state) {
    snapshotOf(state, 1);
}
BENCHMARK(BM_SnapshotOneStrokePerShape)->Unit(benchmark::kMillisecond);

void BM_SnapshotHundredStrokesPerShape(benchmark::State& state) {
    snapshotOf(state, 100);
}
BENCHMARK(BM_SnapshotHundredStrokesPerShape)->Unit(benchmark::kMillisecond);

// The peer: the same point bytes copied in one piece into a buffer that is
// already in use.
void BM_MemcpyOfThePointBytes(benchmark::State& state) {
    std::vector<char> from(kPointBytes, 1), to(kPointBytes, 0);
    for (auto _ : state) {
        std::memcpy(to.data(), from.data(), kPointBytes);
        benchmark::DoNotOptimize(to.data());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(kPointBytes));
    state.counters["point_bytes"] = double(kPointBytes);
}
BENCHMARK(BM_MemcpyOfThePointBytes)->Unit(benchmark::kMillisecond);

// A second peer: the same memcpy into a newly allocated buffer, which like a
// snapshot has to be given fresh pages by the system each time.
void BM_MemcpyIntoAFreshBuffer(benchmark::State& state) {
    std::vector<char> from(kPointBytes, 1);
    for (auto _ : state) {
        std::unique_ptr<char[]> to(new char[kPointBytes]);
        std::memcpy(to.get(), from.data(), kPointBytes);
        benchmark::DoNotOptimize(to.get());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(kPointBytes));
    state.counters["point_bytes"] = double(kPointBytes);
}
BENCHMARK(BM_MemcpyIntoAFreshBuffer)->Unit(benchmark::kMillisecond);

}  // namespace
