// Exported files checked by the programs they are meant for: an XML parser
// (xmllint), an SVG renderer (rsvg-convert) and gzip.

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <string>
#include <vector>

#include "model/sketch_file.h"
#include "png_read.h"
#include "render/save_to_file.h"
#include "tests/support/temp_folder.h"
#include "tool_runner.h"
#include "tools/example_sketches.h"

using namespace penwick;

namespace {

const std::string kTool = PENWICK_BINARY_DIR "/tools/penwick-export";
constexpr int kWidth = 1024;
constexpr int kHeight = 768;

// Renderer and our rasterizer differ only along anti-aliased edges: the mean
// absolute difference over all channels of all pixels (0 ... 255) must stay
// below this, and hardly any channel may differ by more than a quarter.
constexpr double kMaxMeanDifference = 0.5;
constexpr double kMaxShareOfLargeDifferences = 1e-4;
constexpr int kLargeDifference = 64;

bool hasProgram(const std::string& name) {
    return std::system(("command -v " + name + " >/dev/null 2>&1").c_str()) == 0;
}

struct SavedSketch {
    std::string path;
    // Whether every stroke is at least 2 pixels wide, so that the renderer's
    // anti-aliasing and ours differ only at the edges.
    bool wideStrokes = true;
};

// Every example, an empty sketch and a busy one with hair-thin strokes, as
// page files.
std::vector<SavedSketch> savedSketches(const TempFolder& folder) {
    std::vector<SavedSketch> saved;
    for (const ExampleSketch& e : exampleSketches()) {
        saved.push_back({folder.file(e.name)});
        EXPECT_TRUE(saveSketchFile(saved.back().path, e.sketch));
    }
    saved.push_back({folder.file("empty.wnk")});
    EXPECT_TRUE(saveSketchFile(saved.back().path, Sketch{}));
    saved.push_back({folder.file("busy.wnk"), false});
    EXPECT_TRUE(saveSketchFile(saved.back().path, syntheticSketch(200, 30, kWidth, kHeight, 7)));
    return saved;
}

std::string stem(const std::string& path) {
    const size_t slash = path.rfind('/');
    const size_t dot = path.rfind('.');
    return path.substr(slash + 1, dot - slash - 1);
}

}  // namespace

TEST(ExportConsumers, SvgIsWellFormedXmlForARealParser) {
    ASSERT_TRUE(hasProgram("xmllint")) << "xmllint (libxml2-utils) is needed";
    TempFolder folder;
    for (const auto& [input, wideStrokes] : savedSketches(folder)) {
        SCOPED_TRACE(input);
        const std::string svg = folder.file(stem(input) + ".svg");
        ASSERT_EQ(runProgram(kTool, {input, svg}, folder.path().string()).status, 0);
        // --nonet: the document type's system identifier is never fetched.
        const RunResult lint =
            runProgram("xmllint", {"--noout", "--nonet", svg}, folder.path().string());
        EXPECT_EQ(lint.status, 0) << lint.err;
        EXPECT_EQ(lint.err, "");
    }
}

TEST(ExportConsumers, CompressedSvgIsAGzipStreamOfThePlainSvg) {
    ASSERT_TRUE(hasProgram("gzip")) << "gzip is needed";
    TempFolder folder;
    for (const auto& [input, wideStrokes] : savedSketches(folder)) {
        SCOPED_TRACE(input);
        const std::string svg = folder.file(stem(input) + ".svg");
        const std::string svgz = folder.file(stem(input) + ".svgz");
        ASSERT_EQ(runProgram(kTool, {input, svg}, folder.path().string()).status, 0);
        ASSERT_EQ(runProgram(kTool, {input, svgz}, folder.path().string()).status, 0);
        const RunResult test = runProgram("gzip", {"-t", svgz}, folder.path().string());
        EXPECT_EQ(test.status, 0) << test.err;
        const RunResult unpacked = runProgram("gzip", {"-dc", svgz}, folder.path().string());
        EXPECT_EQ(unpacked.status, 0) << unpacked.err;
        EXPECT_EQ(unpacked.out, readFileText(svg));
    }
}

TEST(ExportConsumers, SvgRendererDrawsWhatOurRasterizerDraws) {
    ASSERT_TRUE(hasProgram("rsvg-convert")) << "rsvg-convert (librsvg2-bin) is needed";
    TempFolder folder;
    for (const auto& [input, wideStrokes] : savedSketches(folder)) {
        SCOPED_TRACE(input);
        const std::string svg = folder.file(stem(input) + ".svg");
        const std::string ours = folder.file(stem(input) + ".png");
        const std::string theirs = folder.file(stem(input) + "-rsvg.png");
        ASSERT_EQ(runProgram(kTool, {input, svg}, folder.path().string()).status, 0);
        ASSERT_EQ(runProgram(kTool, {input, ours}, folder.path().string()).status, 0);
        // The view box is in eighths of a pixel; the renderer scales it to
        // the window's size.
        const RunResult render = runProgram(
            "rsvg-convert",
            {"-w", std::to_string(kWidth), "-h", std::to_string(kHeight), svg, "-o", theirs},
            folder.path().string());
        ASSERT_EQ(render.status, 0) << render.err;

        RgbImage a;
        RgbImage b;
        ASSERT_TRUE(readPng(ours, a));
        ASSERT_TRUE(readPng(theirs, b));
        ASSERT_EQ(a.width, b.width);
        ASSERT_EQ(a.height, b.height);
        if (!wideStrokes) continue;
        double sum = 0;
        size_t large = 0;
        for (size_t i = 0; i < a.rgb.size(); ++i) {
            const int d = std::abs(int(a.rgb[i]) - int(b.rgb[i]));
            sum += d;
            large += d > kLargeDifference;
        }
        const double mean = sum / double(a.rgb.size());
        const double share = double(large) / double(a.rgb.size());
        EXPECT_LT(mean, kMaxMeanDifference);
        EXPECT_LT(share, kMaxShareOfLargeDifferences);
        std::printf("%s: mean absolute channel difference %.4f, share above %d: %.6f\n",
                    stem(input).c_str(), mean, kLargeDifference, share);
    }
}
