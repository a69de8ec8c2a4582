#include "render/pixel_buffer.h"

#include <gtest/gtest.h>

#include <vector>

namespace penwick {
namespace {

uint32_t pixel(PixelBuffer& b, int x, int y) {
    return loadPixel(b.pixelAt(x, y), b.format().bytesPerPixel);
}

TEST(PixelBuffer, DefaultIsEmptyAndAllocatesNothing) {
    PixelBuffer b;
    EXPECT_TRUE(b.isEmpty());
    EXPECT_FALSE(b.ownsMemory());
    b.fillAll(0x123456);  // no effect, no crash
    b.fillRect(0, 0, 0, 5, 5);
}

TEST(PixelBuffer, AllocateRoundsTheStrideAndFills) {
    PixelBuffer b;
    ASSERT_TRUE(b.allocate(3, 2, PixelFormat::rgb24(), 0, 0x0A0B0C));
    EXPECT_EQ(b.stride(), 12);  // 9 bytes rounded up to 12
    EXPECT_EQ(pixel(b, 2, 1), 0x0A0B0Cu);
    ASSERT_TRUE(b.allocate(3, 2, PixelFormat::rgb24(), 40, 0));
    EXPECT_EQ(b.stride(), 40);
    EXPECT_FALSE(b.allocate(-1, 5, PixelFormat::rgb32(), 0, 0));
    EXPECT_TRUE(b.isEmpty());
    EXPECT_FALSE(b.allocate(1 << 20, 1 << 20, PixelFormat::rgb32(), 0, 0));
    EXPECT_TRUE(b.isEmpty());
}

TEST(PixelBuffer, BottomUpViewsAddressRowZeroAtTheEnd) {
    std::vector<uint8_t> memory(4 * 3 * 10, 0);
    PixelBuffer b;
    b.view(memory.data(), 3, -10, 12, PixelFormat::rgb32());
    EXPECT_EQ(b.height(), 10);
    EXPECT_EQ(b.stride(), -12);
    EXPECT_EQ(b.pixelAt(0, 0), memory.data() + 9 * 12);
    EXPECT_EQ(b.pixelAt(2, 9), memory.data() + 8);
    b.fillRect(0x00FF00, 0, 0, 3, 1);  // the top row is the last in memory
    EXPECT_EQ(memory[9 * 12 + 1], 0xFF);
    EXPECT_EQ(memory[1], 0);

    PixelBuffer none;
    none.view(nullptr, 3, 3, 12, PixelFormat::rgb32());
    EXPECT_TRUE(none.isEmpty());
    none.view(memory.data(), 3, 0, 12, PixelFormat::rgb32());
    EXPECT_TRUE(none.isEmpty());
}

TEST(PixelBuffer, SubViewsClipAndMissesGetAPrivatePixel) {
    PixelBuffer b;
    b.allocate(20, 10, PixelFormat::rgb32(), 0, 0);
    PixelBuffer v;
    v.subView(b, -5, 2, 10, -1);
    EXPECT_EQ(v.width(), 5);
    EXPECT_EQ(v.height(), 8);
    EXPECT_EQ(v.pixelAt(0, 0), b.pixelAt(0, 2));
    EXPECT_FALSE(v.ownsMemory());

    v.subView(b, 15, 8, 10, 10);
    EXPECT_EQ(v.width(), 5);
    EXPECT_EQ(v.height(), 2);
    v.subView(b, -1, -1, -1, -1);
    EXPECT_EQ(v.width(), 19);
    EXPECT_EQ(v.height(), 9);

    for (auto [x, y, w, h] :
         {std::array{20, 0, 5, 5}, std::array{-5, 0, 5, 5}, std::array{0, 10, 5, 5},
          std::array{0, -3, 5, 3}, std::array{INT32_MAX, INT32_MAX, INT32_MAX, INT32_MAX}}) {
        v.subView(b, x, y, w, h);
        EXPECT_EQ(v.width(), 1);
        EXPECT_EQ(v.height(), 1);
        EXPECT_EQ(v.format().code, 0);
        EXPECT_TRUE(v.ownsMemory());
    }
    v.fillAll(0xFFFFFFFF);  // harmless
    EXPECT_EQ(pixel(b, 0, 0), 0u);
}

TEST(PixelBuffer, PixelAtOutsideGivesTheScratchPixel) {
    PixelBuffer b;
    b.allocate(4, 4, PixelFormat::rgb32(), 0, 0x111111);
    uint8_t* scratch = b.pixelAt(-1, 0);
    EXPECT_EQ(b.pixelAt(4, 0), scratch);
    EXPECT_EQ(b.pixelAt(0, 4), scratch);
    scratch[0] = 0xFF;  // writing there changes nothing visible
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 4; ++x)
            EXPECT_EQ(pixel(b, x, y), 0x111111u);
}

TEST(PixelBuffer, FillAllAndFillRectWriteEveryFormat) {
    PixelBuffer b;
    b.allocate(5, 3, PixelFormat::argb32(), 0, 0xFFFFFFFF);
    b.fillRect(0, 1, 1, 3, 5);  // ARGB colour 0: all four bytes, transparent
    EXPECT_EQ(pixel(b, 1, 1), 0u);
    EXPECT_EQ(pixel(b, 3, 2), 0u);
    EXPECT_EQ(pixel(b, 0, 1), 0xFFFFFFFFu);
    EXPECT_EQ(pixel(b, 4, 2), 0xFFFFFFFFu);
    EXPECT_EQ(pixel(b, 1, 0), 0xFFFFFFFFu);

    b.allocate(5, 3, PixelFormat::rgb32(), 0, 0);
    b.fillAll(0x00ABCDEF);  // the raw value, fourth byte included
    EXPECT_EQ(pixel(b, 4, 2), 0x00ABCDEFu);
    b.fillRect(0xFF102030, 0, 0, 1, 1);
    EXPECT_EQ(pixel(b, 0, 0), 0x00102030u);  // code 3 writes 0 into the fourth byte

    b.allocate(7, 2, PixelFormat::grey(), 0, 0x99);
    EXPECT_EQ(pixel(b, 6, 1), 0x99u);
    b.allocate(7, 2, PixelFormat::fromCode(5), 0, 0x7FFF);
    EXPECT_EQ(pixel(b, 6, 1), 0x7FFFu);
}

TEST(PixelBuffer, CompositeCopiesAndRepeatsTheSource) {
    PixelBuffer source;
    source.allocate(1, 1, PixelFormat::rgb32(), 0, 0x123456);
    PixelBuffer b;
    b.allocate(8, 8, PixelFormat::rgb32(), 0, 0);
    b.composite(source, 2, 2, 4, 4, 0);
    int copied = 0;
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x)
            copied += pixel(b, x, y) == 0x123456u;
    EXPECT_EQ(copied, 16);
    EXPECT_EQ(pixel(b, 1, 2), 0u);

