// What reading a sketch file costs, counted byte by byte (this program's
// operator new feeds the memory meter): at most 4 bytes of memory per byte
// of decompressed input plus the headroom, whatever the records are, and no
// more copying for an old file than for the same drawing in a current one.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>

#include "fuzz/memory_meter.h"
#include "fuzz/sketch_checks.h"
#include "fuzz/sketch_samples.h"
#include "model/memory_stream.h"
#include "model/sketch_file.h"

using namespace penwick;
using samples::Bytes;
using samples::putInt32;

namespace {

// Counts of the records a 107 file is made of: `shapes` shapes of `groups`
// groups of `strokes` strokes of `points` points each.
struct Recipe {
    int64_t shapes = 1;
    int64_t groups = 0;
    int64_t strokes = 0;
    int64_t points = 0;

    // In double, which cannot overflow for any counts.
    double bytes() const {
        const double stroke = 1 + 4 + double(points) * 16;
        const double group = 4 + double(strokes) * stroke;
        const double shape = 4 + double(groups) * group + 8;
        return 12 + double(shapes) * shape + 12 + 2 * 96 + 4;
    }
};

void putTail(Bytes& out, int transforms) {
    for (int t = 0; t < transforms; ++t)
        samples::putTransform(out, Transform3D{});
    putInt32(out, 0xFFFFFF);
}

void putPoints(Bytes& out, int64_t n, bool old) {
    putInt32(out, int32_t(n));
    for (int64_t i = 0; i < n; ++i) {
        samples::putFloat(out, float(i % 1000));
        samples::putFloat(out, float(i / 1000));
        samples::putFloat(out, 2.0f);
        if (!old) putInt32(out, 1);  // onCurve 1, selected 0, two reserved bytes
    }
}

Bytes file107(const Recipe& r) {
    Bytes out;
    out.reserve(size_t(r.bytes()));
    putInt32(out, kSketchVersion);
    putInt32(out, 1);
    putInt32(out, int32_t(r.shapes));
    for (int64_t s = 0; s < r.shapes; ++s) {
        putInt32(out, int32_t(r.groups));
        for (int64_t g = 0; g < r.groups; ++g) {
            putInt32(out, int32_t(r.strokes));
            for (int64_t k = 0; k < r.strokes; ++k) {
                out.push_back(0);
                putPoints(out, r.points, false);
            }
        }
        putInt32(out, 0);
        putInt32(out, -1);
    }
    putInt32(out, 0);  // the shape being drawn: no groups
    putInt32(out, 0);
    putInt32(out, -1);
    putTail(out, 2);
    return out;
}

// A version 105 file of `strokes` old strokes, the first of `points` points.
Bytes file105(int32_t strokes, int32_t points) {
    Bytes out;
    out.reserve(size_t(strokes + 1) * 12 + size_t(points) * 12 + 8 + 3 * 96 + 4);
    putInt32(out, 105);
    putInt32(out, strokes);
    for (int32_t k = 0; k <= strokes; ++k) {  // and the unfinished one
        putInt32(out, 0);
        putInt32(out, -1);
        putPoints(out, k == 0 ? points : 0, true);
    }
    putTail(out, 3);
    return out;
}

struct Measured {
    ReadResult result;
    size_t peak = 0;
    size_t total = 0;
};

Measured measuredRead(const Bytes& bytes, const ReadLimits& limits) {
    MemoryStream input(bytes.data(), int32_t(bytes.size()));
    Sketch sketch;
    Measured m;
    const checks::PeakMeasure measure;
    m.result = readSketch(input, sketch, limits);
    m.peak = measure.peak();
    m.total = measure.total();
    return m;
}

ReadLimits smallHeadroom() {
    ReadLimits limits;
    limits.headroomBytes = checks::kReadMemoryHeadroom;
    return limits;
}

size_t allowed(const Bytes& bytes, const ReadLimits& limits) {
    return limits.memoryPerByte * bytes.size() + limits.headroomBytes;
}

}  // namespace

