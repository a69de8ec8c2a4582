// Exporting a 1920 x 1080 sketch of 2,000 strokes (60 samples each, every
// tenth shape filled): the PNG export (whole-sketch raster drawing, PNG
// encoding, the safe save) and the SVG export (text, the safe save).
//
// Peers in the same run:
// - the rasterizer alone on the same paths, already outlined, and the
//   geometry alone (shapes into window pixels, outlines), which together give
//   the rasterizer's share of the raster drawing;
// - cairo filling the same paths (quadratic splines as cubic curves, non-zero
//   rule, its default anti-aliasing) into an image of the same size;
// - the drawing on 1 to 4 threads and in bands of several heights;
// - libpng's own compression, and the export's compression through libpng
//   on one thread, against the export's encoding, with the sizes.
//
// Goals: the drawing on 2 threads at least 1.7 times as fast as on 1; the
// PNG export at most twice the raster drawing alone.

#include <benchmark/benchmark.h>
#include <cairo.h>
#include <png.h>
#include <zlib.h>

#include <cstdio>
#include <string>
#include <utility>
#include <vector>

#include "model/outline.h"
#include "render/band_workers.h"
#include "render/rasterizer.h"
#include "render/save_to_file.h"
#include "render/sketch_drawing.h"
#include "render/svg_export.h"
#include "tools/example_sketches.h"
#include "tools/png_file.h"

using namespace penwick;

