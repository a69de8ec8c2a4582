// The whole-sketch drawing in bands on several threads gives, byte for byte,
// the picture one thread draws at once.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cstring>
#include <random>
#include <stdexcept>
#include <string>
#include <vector>

#include "render/band_workers.h"
#include "render/sketch_drawing.h"

using namespace penwick;

namespace {

// Shapes of random pen strokes: random walks with changing radius, some
// reaching beyond the buffer on every side, some filled, some selected, and
// sometimes an insertion point.
Sketch randomSketch(std::mt19937& random, int width, int height) {
    std::uniform_real_distribution<float> unit(0.0f, 1.0f);
    Sketch sketch;
    sketch.background = random() & 0xFFFFFF;
    const int shapes = 1 + int(random() % 40);
    for (int i = 0; i < shapes; ++i) {
        Shape shape;
        shape.colour = random() % 8 == 0 ? -1 : int32_t(random() & 0xFFFFFF);
        shape.fillColour = random() % 4 == 0 ? int32_t(random() & 0xFFFFFF) : -1;
        shape.selected = random() % 5 == 0 ? 1 : 0;
        const int groups = 1 + int(random() % 2);
        for (int g = 0; g < groups; ++g) {
            StrokeGroup group;
            const int strokes = 1 + int(random() % 3);
            for (int k = 0; k < strokes; ++k) {
                Stroke stroke;
                stroke.closed = random() % 6 == 0 ? 1 : 0;
                float x = (unit(random) * 1.4f - 0.2f) * float(width);
                float y = (unit(random) * 1.4f - 0.2f) * float(height);
                float r = 0.3f + unit(random) * 6.0f;
                const int points = 1 + int(random() % 30);
                for (int p = 0; p < points; ++p) {
                    stroke.points.append(StrokePoint{x, y, r, uint8_t(random() % 2), 0});
                    x += (unit(random) - 0.5f) * 25.0f;
                    y += (unit(random) - 0.5f) * 25.0f;
                    r = std::max(0.1f, r + (unit(random) - 0.5f) * 1.5f);
                }
                group.strokes.append(std::move(stroke));
            }
            shape.groups.append(std::move(group));
        }
        sketch.shapes.append(std::move(shape));
    }
    sketch.insertIndex = random() % 3 == 0 ? int32_t(random() % uint32_t(shapes)) : -1;
    sketch.editLevel = random() % 2 == 0 ? EditLevel::Shape : EditLevel::Stroke;
    return sketch;
}

struct Picture {
    PixelBuffer image;
    PixelBuffer faded;
    Picture(int width, int height) {
        image.allocate(width, height, PixelFormat::rgb32(), 0, 0x12345678);
        faded.allocate(width, height, PixelFormat::argb32(), 0, 0x12345678);
    }
};

bool sameBytes(const PixelBuffer& a, const PixelBuffer& b) {
    for (int y = 0; y < a.height(); ++y)
        if (std::memcmp(a.row(y), b.row(y), size_t(a.width()) * 4) != 0) return false;
    return true;
}

}  // namespace

TEST(SketchDrawingBands, AnyThreadCountAndBandHeightDrawsTheSamePixels) {
    BandWorkers one(1);
    BandWorkers two(2);
    BandWorkers three(3);
    BandWorkers seven(7);
    std::mt19937 random(0x5EED);
    for (int trial = 0; trial < 40; ++trial) {
        const int width = 40 + int(random() % 200);
        const int height = 30 + int(random() % 160);
        const Sketch sketch = randomSketch(random, width, height);
        Picture expected(width, height);
        drawSketch(sketch, expected.image, expected.faded, one);

        struct Way {
            BandWorkers& workers;
            int bandRows;
        };
        for (const Way way : {Way{one, 1}, Way{one, 7}, Way{two, 0}, Way{three, 0}, Way{three, 5},
                              Way{seven, 0}, Way{seven, 2}}) {
            Picture banded(width, height);
            drawSketch(sketch, banded.image, banded.faded, way.workers, way.bandRows);
            const std::string what = "trial " + std::to_string(trial) + ", " +
                                     std::to_string(way.workers.threadCount()) + " threads, " +
                                     std::to_string(way.bandRows) + "-row bands";
            ASSERT_TRUE(sameBytes(banded.image, expected.image)) << what;
            if (sketch.insertIndex >= 0) {
                ASSERT_TRUE(sameBytes(banded.faded, expected.faded)) << what;
            }
        }
    }
}

TEST(SketchDrawingBands, WorkersRunEveryPartOnceAndHandOnAFailure) {
    BandWorkers workers(3);
    std::vector<std::atomic<int>> runs(1000);
    for (int round = 0; round < 20; ++round) {
        workers.run(int(runs.size()), [&](int part) { ++runs[size_t(part)]; });
    }
    for (const auto& count : runs)
        ASSERT_EQ(count.load(), 20);

    EXPECT_THROW(workers.run(50,
                             [](int part) {
                                 if (part == 17) throw std::runtime_error("part 17 failed");
                             }),
                 std::runtime_error);
    // The pool goes on working after a failure.
    std::atomic<int> total{0};
    workers.run(10, [&](int part) { total += part; });
    EXPECT_EQ(total.load(), 45);

    EXPECT_EQ(BandWorkers::threadCountFrom(nullptr, 2), 2);
    EXPECT_EQ(BandWorkers::threadCountFrom("3", 2), 3);
    EXPECT_EQ(BandWorkers::threadCountFrom("0", 8), 8);
    EXPECT_EQ(BandWorkers::threadCountFrom("four", 8), 8);
    EXPECT_EQ(BandWorkers::threadCountFrom(nullptr, 0), 1);
    EXPECT_EQ(BandWorkers::threadCountFrom("1000", 2), 64);
}