    // A 2 x 3 source repeats in blocks along both directions.
    PixelBuffer tile;
    tile.allocate(2, 3, PixelFormat::rgb32(), 0, 0);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 2; ++x)
            storePixel(tile.pixelAt(x, y), 4, uint32_t(10 * y + x + 1));
    b.fillAll(0);
    b.composite(tile, 0, 0, -1, -1, 0);
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x)
            EXPECT_EQ(pixel(b, x, y), uint32_t(10 * (y % 3) + x % 2 + 1));

    // Clipped: the source starts at the clipped corner.
    b.fillAll(0);
    b.composite(tile, -1, -1, 3, 3, 0);
    EXPECT_EQ(pixel(b, 0, 0), 1u);
    EXPECT_EQ(pixel(b, 1, 1), 12u);
    EXPECT_EQ(pixel(b, 2, 0), 0u);

    // Differing pixel sizes, empty sources and unknown modes draw nothing.
    PixelBuffer grey;
    grey.allocate(2, 2, PixelFormat::grey(), 0, 0x77);
    b.fillAll(0);
    b.composite(grey, 0, 0, 2, 2, 0);
    b.composite(PixelBuffer(), 0, 0, 2, 2, 263);
    b.composite(source, 0, 0, 2, 2, 5);
    b.composite(source, 0, 0, 2, 2, 264);
    EXPECT_EQ(pixel(b, 0, 0), 0u);
}