namespace {

constexpr int kWidth = 1920;
constexpr int kHeight = 1080;

const Sketch& benchSketch() {
    static const Sketch sketch = syntheticSketch(2000, 60, kWidth, kHeight, 1);
    return sketch;
}

// Every filled path of the drawing in order, in window pixels.
const std::vector<std::pair<Path, uint32_t>>& benchPaths() {
    static const std::vector<std::pair<Path, uint32_t>> paths = [] {
        std::vector<std::pair<Path, uint32_t>> all;
        const Sketch& sketch = benchSketch();
        for (int32_t i = 0; i <= sketch.shapes.count(); ++i) {
            const Shape s = sketch.shapeForDrawing(i);
            for (const StrokeGroup& g : s.groups) {
                if (s.fillColour >= 0) all.emplace_back(centreLine(g), uint32_t(s.fillColour));
                if (s.colour >= 0) all.emplace_back(outline(g), uint32_t(s.colour));
            }
        }
        return all;
    }();
    return paths;
}

std::string scratchFile(const char* name) {
    return std::string(P_tmpdir) + "/penwick-bench-" + name;
}

void BM_RasterDrawing(benchmark::State& state) {
    const Sketch& sketch = benchSketch();
    PixelBuffer picture;
    for (auto _ : state) {
        drawSketchPicture(sketch, kWidth, kHeight, picture);
        benchmark::DoNotOptimize(picture.row(0));
    }
}
BENCHMARK(BM_RasterDrawing)->Unit(benchmark::kMillisecond);

// The same drawing on a pool of (threads) threads in bands of (band rows)
// rows, 0 choosing them. Wall-clock time, and the CPU time of the whole
// process: on a loaded machine the threads may not get their cores, but the
// CPU time still shows the work that banding adds.
void BM_RasterDrawingThreads(benchmark::State& state) {
    const Sketch& sketch = benchSketch();
    BandWorkers workers(int(state.range(0)));
    PixelBuffer picture;
    picture.allocate(kWidth, kHeight, PixelFormat::rgb32(), 0, 0);
    PixelBuffer faded;
    for (auto _ : state) {
        drawSketch(sketch, picture, faded, workers, int(state.range(1)));
        benchmark::DoNotOptimize(picture.row(0));
    }
}
BENCHMARK(BM_RasterDrawingThreads)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->MeasureProcessCPUTime()
    ->ArgNames({"threads", "band_rows"})
    ->Args({1, 0})
    ->Args({1, 135})
    ->Args({1, 270})
    ->Args({2, 0})
    ->Args({3, 0})
    ->Args({4, 0})
    ->Args({2, 8})
    ->Args({2, 16})
    ->Args({2, 32})
    ->Args({2, 135})
    ->Args({2, 540});

void BM_RasterDrawing_RasterizerOnly(benchmark::State& state) {
    const auto& paths = benchPaths();
    PixelBuffer picture;
    picture.allocate(kWidth, kHeight, PixelFormat::rgb32(), 0, 0);
    Rasterizer r;
    r.setTarget(&picture);
    for (auto _ : state) {
        picture.fillAll(0xFFFFFF);
        for (const auto& [path, colour] : paths) {
            r.setColour(colour);
            r.fill(path);
        }
        benchmark::DoNotOptimize(picture.row(0));
    }
}
BENCHMARK(BM_RasterDrawing_RasterizerOnly)->Unit(benchmark::kMillisecond);

// Everything the raster drawing does besides the rasterizer: the shapes
// mapped into window pixels and their centre lines and outlines built.
void BM_RasterDrawing_GeometryOnly(benchmark::State& state) {
    const Sketch& sketch = benchSketch();
    for (auto _ : state) {
        int64_t points = 0;
        for (int32_t i = 0; i <= sketch.shapes.count(); ++i) {
            const Shape s = sketch.shapeForDrawing(i);
            for (const StrokeGroup& g : s.groups) {
                if (s.fillColour >= 0) points += centreLine(g).pointCount();
                if (s.colour >= 0) points += outline(g).pointCount();
            }
        }
        benchmark::DoNotOptimize(points);
    }
}
BENCHMARK(BM_RasterDrawing_GeometryOnly)->Unit(benchmark::kMillisecond);

void BM_RasterDrawing_CairoPeer(benchmark::State& state) {
    const auto& paths = benchPaths();
    cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_RGB24, kWidth, kHeight);
    cairo_t* cr = cairo_create(surface);
    cairo_set_fill_rule(cr, CAIRO_FILL_RULE_WINDING);
    for (auto _ : state) {
        cairo_set_source_rgb(cr, 1, 1, 1);
        cairo_paint(cr);
        for (const auto& [path, colour] : paths) {
            cairo_new_path(cr);
            for (const PathContour& c : path.contours) {
                const int32_t n = c.points.count();
                if (n < 1) continue;
                // Every point is a quadratic control point between the
                // midpoints of its neighbours, as the rasterizer reads them.
                auto mid = [&](int32_t a, int32_t b) {
                    const PathPoint& p = c.points[a % n];
                    const PathPoint& q = c.points[b % n];
                    return std::pair<double, double>((double(p.x) + q.x) * 0.5,
                                                     (double(p.y) + q.y) * 0.5);
                };
                auto [sx, sy] = mid(n - 1, 0);
                cairo_move_to(cr, sx, sy);
                for (int32_t i = 0; i < n; ++i) {
                    const double qx = c.points[i].x;
                    const double qy = c.points[i].y;
                    const auto [ex, ey] = mid(i, i + 1);
                    cairo_curve_to(cr, sx + 2.0 / 3.0 * (qx - sx), sy + 2.0 / 3.0 * (qy - sy),
                                   ex + 2.0 / 3.0 * (qx - ex), ey + 2.0 / 3.0 * (qy - ey), ex, ey);
                    sx = ex;
                    sy = ey;
                }
                cairo_close_path(cr);
            }
            cairo_set_source_rgb(cr, ((colour >> 16) & 0xFF) / 255.0,
                                 ((colour >> 8) & 0xFF) / 255.0, (colour & 0xFF) / 255.0);
            cairo_fill(cr);
        }
        cairo_surface_flush(surface);
        benchmark::DoNotOptimize(cairo_image_surface_get_data(surface));
    }
    cairo_destroy(cr);
    cairo_surface_destroy(surface);
}
BENCHMARK(BM_RasterDrawing_CairoPeer)->Unit(benchmark::kMillisecond);

