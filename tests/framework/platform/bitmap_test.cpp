#include "framework/platform/bitmap.h"

#include "host/host.h"
#include "host_fixture.h"

namespace penwick {
namespace {

using testing::HostFixture;
using BitmapTest = HostFixture;

std::uint32_t le32(const std::vector<std::uint8_t>& b, std::size_t at) {
    return std::uint32_t(b[at]) | std::uint32_t(b[at + 1]) << 8 | std::uint32_t(b[at + 2]) << 16 |
           std::uint32_t(b[at + 3]) << 24;
}

TEST_F(BitmapTest, SectionHeaderDescribesATopDownBitmap) {
    ktBitmap bitmap;
    ASSERT_TRUE(bitmap.create(5, 3, 32));
    std::vector<std::uint8_t> d = bitmap.description();
    ASSERT_EQ(d.size(), 40u + 1024u);
    EXPECT_EQ(le32(d, 0), 40u);
    EXPECT_EQ(le32(d, 4), 5u);
    EXPECT_EQ(std::int32_t(le32(d, 8)), -3);
    EXPECT_EQ(d[12] | d[13] << 8, 1);   // planes
    EXPECT_EQ(d[14] | d[15] << 8, 32);  // bits
    EXPECT_EQ(le32(d, 16), 0u);         // no compression
    EXPECT_EQ(le32(d, 20), 60u);        // stride 20 * 3 rows
    EXPECT_EQ(bitmap.stride(), 20);
}

TEST_F(BitmapTest, StrideRoundsEightBitRowsToFourBytes) {
    EXPECT_EQ(ktBitmap::strideFor(1, 8), 4);
    EXPECT_EQ(ktBitmap::strideFor(4, 8), 4);
    EXPECT_EQ(ktBitmap::strideFor(5, 8), 8);
    EXPECT_EQ(ktBitmap::strideFor(3, 32), 12);
    ktBitmap bitmap;
    ASSERT_TRUE(bitmap.create(0, 0, 8));  // degenerate sizes become 1 x 1
    EXPECT_EQ(bitmap.width(), 1);
    EXPECT_EQ(bitmap.height(), 1);
    EXPECT_EQ(bitmap.header().imageSize, 4u);
    EXPECT_FALSE(bitmap.create(10, 10, 24));
    EXPECT_FALSE(bitmap.create(100000, 100000, 32));  // beyond 2 GiB
    EXPECT_FALSE(bitmap.isValid());
}

TEST_F(BitmapTest, GreyColourTableAvoidsPureBlackAndWhite) {
    ktBitmap bitmap;
    ASSERT_TRUE(bitmap.create(2, 2, 8));
    const std::uint8_t* table = bitmap.colourTable();
    auto entry = [&](int i) { return std::vector<int>(table + 4 * i, table + 4 * i + 4); };
    EXPECT_EQ(entry(0), (std::vector<int>{1, 1, 1, 0}));  // 255 * 0.004 = 1.02
    EXPECT_EQ(entry(1), (std::vector<int>{1, 1, 1, 0}));
    EXPECT_EQ(entry(2), (std::vector<int>{2, 2, 2, 0}));
    EXPECT_EQ(entry(128), (std::vector<int>{128, 128, 128, 0}));
    EXPECT_EQ(entry(255), (std::vector<int>{253, 253, 253, 0}));  // 253.98
}

TEST_F(BitmapTest, ContextDrawsIntoThePixels) {
    ktBitmap bitmap;
    ASSERT_TRUE(bitmap.create(4, 2, 32));
    host::Brush red = host_.createSolidBrush(host::rgb(255, 0, 0));
    bitmap.dc()->selectBrush(red);
    bitmap.dc()->fillRect({1, 1, 3, 2});
    const std::uint8_t* px = bitmap.bits() + bitmap.stride() + 4;
    EXPECT_EQ(std::vector<int>(px, px + 8), (std::vector<int>{0, 0, 255, 0, 0, 0, 255, 0}));
    EXPECT_EQ(bitmap.bits()[0], 0);
}

TEST_F(BitmapTest, APixelBufferViewsThePixelsInPlace) {
    ktBitmap bitmap;
    EXPECT_TRUE(pixelBufferOf(bitmap).isEmpty());  // not made yet
    ASSERT_TRUE(bitmap.create(5, 3, 32));
    PixelBuffer pixels = pixelBufferOf(bitmap);
    EXPECT_EQ(pixels.width(), 5);
    EXPECT_EQ(pixels.height(), 3);
    EXPECT_EQ(pixels.stride(), bitmap.stride());
    EXPECT_TRUE(pixels.format() == PixelFormat::rgb32());
    EXPECT_FALSE(pixels.ownsMemory());
    pixels.fillRect(0x123456, 2, 1, 1, 1);
    const std::uint8_t* px = bitmap.bits() + bitmap.stride() + 8;
    EXPECT_EQ(std::vector<int>(px, px + 3), (std::vector<int>{0x56, 0x34, 0x12}));

    ktBitmap grey;
    ASSERT_TRUE(grey.create(6, 2, 8));
    PixelBuffer greyPixels = pixelBufferOf(grey);
    EXPECT_TRUE(greyPixels.format() == PixelFormat::grey());
    EXPECT_EQ(greyPixels.stride(), 8);  // 6 bytes rounded up to 4
    EXPECT_EQ(greyPixels.row(1), grey.bits() + grey.stride());
}

}  // namespace
}  // namespace penwick
