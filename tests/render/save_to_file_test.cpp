#include "render/save_to_file.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "model/sketch_file.h"
#include "tests/support/gzip.h"
#include "tests/support/temp_folder.h"

using namespace penwick;
using penwick::testing::gunzip;
using penwick::testing::isGzip;

namespace {

const ClientRect kClient{0, 0, 320, 200};

Sketch smallSketch() {
    Sketch sketch;
    sketch.setWindowFit(320, 200);
    sketch.current.colour = 0x336699;
    sketch.current.fillColour = 0xFFCC00;
    for (int i = 0; i < 5; ++i)
        sketch.addSample(50 + 40 * i, 60 + 10 * (i % 2), 3);
    sketch.commitCurrent(-1);
    sketch.addSample(20, 20, 2);  // the shape being drawn is saved too
    return sketch;
}

std::string text(const std::vector<unsigned char>& bytes) {
    return std::string(bytes.begin(), bytes.end());
}

}  // namespace

TEST(SaveToFile, ExtensionChoosesTheFormatWithoutRegardToCase) {
    EXPECT_EQ(saveFormatOf("a.svg"), SaveFormat::Svg);
    EXPECT_EQ(saveFormatOf("/x/Picture.SVG"), SaveFormat::Svg);
    EXPECT_EQ(saveFormatOf("b.svgz"), SaveFormat::CompressedSvg);
    EXPECT_EQ(saveFormatOf("b.Svgz"), SaveFormat::CompressedSvg);
    EXPECT_EQ(saveFormatOf("page.wnk"), SaveFormat::Sketch);
    EXPECT_EQ(saveFormatOf("svg"), SaveFormat::Sketch);  // no dot, no extension
    EXPECT_EQ(saveFormatOf("noext"), SaveFormat::Sketch);
    EXPECT_EQ(saveFormatOf("x.svg.bak"), SaveFormat::Sketch);
    EXPECT_EQ(saveFormatOf("x.svgzz"), SaveFormat::Sketch);
    EXPECT_EQ(saveFormatOf("x.sv"), SaveFormat::Sketch);
    EXPECT_EQ(saveFormatOf("folder.svg/page"), SaveFormat::Sketch);
    EXPECT_EQ(saveFormatOf("ends-with-dot."), SaveFormat::Sketch);
}

TEST(SaveToFile, WritesSvgCompressedSvgOrSketchFileByName) {
    TempFolder folder;
    const Sketch sketch = smallSketch();
    const std::string svg = svgText(sketch, kClient);
    ASSERT_NE(svg.find("<path"), std::string::npos);

    {
        const std::string path = folder.file("plain.SVG");
        ASSERT_TRUE(saveToFile(path, sketch, kClient));
        EXPECT_EQ(text(readFileBytes(path)), svg);
    }
    {
        const std::string path = folder.file("packed.Svgz");
        ASSERT_TRUE(saveToFile(path, sketch, kClient));
        EXPECT_TRUE(isGzip(readFileBytes(path)));
        EXPECT_EQ(gunzip(path), svg);
    }
    for (const char* name : {"page.wnk", "no-extension", "picture.png", "odd.svg.txt"}) {
        SCOPED_TRACE(name);
        const std::string path = folder.file(name);
        ASSERT_TRUE(saveToFile(path, sketch, kClient));
        const auto bytes = readFileBytes(path);
        EXPECT_TRUE(isGzip(bytes));
        Sketch loaded;
        ASSERT_TRUE(loadSketchFile(path, loaded));
        EXPECT_EQ(loaded.shapes.count(), 1);
        EXPECT_EQ(loaded.current.groups.count(), 1);
        EXPECT_EQ(loaded.shapes[0].colour, 0x336699);
        // Loaded and seen through the same window, it exports the same SVG.
        loaded.setWindowFit(320, 200);
        EXPECT_EQ(svgText(loaded, kClient), svg);
    }
    // Nothing but the saved files is left behind.
    EXPECT_EQ(folder.names(),
              (std::vector<std::string>{"no-extension", "odd.svg.txt", "packed.Svgz", "page.wnk",
                                        "picture.png", "plain.SVG"}));
}

TEST(SaveToFile, FailureAtAnyStepKeepsTheOldFileAndSaysWhy) {
    TempFolder folder;
    const Sketch sketch = smallSketch();
    const std::vector<unsigned char> old = {'o', 'l', 'd'};
    for (const char* name : {"a.svg", "b.svgz", "c.wnk"}) {
        const std::string path = folder.file(name);
        writeFileBytes(path, old);

        // Count the file operations of a successful save, then fail each one.
        FailingFileSystem counting(0, FailingFileSystem::Mode::Once);
        ASSERT_TRUE(saveToFile(path, sketch, kClient, counting)) << name;
        const int64_t operations = counting.operationCount();
        ASSERT_GE(operations, 5) << name;
        writeFileBytes(path, old);

        for (int64_t failAt = 1; failAt <= operations; ++failAt) {
            SCOPED_TRACE(std::string(name) + " failing operation " + std::to_string(failAt));
            FailingFileSystem failing(failAt, FailingFileSystem::Mode::Persistent);
            const SaveResult result = saveToFile(path, sketch, kClient, failing);
            ASSERT_FALSE(result);
            EXPECT_NE(result.error.find(path), std::string::npos) << result.error;
            // A failed folder flush comes after the rename: the new file is
            // complete then, and the result still reports the failure.
            if (failAt < operations) {
                EXPECT_EQ(readFileBytes(path), old);
            }
        }
    }
    EXPECT_EQ(folder.names(), (std::vector<std::string>{"a.svg", "b.svgz", "c.wnk"}));

    // A folder that does not exist.
    EXPECT_FALSE(saveToFile(folder.file("missing/d.svg"), sketch, kClient));
    EXPECT_FALSE(saveToFile("", sketch, kClient));
}