// Encodes the page's picture with `encode` on every iteration, with the
// file's size as a counter.
template <class Encode>
void encodeThePage(benchmark::State& state, Encode encode) {
    PixelBuffer picture;
    drawSketchPicture(benchSketch(), kWidth, kHeight, picture);
    size_t bytes = 0;
    for (auto _ : state) {
        bytes = encode(picture).size();
        benchmark::DoNotOptimize(bytes);
    }
    state.counters["bytes"] = double(bytes);
}

// The export's PNG encoding.
void BM_PngEncoding(benchmark::State& state) {
    encodeThePage(state, [](const PixelBuffer& picture) { return encodePng(picture); });
}
BENCHMARK(BM_PngEncoding)->Unit(benchmark::kMillisecond);

// The export's encoding on a pool of (threads) threads.
void BM_PngEncodingThreads(benchmark::State& state) {
    BandWorkers workers(int(state.range(0)));
    encodeThePage(state,
                  [&workers](const PixelBuffer& picture) { return encodePng(picture, workers); });
}
BENCHMARK(BM_PngEncodingThreads)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->ArgName("threads")
    ->Arg(1)
    ->Arg(2);

// The same picture with libpng's own compression (level 6, every filter on
// every row), the size the export's choice is measured against; and other
// levels, strategies and filters, as arguments (level, strategy, filters),
// to show where the choice stands.
void BM_PngEncodingWith(benchmark::State& state) {
    const PngCompression compression{int(state.range(0)), int(state.range(1)), int(state.range(2))};
    encodeThePage(state, [&compression](const PixelBuffer& picture) {
        return encodePng(picture, compression);
    });
}
BENCHMARK(BM_PngEncodingWith)
    ->Unit(benchmark::kMillisecond)
    ->ArgNames({"level", "strategy", "filters"})
    ->Args({libpngDefaultCompression().level, libpngDefaultCompression().strategy,
            libpngDefaultCompression().filters})
    ->Args({1, Z_DEFAULT_STRATEGY, PNG_FILTER_UP})
    ->Args({1, Z_RLE, PNG_FILTER_UP})
    ->Args({1, Z_RLE, PNG_FILTER_SUB})
    ->Args({1, Z_RLE, PNG_FILTER_NONE})
    ->Args({3, Z_DEFAULT_STRATEGY, PNG_FILTER_UP})
    ->Args({6, Z_DEFAULT_STRATEGY, PNG_FILTER_UP})
    ->Args({2, Z_FILTERED, PNG_FAST_FILTERS});

// Drawing, encoding and the safe save into a file.
void BM_PngExport(benchmark::State& state) {
    const std::string path = scratchFile("export.png");
    PixelBuffer picture;
    for (auto _ : state) {
        drawSketchPicture(benchSketch(), kWidth, kHeight, picture);
        if (!savePng(path, picture)) state.SkipWithError("saving failed");
    }
    std::remove(path.c_str());
}
BENCHMARK(BM_PngExport)->Unit(benchmark::kMillisecond);

void BM_SvgText(benchmark::State& state) {
    size_t bytes = 0;
    for (auto _ : state) {
        const std::string svg = svgText(benchSketch(), ClientRect{0, 0, kWidth, kHeight});
        bytes = svg.size();
        benchmark::DoNotOptimize(svg.data());
    }
    state.counters["bytes"] = double(bytes);
}
BENCHMARK(BM_SvgText)->Unit(benchmark::kMillisecond);

// The text and the safe save into a file.
void BM_SvgExport(benchmark::State& state) {
    const std::string path = scratchFile("export.svg");
    for (auto _ : state) {
        if (!saveToFile(path, benchSketch(), ClientRect{0, 0, kWidth, kHeight}))
            state.SkipWithError("saving failed");
    }
    std::remove(path.c_str());
}
BENCHMARK(BM_SvgExport)->Unit(benchmark::kMillisecond);

}  // namespace
