// A fill limited to a range of rows draws those rows exactly as the whole
// fill does and leaves every other row alone, whatever the path.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "render/pixel_blend.h"
#include "render/rasterizer.h"
#include "tests/render/random_paths.h"

using namespace penwick;
using penwick::testing::TestRandom;

namespace {

constexpr uint32_t kUntouched = 0x00ABCDEF;

PixelBuffer canvas(int width, int height) {
    PixelBuffer b;
    b.allocate(width, height, PixelFormat::rgb32(), 0, kUntouched);
    return b;
}

// Random paths over and beyond the buffer, now and then with a contour
// without width (all points on one vertical line) or coordinates far out.
Path randomPath(TestRandom& rnd, int width, int height) {
    Path path = penwick::testing::randomMixedPath(rnd, -0.3 * width, -0.3 * height, 1.3 * width,
                                                  1.3 * height);
    if (rnd.chance(0.2)) {
        path.startContour();
        const double x = rnd.uniform(-5, width + 5);
        for (int i = 0; i < 4; ++i)
            path.addPoint(x, rnd.uniform(-20, height + 20), rnd.chance(0.5));
    }
    if (rnd.chance(0.1)) path.addPoint(rnd.uniform(-1e7, 1e7), rnd.uniform(-1e7, 1e7), true);
    return path;
}

}  // namespace

TEST(RasterizerRowClip, ClippedFillsDrawTheirRowsAsTheWholeFillDoes) {
    TestRandom rnd(0xC11F);
    for (int trial = 0; trial < 400; ++trial) {
        const int width = rnd.between(8, 90);
        const int height = rnd.between(8, 90);
        const Path path = randomPath(rnd, width, height);
        const uint32_t colour = uint32_t(rnd.next() & 0xFFFFFF);
        const double opacity = rnd.chance(0.5) ? 1.0 : rnd.uniform(0, 1);

        PixelBuffer whole = canvas(width, height);
        fillPath(whole, path, colour, opacity);

        const int top = rnd.between(-3, height);
        const int end = top + rnd.between(1, height / 2 + 1);
        PixelBuffer clipped = canvas(width, height);
        Rasterizer r;
        r.setTarget(&clipped);
        r.setColour(colour);
        r.setOpacity(opacity);
        r.setRowClip(top, end);
        r.fill(path);

        for (int y = 0; y < height; ++y) {
            const bool inside = y >= top && y < end;
            for (int x = 0; x < width; ++x) {
                const uint32_t expected = inside ? loadPixel32(whole.row(y) + 4 * x) : kUntouched;
                ASSERT_EQ(loadPixel32(clipped.row(y) + 4 * x), expected)
                    << "trial " << trial << ", rows " << top << " to " << end << ", pixel " << x
                    << ", " << y;
            }
        }
    }
}
