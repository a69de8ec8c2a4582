// Outline speed: outline() of pen strokes of 500 points, reported as input
// points per second (the goal is at least 20 million on the reference
// machine), with outlinePiece() per point beside it as the drawing-time peer.
#include <algorithm>
#include <cmath>
#include <random>
#include <vector>

#include <benchmark/benchmark.h>

#include "model/outline.h"

using namespace penwick;

namespace {

constexpr int kPoints = 500;
constexpr int kStrokes = 64;

// Smooth pen-like strokes: a wandering direction, samples a few units apart,
// the radius following a slowly changing pressure.
std::vector<Stroke> penStrokes() {
    std::mt19937 rnd(0x1234);
    std::uniform_real_distribution<double> turn(-0.3, 0.3), pressure(-0.05, 0.05);
    std::vector<Stroke> strokes(kStrokes);
    for (Stroke& s : strokes) {
        double x = 0, y = 0, angle = turn(rnd) * 10, p = 0.5;
        for (int i = 0; i < kPoints; ++i) {
            angle += turn(rnd);
            p = std::clamp(p + pressure(rnd), 0.1, 1.0);
            x += 3 * std::cos(angle);
            y += 3 * std::sin(angle);
            s.points.append(StrokePoint{float(x), float(y), float((p + 0.05) * 4), 1, 0});
        }
    }
    return strokes;
}

void BM_Outline(benchmark::State& state) {
    const std::vector<Stroke> strokes = penStrokes();
    size_t next = 0;
    for (auto _ : state) {
        Path p = outline(strokes[next]);
        benchmark::DoNotOptimize(p.contours.items());
        next = (next + 1) % strokes.size();
    }
    state.SetItemsProcessed(state.iterations() * kPoints);
}
BENCHMARK(BM_Outline);

void BM_OutlinePiecesOfAWholeStroke(benchmark::State& state) {
    const std::vector<Stroke> strokes = penStrokes();
    size_t next = 0;
    for (auto _ : state) {
        for (int i = 0; i < kPoints; ++i) {
            Path p = outlinePiece(strokes[next], i);
            benchmark::DoNotOptimize(p.contours.items());
        }
        next = (next + 1) % strokes.size();
    }
    state.SetItemsProcessed(state.iterations() * kPoints);
}
BENCHMARK(BM_OutlinePiecesOfAWholeStroke);

}  // namespace
