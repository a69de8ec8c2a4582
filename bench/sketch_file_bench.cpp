// Saving and loading a sketch of 1,000,000 points against plain zlib doing the
// same compression work on the same bytes, in the same run.
//
//   BM_ZlibDeflate    gzip-deflate the decompressed file bytes into memory (default level)
//   BM_SaveSketch     saveSketchFile: encode, gzip, write, fsync, rename
//   BM_ZlibInflate    inflate that gzip data into memory
//   BM_LoadSketch     loadSketchFile into a sketch that already holds the drawing
//
// Goals: save ≤ 0.4 × deflate, load ≤ 0.65 × inflate, the file within 1 % of
// zlib's size (the "bytes" counters).
#include <benchmark/benchmark.h>
#include <zlib.h>

#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "model/memory_stream.h"
#include "model/sketch_file.h"

using namespace penwick;

namespace {

constexpr int kShapes = 1000;
constexpr int kPointsPerShape = 1000;

// Pen-like strokes: a random walk with smoothly varying pressure, so the
// bytes compress as a real drawing's do.
const Sketch& bigSketch() {
    static const Sketch sketch = [] {
        Sketch s;
        std::mt19937 random(42);
        std::normal_distribution<double> step(0.0, 0.002);
        for (int i = 0; i < kShapes; ++i) {
            Shape shape;
            shape.colour = static_cast<int32_t>(random() & 0xFFFFFF);
            double x = (random() % 2000) / 1000.0 - 1, y = (random() % 2000) / 1000.0 - 1;
            double r = 0.004;
            for (int p = 0; p < kPointsPerShape; ++p) {
                x += step(random);
                y += step(random);
                r = std::clamp(r + step(random) * 0.1, 0.001, 0.01);
                addPoint(shape.groups, x, y, r);
            }
            s.shapes.append(std::move(shape));
        }
        return s;
    }();
    return sketch;
}

const std::vector<unsigned char>& payload() {
    static const std::vector<unsigned char> bytes = [] {
        MemoryStream stream;
        writeSketch(stream, bigSketch());
        return std::vector<unsigned char>(stream.data(), stream.data() + stream.size());
    }();
    return bytes;
}

std::vector<unsigned char> deflateGzip(const std::vector<unsigned char>& in) {
    z_stream z{};
    deflateInit2(&z, Z_DEFAULT_COMPRESSION, Z_DEFLATED, 15 + 16, 8, Z_DEFAULT_STRATEGY);
    std::vector<unsigned char> out(deflateBound(&z, in.size()) + 64);
    z.next_in = const_cast<unsigned char*>(in.data());
    z.avail_in = static_cast<uInt>(in.size());
    z.next_out = out.data();
    z.avail_out = static_cast<uInt>(out.size());
    deflate(&z, Z_FINISH);
    out.resize(z.total_out);
    deflateEnd(&z);
    return out;
}

std::string benchFile() {
    static const std::string path = (std::filesystem::temp_directory_path() /
                                     ("penwick-bench-" + std::to_string(::getpid()) + ".wnk"))
                                        .string();
    return path;
}

void BM_ZlibDeflate(benchmark::State& state) {
    const auto& in = payload();
    size_t bytes = 0;
    for (auto _ : state) {
        auto out = deflateGzip(in);
        bytes = out.size();
        benchmark::DoNotOptimize(out.data());
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(in.size()));
    state.counters["bytes"] = double(bytes);
}

void BM_SaveSketch(benchmark::State& state) {
    const Sketch& sketch = bigSketch();
    for (auto _ : state) {
        const SaveResult result = saveSketchFile(benchFile(), sketch);
        if (!result) state.SkipWithError(result.error.c_str());
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(payload().size()));
    state.counters["bytes"] = double(std::filesystem::file_size(benchFile()));
}

void BM_ZlibInflate(benchmark::State& state) {
    const auto& in = payload();
    const auto compressed = deflateGzip(in);
    std::vector<unsigned char> out(in.size());
    for (auto _ : state) {
        z_stream z{};
        inflateInit2(&z, 15 + 16);
        z.next_in = const_cast<unsigned char*>(compressed.data());
        z.avail_in = static_cast<uInt>(compressed.size());
        z.next_out = out.data();
        z.avail_out = static_cast<uInt>(out.size());
        if (inflate(&z, Z_FINISH) != Z_STREAM_END) state.SkipWithError("inflate failed");
        inflateEnd(&z);
        benchmark::DoNotOptimize(out.data());
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(in.size()));
}

void BM_LoadSketch(benchmark::State& state) {
    if (!saveSketchFile(benchFile(), bigSketch())) state.SkipWithError("could not save");
    Sketch sketch = bigSketch();
    for (auto _ : state) {
        const ReadResult result = loadSketchFile(benchFile(), sketch);
        if (!result) state.SkipWithError(result.error.c_str());
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(payload().size()));
    std::filesystem::remove(benchFile());
}

}  // namespace

BENCHMARK(BM_ZlibDeflate)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_SaveSketch)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_ZlibInflate)->Unit(benchmark::kMillisecond)->MinTime(1.0);
BENCHMARK(BM_LoadSketch)->Unit(benchmark::kMillisecond)->MinTime(1.0);
