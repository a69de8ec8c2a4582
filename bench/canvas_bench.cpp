// The canvas at 1920 x 1080:
//   - a whole-window paint with the preview holding a mark over 2 % of the
//     window and the faded sheet shapes over 10 % of it, against a memcpy of
//     the frame's bytes and against laying the three buffers whole;
//   - the full raster redraw of a 5,000-stroke page against cairo filling
//     the same outlines (prepared once, outside the timing).
#include <benchmark/benchmark.h>

#include <cstring>
#include <vector>

#include "bench/raster_peers.h"
#include "canvas/canvas_buffers.h"
#include "model/outline.h"
#include "tests/render/random_paths.h"

namespace penwick::bench {
namespace {

constexpr int kWidth = 1920;
constexpr int kHeight = 1080;
constexpr int64_t kFrameBytes = int64_t(kWidth) * kHeight * 4;

// A shape of one stroke, given in window pixels, kept in sketch space.
void addWindowShape(Sketch& sketch, const Stroke& inWindow, int32_t colour) {
    Shape shape;
    shape.colour = colour;
    shape.groups.append(StrokeGroup{});
    shape.groups[0].strokes.append(inWindow);
    const Transform3D back = sketch.viewTransform().inverse();
    transformPoints(shape.groups, back);
    sketch.shapes.append(std::move(shape));
}

Stroke line(double x0, double y0, double x1, double y1, double radius) {
    Stroke s;
    for (int i = 0; i <= 16; ++i) {
        StrokePoint p;
        p.x = float(x0 + (x1 - x0) * i / 16);
        p.y = float(y0 + (y1 - y0) * i / 16);
        p.radius = float(radius);
        s.points.append(p);
    }
    return s;
}

// Buffers as a person leaves them mid-stroke: a page of 200 strokes, the
// last two behind the insertion point (about 10 % of the window), and a
// mark in the preview over about 2 % of it.
struct PaintScene {
    CanvasBuffers buffers;
    PixelBuffer back;
    PaintScene() {
        Sketch sketch;
        sketch.setWindowFit(kWidth, kHeight);
        testing::TestRandom rnd(11);
        for (int i = 0; i < 200; ++i)
            addWindowShape(sketch,
                           testing::randomStroke(rnd, rnd.uniform(0, kWidth),
                                                 rnd.uniform(0, kHeight), 60, 1, 12),
                           0x203040);
        sketch.insertIndex = sketch.shapes.count();
        addWindowShape(sketch, line(300, 300, 1000, 300, 50), 0x000000);
        addWindowShape(sketch, line(300, 700, 1000, 700, 50), 0x804000);
        buffers.resize(kWidth, kHeight);
        buffers.redraw(sketch);
        Path mark;
        mark.setEllipse(RectF(1300, 500, 1600, 640), 16);
        buffers.fillPath(mark, 0xFF0000);
        back.allocate(kWidth, kHeight, PixelFormat::rgb32(), 0, 0);
    }
};

void CanvasPaintWholeWindow(benchmark::State& state) {
    PaintScene scene;
    for (auto _ : state) {
        scene.buffers.compose(scene.back, {0, 0, kWidth, kHeight}, true);
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(state.iterations() * kFrameBytes);
}

// The same picture by laying each buffer over the whole frame.
void ThreeWholeBuffers(benchmark::State& state) {
    PaintScene scene;
    for (auto _ : state) {
        scene.back.composite(scene.buffers.image(), 0, 0, -1, -1, 0);
        scene.back.composite(scene.buffers.preview(), 0, 0, -1, -1, 8 + 255);
        scene.back.composite(scene.buffers.faded(), 0, 0, -1, -1, 8 + 223);
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(state.iterations() * kFrameBytes);
}

void FrameMemcpy(benchmark::State& state) {
    std::vector<uint8_t> from(static_cast<size_t>(kFrameBytes), 1);
    std::vector<uint8_t> to(static_cast<size_t>(kFrameBytes));
    for (auto _ : state) {
        std::memcpy(to.data(), from.data(), to.size());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(state.iterations() * kFrameBytes);
}

// ---- The full redraw of a 5,000-stroke page ---------------------------------

struct Page {
    Sketch sketch;
    std::vector<Stroke> strokes;  // in window pixels
    Page() {
        sketch.setWindowFit(kWidth, kHeight);
        testing::TestRandom rnd(2027);
        for (int i = 0; i < 5000; ++i) {
            strokes.push_back(testing::randomStroke(
                rnd, rnd.uniform(0, kWidth), rnd.uniform(0, kHeight), rnd.between(20, 200), 1, 20));
            addWindowShape(sketch, strokes.back(), 0x102030);
        }
    }
};
const Page& page() {
    static const Page p;
    return p;
}

void CanvasFullRedraw5000(benchmark::State& state) {
    CanvasBuffers buffers;
    buffers.resize(kWidth, kHeight);
    for (auto _ : state) {
        buffers.redraw(page().sketch);
        benchmark::ClobberMemory();
    }
}

void CairoSameOutlines5000(benchmark::State& state) {
    std::vector<Path> outlines;
    for (const Stroke& s : page().strokes)
        outlines.push_back(outline(s));
    auto peer = makeCairoPeer(kWidth, kHeight);
    peer->prepare(outlines);
    for (auto _ : state) {
        for (size_t i = 0; i < outlines.size(); ++i)
            peer->fill(i, 0xFF102030u);
        benchmark::ClobberMemory();
    }
}

BENCHMARK(CanvasPaintWholeWindow)->Unit(benchmark::kMillisecond);
BENCHMARK(ThreeWholeBuffers)->Unit(benchmark::kMillisecond);
BENCHMARK(FrameMemcpy)->Unit(benchmark::kMillisecond);
BENCHMARK(CanvasFullRedraw5000)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(CairoSameOutlines5000)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
}  // namespace penwick::bench
