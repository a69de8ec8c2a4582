#include "render/rasterizer.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

#include "render/biased_floor.h"
#include "tests/render/random_paths.h"
#include "tests/render/raster_test_support.h"

namespace penwick {
namespace {

using testing::blueAt;
using testing::changedPixels;
using testing::filledBuffer;
using testing::rectanglePath;

constexpr uint32_t kWhite = 0xFFFFFF;
constexpr uint32_t kBlack = 0x000000;

TEST(BiasedFloor, CountsValuesJustBelowAnIntegerAsThatInteger) {
    EXPECT_EQ(biasedFloor(2.0), 2);
    EXPECT_EQ(biasedFloor(2.5), 2);
    EXPECT_EQ(biasedFloor(2.998), 2);
    EXPECT_EQ(biasedFloor(2.9995), 3);
    EXPECT_EQ(biasedFloor(-0.5), -1);
    EXPECT_EQ(biasedFloor(-0.0005), 0);
    EXPECT_EQ(biasedFloor(-1.2), -2);
    EXPECT_EQ(biasedFloor(1000000.75), 1000000);
}

TEST(Rasterizer, StateAndSetters) {
    Rasterizer r;
    EXPECT_EQ(r.colour(), 0u);
    EXPECT_EQ(r.opacity(), 1.0);
    EXPECT_EQ(r.target(), nullptr);
    r.setColour(0x123456);
    EXPECT_EQ(r.colour(), 0xFF123456u);
    r.setColour(0x7F123456);
    EXPECT_EQ(r.colour(), 0xFF123456u);

    EXPECT_EQ(alphaScaleOf(1.0), 256);
    EXPECT_EQ(alphaScaleOf(0.125), 32);
    EXPECT_EQ(alphaScaleOf(0.999), 255);
    EXPECT_EQ(alphaScaleOf(2.0), 256);
    EXPECT_EQ(alphaScaleOf(-1.0), 0);
    EXPECT_EQ(alphaScaleOf(std::nan("")), 0);

    // No target: nothing happens.
    r.fill(rectanglePath(0, 0, 5, 5));
}

TEST(Rasterizer, OnePixelSquareChangesExactlyOnePixel) {
    PixelBuffer buffer = filledBuffer(20, 20, 3, kWhite);
    const PixelBuffer before = filledBuffer(20, 20, 3, kWhite);
    fillPath(buffer, rectanglePath(10, 10, 11, 11), kBlack, 1.0);
    EXPECT_EQ(changedPixels(buffer, before), 1);
    // A cell's own pixel is blended even at full coverage: 255 + (-255 * 255 >> 8) = 0.
    EXPECT_EQ(loadPixel(buffer.pixelAt(10, 10), 4), 0u);
}

TEST(Rasterizer, HalfPixelSquareHasQuarterCornersAndHalfEdges) {
    PixelBuffer buffer = filledBuffer(20, 20, 3, kWhite);
    fillPath(buffer, rectanglePath(10.5, 10.5, 12.5, 12.5), kBlack, 1.0);
    // Alpha 64 (a quarter) and 128 (a half) over white: 255 + (-255 * a >> 8).
    const int quarter = 255 + ((-255 * 64) >> 8);
    const int half = 255 + ((-255 * 128) >> 8);
    EXPECT_EQ(quarter, 191);
    EXPECT_EQ(half, 127);
    const int expected[3][3] = {
        {quarter, half, quarter}, {half, 0, half}, {quarter, half, quarter}};
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 3; ++x)
            EXPECT_EQ(blueAt(buffer, 10 + x, 10 + y), expected[y][x]) << x << ", " << y;
    EXPECT_EQ(changedPixels(buffer, filledBuffer(20, 20, 3, kWhite)), 9);
}

TEST(Rasterizer, BothWindingsGiveTheSamePixels) {
    testing::TestRandom rnd(7);
    for (int n = 0; n < 20; ++n) {
        Path path = testing::randomClosedCurve(rnd, 40, 30, rnd.uniform(5, 25), 30);
        Path reversed = path;
        reversed.reverse();
        PixelBuffer a = filledBuffer(80, 60, 3, kWhite), b = filledBuffer(80, 60, 3, kWhite);
        fillPath(a, path, 0x3366CC, 0.8);
        fillPath(b, reversed, 0x3366CC, 0.8);
        EXPECT_EQ(testing::pixelBytes(a), testing::pixelBytes(b)) << n;
    }
    PixelBuffer a = filledBuffer(20, 20, 3, kWhite), b = filledBuffer(20, 20, 3, kWhite);
    fillPath(a, rectanglePath(2.3, 3.7, 15.2, 11.9, false), kBlack, 1.0);
    fillPath(b, rectanglePath(2.3, 3.7, 15.2, 11.9, true), kBlack, 1.0);
    EXPECT_EQ(testing::pixelBytes(a), testing::pixelBytes(b));
}

TEST(Rasterizer, OverlappingContoursNeverExceedFullCoverage) {
    Path path = rectanglePath(2, 2, 12, 12);
    path.appendPath(rectanglePath(6, 6, 16, 16));
    PixelBuffer buffer = filledBuffer(20, 20, 3, kWhite);
    fillPath(buffer, path, kBlack, 0.5);
    // Half opacity: alpha (0xFFFF * 128) >> 16 = 127, whether covered once or twice.
    const int once = 255 + ((-255 * 127) >> 8);
    EXPECT_EQ(blueAt(buffer, 3, 3), once);
    EXPECT_EQ(blueAt(buffer, 8, 8), once);  // covered by both
    EXPECT_EQ(blueAt(buffer, 14, 14), once);
    EXPECT_EQ(blueAt(buffer, 17, 17), 255);
}

TEST(Rasterizer, GeometryLeftOfTheBufferCollapsesOntoColumnZero) {
    {
        PixelBuffer buffer = filledBuffer(20, 20, 3, kWhite);
        fillPath(buffer, rectanglePath(-10, 2, -1, 15), kBlack, 1.0);
        testing::TestRandom rnd(3);
        Path curve = testing::randomClosedCurve(rnd, -30, 10, 8, 40);
        fillPath(buffer, curve, kBlack, 1.0);
        EXPECT_EQ(changedPixels(buffer, filledBuffer(20, 20, 3, kWhite)), 0);
    }
    {
        // From far left into the buffer: column 0 is fully covered on rows 2 ... 14.
        PixelBuffer buffer = filledBuffer(20, 20, 3, kWhite);
        Path path;
        path.startContour();
        for (double y = 2; y <= 15; y += 1)
            path.addOnCurve(-50 - y, y);  // a long run left
        path.addOnCurve(5.5, 15);
        path.addOnCurve(5.5, 2);
        fillPath(buffer, path, kBlack, 1.0);
        for (int y = 0; y < 20; ++y) {
            const bool inside = y >= 2 && y < 15;
            EXPECT_EQ(blueAt(buffer, 0, y), inside ? 0 : 255) << y;
            EXPECT_EQ(blueAt(buffer, 4, y), inside ? 0 : 255) << y;
            EXPECT_EQ(blueAt(buffer, 5, y), inside ? 127 : 255) << y;
            EXPECT_EQ(blueAt(buffer, 6, y), 255) << y;
        }
    }
}

TEST(Rasterizer, OpacityOneEighthOverWhiteGives224) {
    PixelBuffer buffer = filledBuffer(20, 20, 3, kWhite);
    fillPath(buffer, rectanglePath(2, 2, 12, 12), kBlack, 0.125);
    // A span pixel: alpha (0xFFFF * 32) >> 16 = 31; 255 + (-255 * 31 >> 8) = 224.
    EXPECT_EQ(loadPixel(buffer.pixelAt(5, 5), 4), 0xE0E0E0u);
    EXPECT_EQ(loadPixel(buffer.pixelAt(1, 5), 4), 0xFFFFFFu);
}

TEST(Rasterizer, CoordinateJustBelowARowBoundaryBelongsToTheNextRow) {
    PixelBuffer buffer = filledBuffer(10, 10, 3, kWhite);
    fillPath(buffer, rectanglePath(1, 2.9995, 6, 7), kBlack, 1.0);
    for (int x = 1; x < 6; ++x) {
        EXPECT_EQ(blueAt(buffer, x, 2), 255) << x;
        EXPECT_EQ(blueAt(buffer, x, 3), 0) << x;
    }
}

TEST(Rasterizer, NearlyUprightEdgeAHairShortOfAPixelBoundaryLeavesThePixelBeforeIt) {
    // The left edge climbs by one float step in x, from just below the
    // point that counts for the next column to just above it, so on one row
    // it crosses that point within a span far thinner than a pixel. The
    // pixel left of the edge is covered by a thousandth at most and must
    // stay paper on every row, the one right of it ink. Also for an edge two
    // million pixels tall, whose spans are thinner still.
    const float left = 500.0f + 32735.0f / 32768.0f, right = 500.0f + 32736.0f / 32768.0f;
    for (const double height : {100.0, 2e6}) {
        PixelBuffer buffer = filledBuffer(520, 120, 3, kWhite);
        // The crossing falls at about row 23.
        const double top = 23 - 0.234375 * height;
        Path path;
        path.startContour();
        path.addOnCurve(left, float(top));
        path.addOnCurve(right, float(top + height));
        path.addOnCurve(right + 10, float(top + height));
        path.addOnCurve(left + 10, float(top));
        fillPath(buffer, path, kBlack, 1.0);
        for (int y = 1; y < 99; ++y) {
            ASSERT_EQ(blueAt(buffer, 500, y), 255) << "height " << height << " row " << y;
            ASSERT_EQ(blueAt(buffer, 501, y), 0) << "height " << height << " row " << y;
        }
    }
}

TEST(Rasterizer, PathFarLargerThanTheBufferDrawsOnlyInsideIt) {
    // A view into the middle of a larger block: the guard bytes around it
    // must stay untouched.
    const int width = 30, height = 20, stride = 40 * 4;
    std::vector<uint8_t> memory(size_t(stride) * 40, 0xAB);
    PixelBuffer buffer;
    buffer.view(memory.data() + stride * 10 + 5 * 4, width, height, stride, PixelFormat::rgb32());

    Path circle;
    circle.setEllipse(RectF(-1e7f, -1e7f, 1e7f, 1e7f), 64);
    Path square = rectanglePath(-1e6, -1e6, 1e6, 1e6);
    for (const Path* path : {&circle, &square}) {
        buffer.fillAll(kWhite);
        fillPath(buffer, *path, kBlack, 1.0);
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x)
                ASSERT_EQ(loadPixel(buffer.pixelAt(x, y), 4), 0u);
    }

