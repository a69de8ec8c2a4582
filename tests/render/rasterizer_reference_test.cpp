// The fast rasterizer against the straightforward one, and the inputs the
// straightforward one handles badly: paths needing more cells than its pool,
// runs left of the buffer ending on a control point, hostile coordinates.

#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <limits>
#include <vector>

#include "model/outline.h"
#include "render/rasterizer.h"
#include "tests/render/random_paths.h"
#include "tests/render/raster_test_support.h"
#include "tests/render/reference_rasterizer.h"

namespace penwick {
namespace {

using testing::describe;
using testing::filledBuffer;
using testing::pixelBytes;
using testing::TestRandom;

// Fills the path with both rasterizers into two copies of the same buffer
// and reports whether the bytes agree.
::testing::AssertionResult sameAsReference(const Path& path, int width, int height, int code,
                                           uint32_t background, uint32_t colour, double opacity) {
    PixelBuffer fast = filledBuffer(width, height, code, background);
    PixelBuffer slow = filledBuffer(width, height, code, background);
    fillPath(fast, path, colour, opacity);
    reference::fill(slow, path, colour, opacity);
    if (pixelBytes(fast) == pixelBytes(slow)) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure()
           << testing::changedPixels(fast, slow) << " pixels differ on a " << width << " x "
           << height << " code " << code << " buffer, opacity " << opacity << ", path\n"
           << describe(path);
}

TEST(RasterizerReference, FastFillMatchesTheStraightforwardOneOnRandomPaths) {
    TestRandom rnd(0x1234);
    int drawn = 0;
    for (int n = 0; n < 1000; ++n) {
        const int width = rnd.between(1, 90), height = rnd.between(1, 70);
        const int code = rnd.chance(0.5) ? 3 : 4;
        const uint32_t background = code == 4 && rnd.chance(0.5) ? 0u : uint32_t(rnd.next());
        const uint32_t colour = uint32_t(rnd.next());
        const double opacity = rnd.chance(0.3) ? 1.0 : rnd.uniform(0, 1);
        Path path;
        switch (n % 4) {
            case 0: {
                // Stroke outlines, sometimes reaching over the buffer's edges.
                Stroke stroke = testing::randomStroke(rnd, rnd.uniform(-20, width + 20),
                                                      rnd.uniform(-20, height + 20),
                                                      rnd.between(1, 40), 0.3, 12);
                path = outline(stroke);
                break;
            }
            case 1:
                path = testing::randomClosedCurve(rnd, rnd.uniform(-30, width + 30),
                                                  rnd.uniform(-30, height + 30), rnd.uniform(1, 60),
                                                  rnd.between(3, 60));
                break;
            case 2:
                path = testing::randomMixedPath(rnd, -40, -40, width + 40, height + 40);
                break;
            default:
                // Far left of the buffer and back, long runs of points at x <= 0.
                path = testing::randomMixedPath(rnd, -3000, -5, width * 0.5, height + 5);
                break;
        }
        ASSERT_TRUE(sameAsReference(path, width, height, code, background, colour, opacity))
            << "case " << n;
        PixelBuffer probe = filledBuffer(width, height, code, background);
        fillPath(probe, path, colour, opacity);
        if (testing::changedPixels(probe, filledBuffer(width, height, code, background)) > 0)
            ++drawn;
    }
    // Most cases must actually draw something for the comparison to mean much.
    EXPECT_GT(drawn, 500);
}

TEST(RasterizerReference, MatchesInEveryPixelFormatAndAtFaintOpacities) {
    // The faint leftovers of truncated coverage blend at alpha 0, which
    // changes a transparent ARGB pixel and the top bit of RGB 5-5-5, and
    // nothing in the other formats; low opacities make them common.
    TestRandom rnd(0x5eed);
    for (int n = 0; n < 400; ++n) {
        const int codes[] = {0, 1, 3, 4, 5, 6, 7, 8};
        const int code = codes[n % 8];
        const int width = rnd.between(1, 120), height = rnd.between(1, 60);
        const uint32_t background = rnd.chance(0.3) ? 0u : uint32_t(rnd.next()) | 0x80008000u;
        const double opacity = rnd.chance(0.5) ? rnd.uniform(0, 0.05) : rnd.uniform(0, 1);
        Stroke stroke =
            testing::randomStroke(rnd, rnd.uniform(-10, width + 10), rnd.uniform(-10, height + 10),
                                  rnd.between(2, 40), 0.3, 15);
        Path path = outline(stroke);
        if (n % 3 == 0)
            path.appendPath(testing::randomMixedPath(rnd, -20, -20, width + 20, height + 20));
        ASSERT_TRUE(
            sameAsReference(path, width, height, code, background, uint32_t(rnd.next()), opacity))
            << "case " << n;
    }
}

TEST(RasterizerReference, MatchesOnWholeStrokesAtCanvasSize) {
    TestRandom rnd(99);
    for (int n = 0; n < 30; ++n) {
        Stroke stroke = testing::randomStroke(rnd, rnd.uniform(0, 640), rnd.uniform(0, 480),
                                              rnd.between(20, 300), 1, 30);
        ASSERT_TRUE(sameAsReference(outline(stroke), 640, 480, 3, 0xFFFFFF, 0x102030, 1.0)) << n;
    }
}

TEST(RasterizerReference, MatchesAcrossBandsOfLargePaths) {
    // Paths taller than one band of cells are flattened once and cut band by
    // band; the pixels must not show where the bands meet.
    TestRandom rnd(31);
    for (int n = 0; n < 12; ++n) {
        const int code = n % 2 == 0 ? 3 : 4;
        Path path =
            testing::randomClosedCurve(rnd, rnd.uniform(200, 1000), rnd.uniform(200, 700),
                                       rnd.uniform(150, 600), rnd.between(20, 200), n % 3 == 0);
        if (n % 4 == 1) path.appendPath(testing::rectanglePath(-5.5, -3.25, 1204.5, 903.75));
        ASSERT_TRUE(sameAsReference(path, 1200, 900, code, 0x336699, uint32_t(rnd.next()),
                                    rnd.uniform(0.2, 1)))
            << n;
    }
}

TEST(RasterizerReference, PartialRowsOvershootingTheEdgeStillLandInTheirCells) {
    // y 2.9985 lies in row 2 and 2.9995 in row 3: the piece of row 2 then
    // runs on along the edge's slope (50 px per 0.001 px) to x = 85 (or -15),
    // well beyond the path's bounds.
    for (bool mirrored : {false, true}) {
        Path path;
        path.startContour();
        auto x = [&](double v) { return mirrored ? 70 - v : v; };
        path.addOnCurve(x(10), 2.9985);
        path.addOnCurve(x(60), 2.9995);
        path.addOnCurve(x(60), 8);
        path.addOnCurve(x(10), 8);
        for (int code : {3, 4})
            EXPECT_TRUE(sameAsReference(path, 120, 12, code, 0xFFFFFF, 0x102030, 1.0)) << mirrored;
    }
}

TEST(RasterizerReference, AContourWithoutWidthStillDrawsWhereItsEdgesLeaveCover) {
    // A vertical zig-zag at x = 0 just around y = 0: the curve pieces wholly
    // at y <= 0 add nothing, the one reaching below y = 0 adds its part in
    // row 0, so cover is left over for the whole row. The contour has no
    // width (and so no bounds of its own); another one far below makes the
    // path's bounds miss row 0 by many rows.
    Path path;
    path.startContour();
    path.addPoint(99.28f, 36.73f, false);
    path.addPoint(0.0f, 18.37f, false);
    path.startContour();
    for (float y : {0.0f, -0.00055f, 1e-30f, 0.0f})
        path.addPoint(0, y, false);
    for (int code : {3, 4})
        EXPECT_TRUE(sameAsReference(path, 8, 40, code, 0, 0xFFFFFF, 1.0)) << code;
}

TEST(RasterizerReference, NeverDropsCoverageWhenThePoolWouldRunOut) {
    // A comb of 150 thin teeth in a 2-row buffer needs about 600 cells in
    // row 0; a pool of 128 cells per row (256 here) runs out.
    Path comb;
    comb.startContour();
    comb.addOnCurve(0.5, 1.5);
    for (int i = 0; i < 150; ++i) {
        comb.addOnCurve(2 + 2.6 * i, 1.5);
        comb.addOnCurve(2.3 + 2.6 * i, 0.2);
        comb.addOnCurve(2.9 + 2.6 * i, 0.2);
        comb.addOnCurve(3.2 + 2.6 * i, 1.5);
    }
    comb.addOnCurve(395.5, 1.5);
    comb.addOnCurve(395.5, 1.9);
    comb.addOnCurve(0.5, 1.9);

    PixelBuffer fast = filledBuffer(400, 2, 3, 0xFFFFFF);
    PixelBuffer unlimited = filledBuffer(400, 2, 3, 0xFFFFFF);
    PixelBuffer pooled = filledBuffer(400, 2, 3, 0xFFFFFF);
    fillPath(fast, comb, 0, 1.0);
    reference::fill(unlimited, comb, 0, 1.0, reference::kUnlimited);
    reference::fill(pooled, comb, 0, 1.0, reference::kPerRowPool);
    EXPECT_EQ(pixelBytes(fast), pixelBytes(unlimited));
    // The old pool drops the right-hand teeth (so the check above is not
    // trivially true).
    EXPECT_GT(testing::changedPixels(pooled, unlimited), 100);
    // The last tooth is drawn, where the pool had dropped it.
    EXPECT_LT(*fast.pixelAt(390, 0), 255);
    EXPECT_EQ(*pooled.pixelAt(390, 0), 255);
    EXPECT_EQ(*fast.pixelAt(393, 0), 255);
}

TEST(RasterizerReference, LeftRunEndingOnAControlPointKeepsTheContourClosed) {
    // Points 1 ... 4 lie left of the buffer and point 4 is a control point:
    // the straight edge replacing the run must stop at point 3 and the curve
    // through point 4 must still be drawn, or the contour stays open and its
    // rows fill to the right edge.
    Path path;
    path.startContour();
    path.addOnCurve(-5, 2);
    path.addOnCurve(-5, 4);
    path.addOnCurve(-3, 6);
    path.addOnCurve(-1, 8);
    path.addControl(-2, 12);
    path.addOnCurve(20, 12);
    path.addOnCurve(20, 2);
    PixelBuffer buffer = filledBuffer(40, 16, 3, 0xFFFFFF);
    fillPath(buffer, path, 0, 1.0);
    for (int y = 0; y < 16; ++y)
        for (int x = 21; x < 40; ++x)
            ASSERT_EQ(*buffer.pixelAt(x, y), 255) << x << ", " << y;
    EXPECT_EQ(*buffer.pixelAt(10, 9), 0);
    EXPECT_TRUE(sameAsReference(path, 40, 16, 3, 0xFFFFFF, 0, 1.0));

    // The same with the run ending on two control points (the midpoint case).
    Path path2;
    path2.startContour();
    path2.addOnCurve(-5, 2);
    path2.addOnCurve(-5, 4);
    path2.addOnCurve(-3, 6);
    path2.addControl(-1, 8);
    path2.addControl(-2, 12);
    path2.addOnCurve(20, 12);
    path2.addOnCurve(20, 2);
    PixelBuffer buffer2 = filledBuffer(40, 16, 3, 0xFFFFFF);
    fillPath(buffer2, path2, 0, 1.0);
    for (int y = 0; y < 16; ++y)
        for (int x = 21; x < 40; ++x)
            ASSERT_EQ(*buffer2.pixelAt(x, y), 255) << x << ", " << y;
}

TEST(RasterizerReference, HostileCoordinatesNeitherHangNorWriteOutside) {
    const float inf = std::numeric_limits<float>::infinity();
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const int width = 50, height = 40, stride = 64 * 4;
    std::vector<uint8_t> memory(size_t(stride) * 60, 0xAB);
    PixelBuffer buffer;
    buffer.view(memory.data() + stride * 10 + 7 * 4, width, height, stride, PixelFormat::rgb32());

    auto guardIntact = [&] {
        for (int y = 0; y < 60; ++y)
            for (int x = 0; x < 64; ++x) {
                const bool inside = y >= 10 && y < 50 && x >= 7 && x < 57;
                if (!inside && memory[size_t(y * stride + x * 4)] != 0xAB) return false;
            }
        return true;
    };

    // Non-finite points: the whole path is rejected.
    for (float bad : {inf, -inf, nan}) {
        buffer.fillAll(0xFFFFFF);
        Path path = testing::rectanglePath(5, 5, 20, 20);
        path.addPoint(10, 10, false);
        path.contours[0].points[1].x = bad;
        Path curve;
        curve.startContour();
        curve.addPoint(bad, 0, true);
        curve.addPoint(25, 30, false);
        curve.addPoint(5, 10, true);
        fillPath(buffer, path, 0, 1.0);
        fillPath(buffer, curve, 0, 1.0);
        EXPECT_EQ(testing::changedPixels(buffer, filledBuffer(width, height, 3, 0xFFFFFF)), 0);
    }

    // Huge finite coordinates: curves and edges reaching 1e30 and beyond.
    TestRandom rnd(5);
    const auto start = std::chrono::steady_clock::now();
    for (int n = 0; n < 300; ++n) {
        Path path;
        path.startContour();
        const int points = rnd.between(2, 8);
        for (int i = 0; i < points; ++i) {
            const double scale = std::pow(10.0, rnd.uniform(0, 38));
            const bool huge = rnd.chance(0.5);
            const double x = huge ? rnd.uniform(-scale, scale) : rnd.uniform(-10, 60);
            const double y = huge ? rnd.uniform(-scale, scale) : rnd.uniform(-10, 50);
            path.addPoint(x, y, rnd.chance(0.4));
        }
        fillPath(buffer, path, uint32_t(rnd.next()), 1.0);
        Path square = testing::rectanglePath(-1e30, -1e30, 1e30, 3e38);
        fillPath(buffer, square, 0x00FF00, 0.5);
    }
    EXPECT_TRUE(guardIntact());
    // Not a timing test: a bound that only an unbounded recursion or a
    // 2^32-long loop would break.
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(60));
}

}  // namespace
}  // namespace penwick