TEST(SketchReadMemory, EmptyRecordsCannotAmplifyASmallFile) {
    ASSERT_TRUE(checks::meterInstalled());
    const ReadLimits limits = smallHeadroom();
    struct Case {
        const char* name;
        Bytes bytes;
    };
    const Case cases[] = {
        {"empty groups", file107({1, 2'000'000, 0, 0})},
        {"empty strokes", file107({1, 1, 1'500'000, 0})},
        {"empty shapes", file107({700'000, 0, 0, 0})},
        {"empty old strokes", file105(700'000, 0)},
        {"one old stroke of many points", file105(1, 700'000)},
        {"groups of empty strokes", file107({1, 200'000, 8, 0})},
        {"shapes of empty groups", file107({100'000, 20, 0, 0})},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const Measured m = measuredRead(c.bytes, limits);
        EXPECT_LE(m.peak, allowed(c.bytes, limits)) << c.bytes.size() << " bytes";
        if (!m.result) {
            EXPECT_EQ(m.result.error, "the file holds too many records for its size");
        }
        // The same as a clipboard payload.
        Bytes payload;
        putInt32(payload, kClipboardMagic);
        putInt32(payload, kSketchVersion);
        payload.insert(payload.end(), c.bytes.begin() + 8, c.bytes.end());
        MemoryStream input(payload.data(), int32_t(payload.size()));
        Sketch sketch;
        const checks::PeakMeasure measure;
        pasteClipboard(input, sketch, limits);
        EXPECT_LE(measure.peak(), allowed(payload, limits));
    }

    // A real drawing is no such file: strokes of some points each load.
    const Bytes drawing = file107({3000, 2, 2, 60});
    const Measured m = measuredRead(drawing, limits);
    EXPECT_TRUE(m.result.ok) << m.result.error;
    EXPECT_LE(m.peak, allowed(drawing, limits));
}

TEST(SketchReadMemory, RandomMixturesStayWithinTheBudget) {
    std::mt19937 random(0x5eed);
    const ReadLimits limits = smallHeadroom();
    for (int trial = 0; trial < 60; ++trial) {
        // Each count mostly small, now and then huge.
        const auto pick = [&]() -> int64_t {
            const uint32_t kind = random() % 4;
            return kind == 0   ? 0
                   : kind == 1 ? random() % 8
                   : kind == 2 ? random() % 300
                               : random() % 3'000'000;
        };
        const Recipe r{1 + pick(), pick(), pick(), pick()};
        const bool old = random() % 5 == 0;
        const double size = old ? double(r.shapes + r.points) * 12 : r.bytes();
        if (size > double(24 << 20)) continue;
        const Bytes bytes = old ? file105(int32_t(r.shapes), int32_t(r.points)) : file107(r);
        const Measured m = measuredRead(bytes, limits);
        EXPECT_LE(m.peak, allowed(bytes, limits))
            << "trial " << trial << ": " << r.shapes << " shapes, " << r.groups << " groups, "
            << r.strokes << " strokes, " << r.points << " points" << (old ? " (105)" : "");
        if (!m.result) {
            EXPECT_EQ(m.result.error, "the file holds too many records for its size");
        }
    }
}

TEST(SketchReadMemory, AnOldLongStrokeIsReadWithoutRepeatedCopying) {
    // Two million points: grown one by one, past a million each step adds a
    // fixed 262144, and every step copied the whole stroke again.
    const int32_t n = 2'000'000;
    const Bytes old = file105(1, n);
    const Bytes current = file107({1, 1, 1, n});
    const Measured oldRead = measuredRead(old, ReadLimits{});
    const Measured currentRead = measuredRead(current, ReadLimits{});
    ASSERT_TRUE(oldRead.result.ok) << oldRead.result.error;
    ASSERT_TRUE(currentRead.result.ok) << currentRead.result.error;
    // Every byte allocated on the way counts, freed or not.
    EXPECT_LE(oldRead.total, currentRead.total + currentRead.total / 10) << oldRead.total;
}

// The fuzz target's stored inputs, the small gzip files that decompress into
// millions of empty records among them, measured as the target measures them.
TEST(SketchReadMemory, StoredFuzzInputsStayWithinTheBudget) {
    const std::filesystem::path corpus =
        std::filesystem::path(PENWICK_SOURCE_DIR) / "fuzz/corpus/sketch_file_fuzzer";
    int amplifying = 0;
    for (const auto& entry : std::filesystem::directory_iterator(corpus)) {
        std::ifstream in(entry.path(), std::ios::binary);
        const Bytes bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
        EXPECT_EQ(checks::checkReadMemory(bytes.data(), bytes.size()), "") << entry.path();
        amplifying += entry.path().filename().string().starts_with("amplify-");
    }
    EXPECT_EQ(amplifying, 5);
}