    size_t guard = 0;
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 40; ++x) {
            const bool inside = y >= 10 && y < 30 && x >= 5 && x < 35;
            if (!inside && memory[size_t(y * stride + x * 4)] != 0xAB) ++guard;
        }
    EXPECT_EQ(guard, 0u);
}

TEST(Rasterizer, ArgbTargetGetsOpaqueFillAndBlendedEdges) {
    PixelBuffer buffer = filledBuffer(10, 10, 4, 0);
    fillPath(buffer, rectanglePath(2, 2, 6.5, 6), 0x80FF8040, 1.0);
    EXPECT_EQ(loadPixel(buffer.pixelAt(3, 3), 4), 0xFFFF8040u);
    // Half coverage into a transparent pixel: colour fully taken, alpha
    // (255 * 128) >> 8 = 127.
    EXPECT_EQ(loadPixel(buffer.pixelAt(6, 3), 4), 0x7FFE7F3Fu);
    EXPECT_EQ(loadPixel(buffer.pixelAt(8, 3), 4), 0u);
}

TEST(Rasterizer, TilingPiecesCoverTheInteriorFullyAndNeverMore) {
    // Random convex polygons fanned into triangles from an inner point:
    // filled together, every pixel inside the polygon is fully covered, every
    // pixel away from it untouched, and the edge pixels match the polygon
    // filled whole within one level.
    testing::TestRandom rnd(1234);
    for (int n = 0; n < 200; ++n) {
        const double cx = rnd.uniform(20, 44), cy = rnd.uniform(20, 44);
        const int corners = rnd.between(3, 14);
        const double r = rnd.uniform(3, 19);
        std::vector<std::pair<double, double>> polygon;
        for (int i = 0; i < corners; ++i) {
            const double t = 6.283185307179586 * (i + rnd.uniform(0, 0.8)) / corners;
            polygon.push_back({cx + r * std::cos(t), cy + r * std::sin(t)});
        }
        Path whole, pieces;
        whole.startContour();
        for (auto [x, y] : polygon)
            whole.addOnCurve(x, y);
        for (int i = 0; i < corners; ++i) {
            const auto [x0, y0] = polygon[size_t(i)];
            const auto [x1, y1] = polygon[size_t((i + 1) % corners)];
            pieces.startContour();
            pieces.addOnCurve(cx, cy);
            pieces.addOnCurve(x0, y0);
            pieces.addOnCurve(x1, y1);
        }
        PixelBuffer a = filledBuffer(64, 64, 3, kWhite), b = filledBuffer(64, 64, 3, kWhite);
        fillPath(a, whole, kBlack, 1.0);
        fillPath(b, pieces, kBlack, 1.0);
        for (int y = 0; y < 64; ++y)
            for (int x = 0; x < 64; ++x) {
                const int pa = blueAt(a, x, y), pb = blueAt(b, x, y);
                ASSERT_LE(std::abs(pa - pb), 1) << n << " at " << x << ", " << y;
                // Pixels whose four corners are inside the polygon are full.
                int insideCorners = 0;
                for (int k = 0; k < 4; ++k)
                    insideCorners += whole.windingAt(x + (k & 1), y + (k >> 1)) != 0;
                if (insideCorners == 4) {
                    ASSERT_EQ(pb, 0) << n << " at " << x << ", " << y;
                }
            }
    }
}

