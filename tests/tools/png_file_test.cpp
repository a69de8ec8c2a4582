// The export's PNG encoding read back by libpng and by ImageMagick: the
// pixels are the picture's, the bytes do not depend on the thread count, and
// the file's size stays that of libpng's writing at the same compression.
#include "tools/png_file.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "png_read.h"
#include "render/band_workers.h"
#include "render/sketch_drawing.h"
#include "tests/support/temp_folder.h"
#include "tool_runner.h"
#include "tools/example_sketches.h"

using namespace penwick;

namespace {

// Noise, flat runs and repeated rows, so that every filter and match case of
// the compression is met.
PixelBuffer mixedPicture(int width, int height, unsigned seed) {
    PixelBuffer picture;
    picture.allocate(width, height, PixelFormat::rgb32(), 0, 0);
    std::mt19937 random(seed);
    for (int y = 0; y < height; ++y) {
        uint8_t* row = picture.row(y);
        if (y % 7 == 3 && y > 0) {
            std::copy(picture.row(y - 1), picture.row(y - 1) + width * 4, row);
            continue;
        }
        for (int x = 0; x < width; ++x) {
            const uint32_t v = (x / 9) % 3 == 0 ? 0xFFFFFFu : uint32_t(random());
            row[x * 4 + 0] = uint8_t(v);
            row[x * 4 + 1] = uint8_t(v >> 8);
            row[x * 4 + 2] = uint8_t(v >> 16);
            row[x * 4 + 3] = uint8_t(random());  // unused, must not matter
        }
    }
    return picture;
}

std::vector<uint8_t> rgbOf(const PixelBuffer& picture) {
    std::vector<uint8_t> rgb;
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x) {
            const uint8_t* p = picture.row(y) + x * 4;
            rgb.insert(rgb.end(), {p[2], p[1], p[0]});
        }
    return rgb;
}

}  // namespace

TEST(PngFile, PiecesEncodedOnAnyPoolReadBackAsThePicture) {
    TempFolder folder;
    BandWorkers one(1), two(2), three(3);
    std::vector<PixelBuffer> pictures;
    // One pixel; one row; exactly one piece; one row past a piece; a picture
    // ending in a short piece.
    for (const auto& [w, h] : {std::pair{1, 1}, {300, 1}, {17, 64}, {40, 65}, {123, 203}})
        pictures.push_back(mixedPicture(w, h, unsigned(w * h)));
    PixelBuffer drawing;
    ASSERT_TRUE(drawSketchPicture(syntheticSketch(300, 40, 640, 480, 3), 640, 480, drawing));
    pictures.push_back(std::move(drawing));

    for (size_t i = 0; i < pictures.size(); ++i) {
        const PixelBuffer& picture = pictures[i];
        SCOPED_TRACE(std::to_string(picture.width()) + " x " + std::to_string(picture.height()));
        const std::vector<unsigned char> bytes = encodePng(picture, one);
        ASSERT_FALSE(bytes.empty());
        EXPECT_EQ(encodePng(picture, two), bytes);
        EXPECT_EQ(encodePng(picture, three), bytes);

        const std::string file = folder.file("p" + std::to_string(i) + ".png");
        writeFileBytes(file, bytes);
        RgbImage read;
        ASSERT_TRUE(readPng(file, read));
        EXPECT_EQ(read.width, picture.width());
        EXPECT_EQ(read.height, picture.height());
        EXPECT_TRUE(read.rgb == rgbOf(picture));

        // ImageMagick checks every chunk's CRC and the stream's checksum,
        // and decodes the pixels on its own.
        const RunResult check = runProgram(
            "convert", {"-regard-warnings", file, "-depth", "8", "rgb:-"}, folder.path().string());
        EXPECT_EQ(check.status, 0) << check.err;
        EXPECT_TRUE(std::vector<uint8_t>(check.out.begin(), check.out.end()) == rgbOf(picture));

        // Cutting the stream into pieces (each ending its deflate block)
        // costs little against libpng's one stream at the same compression.
        const size_t single = encodePng(picture, exportCompression()).size();
        EXPECT_LE(bytes.size(), single + single / 100 + 64);
    }

    PixelBuffer grey;
    grey.allocate(4, 4, PixelFormat::grey(), 0, 0);
    EXPECT_TRUE(encodePng(grey, two).empty()) << "only 32-bit pictures are encoded";
    EXPECT_TRUE(encodePng(PixelBuffer(), two).empty());
}