TEST(PixelBuffer, CompositeModesBlendWithGlobalAlpha) {
    PixelBuffer preview;
    preview.allocate(2, 1, PixelFormat::argb32(), 0, 0);
    storePixel(preview.pixelAt(0, 0), 4, 0xFF000000u);  // opaque black
    storePixel(preview.pixelAt(1, 0), 4, 0x00000000u);  // transparent
    PixelBuffer image;
    image.allocate(2, 1, PixelFormat::rgb32(), 0, 0xFFFFFF);
    image.composite(preview, 0, 0, -1, -1, 263);
    EXPECT_EQ(pixel(image, 0, 0), 0x010101u);  // 255 + ((65025 x -255) >> 16) = 1
    EXPECT_EQ(pixel(image, 1, 0), 0xFFFFFFu);

    // Mode 231 (alpha 223) of a grey-127 faded pixel over white.
    PixelBuffer faded;
    faded.allocate(1, 1, PixelFormat::argb32(), 0, 0xFF7F7F7Fu);
    image.fillAll(0xFFFFFF);
    image.composite(faded, 0, 0, 1, 1, 231);
    const int expected = 255 + ((255 * 223 * (127 - 255)) >> 16);
    EXPECT_EQ(pixel(image, 0, 0), uint32_t(expected * 0x010101));

    // ARGB onto ARGB: every byte moves by g.
    PixelBuffer argb;
    argb.allocate(1, 1, PixelFormat::argb32(), 0, 0);
    argb.composite(faded, 0, 0, 1, 1, 8 + 128);
    EXPECT_EQ(pixel(argb, 0, 0), 0x7F3F3F3Fu);

    // An RGB source blends with the destination's routine and alpha g.
    PixelBuffer rgb;
    rgb.allocate(1, 1, PixelFormat::rgb32(), 0, 0);
    image.fillAll(0xFFFFFF);
    image.composite(rgb, 0, 0, 1, 1, 8 + 31);
    EXPECT_EQ(pixel(image, 0, 0), 0xE0E0E0u);

    // Grey onto grey.
    PixelBuffer g1, g2;
    g1.allocate(1, 1, PixelFormat::grey(), 0, 200);
    g2.allocate(1, 1, PixelFormat::grey(), 0, 100);
    g2.composite(g1, 0, 0, 1, 1, 8 + 128);
    EXPECT_EQ(pixel(g2, 0, 0), uint32_t(100 + ((100 * 128) >> 8)));
}

TEST(PixelBuffer, CompositeOfArgbOntoRgbIsTheChannelFormulaForEveryPixel) {
    // Every combination class: random sources and destinations, odd widths
    // so that both the wide and the pixel-by-pixel paths run.
    uint64_t state = 99;
    auto next = [&] {
        state = state * 6364136223846793005ull + 1442695040888963407ull;
        return uint32_t(state >> 32);
    };
    for (int g : {0, 1, 128, 223, 255}) {
        PixelBuffer source, image;
        source.allocate(37, 5, PixelFormat::argb32(), 0, 0);
        image.allocate(37, 5, PixelFormat::rgb32(), 0, 0);
        for (int y = 0; y < 5; ++y)
            for (int x = 0; x < 37; ++x) {
                storePixel(source.pixelAt(x, y), 4, next());
                storePixel(image.pixelAt(x, y), 4, next());
            }
        std::vector<uint32_t> expected;
        for (int y = 0; y < 5; ++y)
            for (int x = 0; x < 37; ++x) {
                const uint32_t s = pixel(source, x, y), d = pixel(image, x, y);
                const int c = int(s >> 24) * g;
                uint32_t out = d & 0xFF000000u;
                for (int k = 0; k < 3; ++k) {
                    const int sc = int((s >> (8 * k)) & 0xFF), dc = int((d >> (8 * k)) & 0xFF);
                    out |= uint32_t(uint8_t(dc + ((c * (sc - dc)) >> 16))) << (8 * k);
                }
                expected.push_back(out);
            }
        image.composite(source, 0, 0, -1, -1, 8 + g);
        for (int y = 0; y < 5; ++y)
            for (int x = 0; x < 37; ++x)
                ASSERT_EQ(pixel(image, x, y), expected[size_t(y * 37 + x)])
                    << g << " " << x << "," << y;
    }
}

}  // namespace
}  // namespace penwick
