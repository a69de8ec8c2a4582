#include "render/pixel_format.h"

#include <gtest/gtest.h>

#include <array>

namespace penwick {
namespace {

TEST(PixelFormat, CodesGiveTheirLayouts) {
    EXPECT_EQ(PixelFormat::fromCode(0).bytesPerPixel, 1);
    EXPECT_EQ(PixelFormat::fromCode(1).bytesPerPixel, 3);
    EXPECT_EQ(PixelFormat::fromCode(3).bytesPerPixel, 4);
    EXPECT_EQ(PixelFormat::fromCode(3).channelCount, 3);
    EXPECT_EQ(PixelFormat::fromCode(4).channelCount, 4);
    EXPECT_EQ(PixelFormat::fromCode(4).channels[3].mask, 0xFF000000u);
    EXPECT_EQ(PixelFormat::fromCode(5).channels[0].mask, 0x7C00u);
    EXPECT_EQ(PixelFormat::fromCode(6).channels[0].mask, 0xFC00u);
    EXPECT_EQ(PixelFormat::fromCode(7).channels[0].shift, 11);
    EXPECT_EQ(PixelFormat::fromCode(8).channelCount, 2);
    // Unknown codes are taken as code 1.
    EXPECT_EQ(PixelFormat::fromCode(2).code, 1);
    EXPECT_EQ(PixelFormat::fromCode(99).bytesPerPixel, 3);
}

TEST(PixelFormat, ConvertsColoursPerCode) {
    const uint32_t colour = 0x80C86432;  // alpha 0x80, red 200, green 100, blue 50
    EXPECT_EQ(PixelFormat::fromCode(1).convert(colour), 0xC86432u);
    EXPECT_EQ(PixelFormat::fromCode(3).convert(colour), 0xC86432u);
    EXPECT_EQ(PixelFormat::fromCode(4).convert(colour), 0xFFC86432u);
    EXPECT_EQ(PixelFormat::fromCode(4).convert(colour, ColourSource::Argb), 0x80C86432u);
    EXPECT_EQ(PixelFormat::fromCode(5).convert(colour),
              uint32_t(((200 & 0xF8) << 7) | ((100 & 0xF8) << 2) | (50 >> 3)));
    EXPECT_EQ(PixelFormat::fromCode(7).convert(colour),
              uint32_t(((200 >> 3) << 11) | ((100 >> 2) << 5) | (50 >> 3)));
    EXPECT_EQ(PixelFormat::fromCode(0).convert(colour), uint32_t((200 + 2 * 100 + 50) >> 2));
}

TEST(PixelFormat, FillsRunsOfEveryPixelSize) {
    for (int code : {0, 1, 3, 5}) {
        const PixelFormat f = PixelFormat::fromCode(code);
        std::array<uint8_t, 64> bytes{};
        bytes.fill(0xEE);
        const uint32_t pixel = 0x11223344u & (f.bytesPerPixel == 4 ? 0xFFFFFFFFu : 0xFFFFFFu);
        uint8_t* end = f.fillRun(bytes.data(), 11, pixel);
        EXPECT_EQ(end, bytes.data() + 11 * f.bytesPerPixel) << code;
        for (int i = 0; i < 11; ++i)
            EXPECT_EQ(loadPixel(bytes.data() + i * f.bytesPerPixel, f.bytesPerPixel),
                      pixel & ((1ull << (8 * f.bytesPerPixel)) - 1))
                << code << " " << i;
        EXPECT_EQ(bytes[size_t(11 * f.bytesPerPixel)], 0xEE) << code;
    }
}

TEST(PixelFormat, RunsEqualPixelByPixelAtEveryLengthAndAlpha) {
    // The 32-bit runs go four pixels at a time with a remainder (long fills
    // eight at a time): every length up to several groups, every alpha,
    // bytes around left alone.
    for (int code : {1, 3, 4}) {
        const PixelFormat f = PixelFormat::fromCode(code);
        const int bpp = f.bytesPerPixel;
        for (int n = 0; n < 20; ++n) {
            for (int alpha = 0; alpha < 256; alpha += (alpha < 8 || alpha > 248) ? 1 : 13) {
                std::array<uint8_t, 24 * 4> run{}, single{};
                for (size_t i = 0; i < run.size(); ++i)
                    run[i] = single[i] = uint8_t(i * 37 + alpha + n);
                const uint32_t colour = 0xA0C86432u + uint32_t(alpha * 0x010203);
                f.blendRun(run.data() + bpp, n, colour, alpha);
                for (int i = 0; i < n; ++i)
                    f.blend(single.data() + bpp * (1 + i), colour, alpha);
                ASSERT_EQ(run, single) << "code " << code << " n " << n << " alpha " << alpha;
            }
        }
        // Fills also at the lengths that go 32 bytes at a time where the
        // processor can.
        for (int n = 0; n < 80; ++n) {
            std::array<uint8_t, 82 * 4> filled{};
            filled.fill(0xEE);
            f.fillRun(filled.data() + bpp, n, 0x11223344u);
            for (size_t i = 0; i < filled.size(); ++i) {
                const bool inside = i >= size_t(bpp) && i < size_t(bpp * (n + 1));
                const uint8_t expected =
                    inside ? uint8_t(0x11223344u >> (8 * ((i - bpp) % bpp))) : 0xEE;
                ASSERT_EQ(filled[i], expected) << "code " << code << " n " << n << " byte " << i;
            }
        }
    }
}

TEST(PixelFormat, BlendsWithArithmeticShifts) {
    // Code 3: d + ((s - d) * a >> 8); the shift rounds toward minus infinity.
    std::array<uint8_t, 4> p = {255, 255, 255, 77};
    PixelFormat::rgb32().blend(p.data(), 0x000000, 31);
    EXPECT_EQ(p[0], 224);
    EXPECT_EQ(p[1], 224);
    EXPECT_EQ(p[2], 224);
    EXPECT_EQ(p[3], 77);  // the fourth byte is untouched
    p = {0, 100, 200, 0};
    PixelFormat::rgb32().blend(p.data(), 0xFFFFFF, 255);
    EXPECT_EQ(p[0], 0 + ((255 * 255) >> 8));
    EXPECT_EQ(p[1], 100 + ((155 * 255) >> 8));
    EXPECT_EQ(p[2], 200 + ((55 * 255) >> 8));

    // Code 4: the destination alpha decides how much colour is taken.
    std::array<uint8_t, 4> q = {10, 20, 30, 0};  // transparent: the colour is taken fully
    PixelFormat::argb32().blend(q.data(), 0x00C86432, 64);
    EXPECT_EQ(q[0], 10 + (((50 - 10) * 255) >> 8));
    EXPECT_EQ(q[2], 30 + (((200 - 30) * 255) >> 8));
    EXPECT_EQ(q[3], (255 * 64) >> 8);
    q = {10, 20, 30, 200};
    PixelFormat::argb32().blend(q.data(), 0x00C86432, 64);
    const int c = ((200 * (64 - 255)) >> 8) + 255;
    EXPECT_EQ(q[0], 10 + (((50 - 10) * c) >> 8));
    EXPECT_EQ(q[1], 20 + (((100 - 20) * c) >> 8));
    EXPECT_EQ(q[3], (((255 - 200) * 64) >> 8) + 200);

    // Code 0: green weighs twice, with one more bit that is cleared.
    uint8_t g = 100;
    PixelFormat::grey().blend(&g, 0x00FF0000, 200);  // red 255
    EXPECT_EQ(g, (4 * 100 + ((((0 - 100) * 200) >> 7) & ~1) + (((255 - 100) * 200) >> 8) +
                  (((0 - 100) * 200) >> 8)) >>
                     2);

    // 16-bit formats expand, blend as code 3 and pack again.
    std::array<uint8_t, 2> h{};
    storePixel(h.data(), 2, PixelFormat::fromCode(7).convert(0xFFFFFF));
    PixelFormat::fromCode(7).blend(h.data(), 0x000000, 128);
    // 248 + (-248 * 128 >> 8) = 124 red/blue, 252 -> 126 green; packed 5-6-5.
    EXPECT_EQ(loadPixel(h.data(), 2),
              uint32_t(((124 >> 3) << 11) | ((126 >> 2) << 5) | (124 >> 3)));
    storePixel(h.data(), 2, 0);
    PixelFormat::fromCode(5).blend(h.data(), 0xFFFFFF, 255);
    EXPECT_EQ(loadPixel(h.data(), 2), PixelFormat::fromCode(5).convert(0xFEFEFE));
}

TEST(PixelFormat, CompositesArgbSources) {
    // Onto RGB: c = alpha x g; opaque black over white with g 255 gives 1, not 0.
    std::array<uint8_t, 4> d = {255, 255, 255, 9};
    PixelFormat::rgb32().compositeArgb(d.data(), 0xFF000000u, 255);
    EXPECT_EQ(d[0], 1);
    EXPECT_EQ(d[2], 1);
    EXPECT_EQ(d[3], 9);
    // Onto ARGB: every byte, alpha included, moves by g.
    d = {0, 0, 0, 0};
    PixelFormat::argb32().compositeArgb(d.data(), 0x80FF4020u, 128);
    EXPECT_EQ(d[0], (0x20 * 128) >> 8);
    EXPECT_EQ(d[2], (0xFF * 128) >> 8);
    EXPECT_EQ(d[3], (0x80 * 128) >> 8);
}

TEST(PixelFormat, ReadsColoursBack) {
    const std::array<uint8_t, 4> bgra = {1, 2, 3, 4};
    EXPECT_EQ(PixelFormat::argb32().colourOf(bgra.data()), 0x04030201u);
    EXPECT_EQ(PixelFormat::rgb32().colourOf(bgra.data()), 0xFF030201u);
    const uint8_t grey = 0x42;
    EXPECT_EQ(PixelFormat::grey().colourOf(&grey), 0xFF424242u);
}

}  // namespace
}  // namespace penwick
