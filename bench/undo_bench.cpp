// The undo history on a page of 10,000 shapes, against the old whole deep
// copies of the same page in the same run.
//
//   BM_UndoOneStep                 undo(1) after a gesture that moved one
//                                  shape (the redraw not included)
//   BM_DeepCopyUndoBaseline        the same step with deep copies: the sketch
//                                  copied onto the redo stack, the stored copy
//                                  copied back, the stored one freed
//   BM_HundredGestureMemory        a snapshot before each of 100 gestures,
//                                  each moving one shape (move) or drawing one
//                                  stroke (draw): the heap in use against the
//                                  page's own (ratio; the page counts once)
//   BM_HundredDeepSnapshotsMemory  the same 100 gestures keeping deep copies
//
// Goals: an undo step at most 1 ms at 1,000,000 points; the page with its
// 100 snapshots at most twice the page's own memory.
#include <chrono>
#include <vector>

#include <benchmark/benchmark.h>

#include "bench/bench_pages.h"
#include "canvas/undo_history.h"

using namespace penwick;
using namespace penwick::bench;

namespace {

const Transform3D& nudge() {
    static const Transform3D t = Transform3D::identity().thenTranslate(Vec3d{3, 1, 0});
    return t;
}

// Selects shape j alone, moves it and unselects it, as a lasso and a drag
// would.
void moveOneShape(Sketch& sketch, int32_t j) {
    sketch.shapes.edit(j).selected = 1;
    sketch.applyWindowTransform(nudge());
    sketch.shapes.edit(j).selected = 0;
}

void drawOneStroke(Sketch& sketch, int32_t j) {
    for (int i = 0; i < 100; ++i)
        sketch.addSample(j % 1000, i, 2);
    sketch.commitCurrent(-1);
}

void BM_UndoOneStep(benchmark::State& state) {
    Sketch sketch = pageOf(int(state.range(0)));
    UndoHistory history;
    int32_t next = 0;
    for (auto _ : state) {
        history.takeSnapshot(sketch);
        moveOneShape(sketch, next);
        next = (next + 97) % kShapes;
        const auto start = std::chrono::steady_clock::now();
        const int32_t done = history.undo(1, sketch);
        const auto end = std::chrono::steady_clock::now();
        benchmark::DoNotOptimize(done);
        state.SetIterationTime(std::chrono::duration<double>(end - start).count());
    }
    state.counters["points"] = double(state.range(0)) * kShapes;
}
// A fixed count: the untimed gesture before each step costs a hundred times
// the step, so running until the step's time adds up would take minutes.
BENCHMARK(BM_UndoOneStep)
    ->Arg(10)
    ->Arg(100)
    ->Arg(400)
    ->Iterations(20000)
    ->UseManualTime()
    ->Unit(benchmark::kMicrosecond);

void BM_DeepCopyUndoBaseline(benchmark::State& state) {
    UnsharedSketch sketch(pageOf(int(state.range(0))));
    std::vector<UnsharedSketch> undo, redo;
    int32_t next = 0;
    for (auto _ : state) {
        redo.clear();
        undo.push_back(sketch);
        transformPoints(sketch.shapes[next].groups, nudge());
        next = (next + 97) % kShapes;
        const auto start = std::chrono::steady_clock::now();
        redo.push_back(sketch);
        sketch = undo.back();
        undo.pop_back();
        const auto end = std::chrono::steady_clock::now();
        state.SetIterationTime(std::chrono::duration<double>(end - start).count());
    }
    state.counters["points"] = double(state.range(0)) * kShapes;
}
BENCHMARK(BM_DeepCopyUndoBaseline)
    ->Arg(10)
    ->Arg(100)
    ->UseManualTime()
    ->Unit(benchmark::kMicrosecond);

void memoryCounters(benchmark::State& state, size_t pageBytes, size_t totalBytes) {
    state.counters["points"] = double(state.range(0)) * kShapes;
    state.counters["page_MB"] = double(pageBytes) / 1e6;
    state.counters["total_MB"] = double(totalBytes) / 1e6;
    state.counters["ratio"] = double(totalBytes) / double(pageBytes);
}

void BM_HundredGestureMemory(benchmark::State& state, void (*gesture)(Sketch&, int32_t)) {
    size_t pageBytes = 0, totalBytes = 0;
    for (auto _ : state) {
        const size_t start = heapInUse();
        Sketch sketch = pageOf(int(state.range(0)));
        pageBytes = heapInUse() - start;
        UndoHistory history;
        for (int k = 0; k < UndoHistory::kLimit; ++k) {
            history.takeSnapshot(sketch);
            gesture(sketch, (k * 97) % kShapes);
        }
        totalBytes = heapInUse() - start;
    }
    memoryCounters(state, pageBytes, totalBytes);
}
BENCHMARK_CAPTURE(BM_HundredGestureMemory, move, moveOneShape)
    ->Arg(10)
    ->Arg(100)
    ->Arg(400)
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_HundredGestureMemory, draw, drawOneStroke)
    ->Arg(10)
    ->Arg(100)
    ->Arg(400)
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond);

// Only up to 1,000,000 points: at 4,000,000 the copies would take 7 GB.
void BM_HundredDeepSnapshotsMemory(benchmark::State& state) {
    size_t pageBytes = 0, totalBytes = 0;
    for (auto _ : state) {
        const size_t start = heapInUse();
        UnsharedSketch sketch(pageOf(int(state.range(0))));
        pageBytes = heapInUse() - start;
        std::vector<UnsharedSketch> undo;
        undo.reserve(UndoHistory::kLimit);
        for (int k = 0; k < UndoHistory::kLimit; ++k) {
            undo.push_back(sketch);
            transformPoints(sketch.shapes[(k * 97) % kShapes].groups, nudge());
        }
        totalBytes = heapInUse() - start;
    }
    memoryCounters(state, pageBytes, totalBytes);
}
BENCHMARK(BM_HundredDeepSnapshotsMemory)
    ->Arg(10)
    ->Arg(100)
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond);

}  // namespace