// The area of the unit pixel (px, py) covered by a convex polygon, by
// clipping it to the pixel's four sides.
double coveredArea(std::vector<std::pair<double, double>> polygon, int px, int py) {
    auto clip = [](const std::vector<std::pair<double, double>>& in, bool vertical, double at,
                   bool keepAbove) {
        std::vector<std::pair<double, double>> out;
        for (size_t i = 0; i < in.size(); ++i) {
            const auto a = in[i], b = in[(i + 1) % in.size()];
            const double ca = vertical ? a.first : a.second, cb = vertical ? b.first : b.second;
            const bool ia = keepAbove ? ca >= at : ca <= at, ib = keepAbove ? cb >= at : cb <= at;
            if (ia) out.push_back(a);
            if (ia != ib) {
                const double t = (at - ca) / (cb - ca);
                out.push_back(
                    {a.first + t * (b.first - a.first), a.second + t * (b.second - a.second)});
            }
        }
        return out;
    };
    polygon = clip(polygon, true, px, true);
    polygon = clip(polygon, true, px + 1, false);
    polygon = clip(polygon, false, py, true);
    polygon = clip(polygon, false, py + 1, false);
    double twice = 0;
    for (size_t i = 0; i < polygon.size(); ++i) {
        const auto a = polygon[i], b = polygon[(i + 1) % polygon.size()];
        twice += a.first * b.second - b.first * a.second;
    }
    return std::fabs(twice / 2);
}

TEST(Rasterizer, CoverageIsTheExactAreaOfEachPixel) {
    // Random triangles: black over white gives 255 - alpha, and alpha is the
    // covered area in 1/256 of a pixel, rounded down, within one level (the
    // per-cell truncations).
    testing::TestRandom rnd(42);
    long pixels = 0, exact = 0;
    for (int n = 0; n < 500; ++n) {
        std::vector<std::pair<double, double>> triangle;
        for (int i = 0; i < 3; ++i)
            triangle.push_back({std::nearbyint(rnd.uniform(1, 15) * 64) / 64,
                                std::nearbyint(rnd.uniform(1, 15) * 64) / 64});
        Path path;
        path.startContour();
        for (auto [x, y] : triangle)
            path.addOnCurve(x, y);
        PixelBuffer buffer = filledBuffer(16, 16, 3, kWhite);
        fillPath(buffer, path, kBlack, 1.0);
        for (int y = 0; y < 16; ++y)
            for (int x = 0; x < 16; ++x) {
                const int expected =
                    std::min(255, int(std::floor(coveredArea(triangle, x, y) * 256)));
                const int alpha = 255 - blueAt(buffer, x, y);
                ASSERT_LE(std::abs(alpha - expected), 1) << n << " at " << x << ", " << y;
                ++pixels;
                if (alpha == expected) ++exact;
            }
    }
    EXPECT_GT(exact, pixels - pixels / 1000);
}

}  // namespace
}  // namespace penwick
