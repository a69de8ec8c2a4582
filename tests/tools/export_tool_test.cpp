// penwick-export, run as the real program on real files.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "model/file_stream.h"
#include "model/gz_stream.h"
#include "model/memory_stream.h"
#include "model/sketch_file.h"
#include "png_read.h"
#include "render/save_to_file.h"
#include "render/sketch_drawing.h"
#include "tests/support/gzip.h"
#include "tests/support/temp_folder.h"
#include "tool_runner.h"
#include "tools/example_sketches.h"

using namespace penwick;
using penwick::testing::gunzip;

namespace {

const std::string kTool = PENWICK_BINARY_DIR "/tools/penwick-export";
const std::string kUsage =
    "usage: penwick-export [--size WIDTHxHEIGHT | --thumbnail SIZE] INPUT OUTPUT\n";

RunResult exportTool(const std::vector<std::string>& args, const TempFolder& folder) {
    return runProgram(kTool, args, folder.path().string());
}

Sketch example(const std::string& name) {
    for (ExampleSketch& e : exampleSketches())
        if (e.name == name) return std::move(e.sketch);
    ADD_FAILURE() << "no example " << name;
    return {};
}

// The file a person would have: the flower, saved as a page.
std::string savedFlower(const TempFolder& folder) {
    const std::string path = folder.file("flower.wnk");
    EXPECT_TRUE(saveSketchFile(path, example("flower.wnk")));
    return path;
}

// The sketch as the tool sees it: read back and fitted to the window.
Sketch loadedAndFitted(const std::string& path, int width, int height) {
    Sketch sketch;
    EXPECT_TRUE(loadSketchFile(path, sketch));
    sketch.setWindowFit(width, height);
    return sketch;
}

}  // namespace

TEST(ExportTool, HelpExplainsEverything) {
    TempFolder folder;
    const RunResult r = exportTool({"--help"}, folder);
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out.rfind(kUsage, 0), 0u) << r.out;
    for (const char* word :
         {"--size", "--thumbnail", "1024x768", ".svgz", ".png", "sketch file", "Exit status"})
        EXPECT_NE(r.out.find(word), std::string::npos) << word;
    EXPECT_EQ(r.err, "");
}

TEST(ExportTool, BadArgumentsGiveTheUsageAndStatus2) {
    TempFolder folder;
    const std::string in = savedFlower(folder);
    const std::string out = folder.file("out.svg");
    const std::vector<std::vector<std::string>> bad = {
        {},
        {in},
        {in, out, folder.file("third.svg")},
        {"--size", "0x10", in, out},
        {"--size", "640", in, out},
        {"--size", "abcx10", in, out},
        {"--size", "-5x10", in, out},
        {"--size", "8193x10", in, out},
        {"--size=640x", in, out},
        {"--bogus", in, out},
        {in, out, "--size"},
        {"", out},
        {"--thumbnail", "0", in, out},
        {"--thumbnail", "64x64", in, out},
        {"--thumbnail=", in, out},
        {"--size", "64x64", "--thumbnail", "64", in, out},
        {in, out, "--thumbnail"},
    };
    for (const auto& args : bad) {
        std::string shown;
        for (const auto& a : args)
            shown += "[" + a + "] ";
        SCOPED_TRACE(shown);
        const RunResult r = exportTool(args, folder);
        EXPECT_EQ(r.status, 2);
        ASSERT_GE(r.err.size(), kUsage.size());
        EXPECT_EQ(r.err.substr(r.err.size() - kUsage.size()), kUsage);
        EXPECT_EQ(r.err.rfind("penwick-export: ", 0), 0u) << r.err;
        EXPECT_FALSE(std::filesystem::exists(out));
    }
}

TEST(ExportTool, UnreadableInputSaysWhyAndCreatesNothing) {
    TempFolder folder;
    const std::string good = savedFlower(folder);
    const std::string whole = gunzip(good);
    ASSERT_GT(whole.size(), 100u);

    auto writeRaw = [&](const std::string& name, const std::string& bytes) {
        const std::string path = folder.file(name);
        writeFileBytes(path, std::vector<unsigned char>(bytes.begin(), bytes.end()));
        return path;
    };
    std::string unknownVersion = whole;
    unknownVersion[0] = char(0xE7);  // 999
    unknownVersion[1] = char(0x03);
    std::string hugeCount = whole;
    for (int i = 8; i < 12; ++i)
        hugeCount[size_t(i)] = char(0x7F);  // shape count

    const std::vector<std::string> inputs = {
        folder.file("missing.wnk"),
        folder.path().string(),  // a folder
        writeRaw("truncated.wnk", whole.substr(0, whole.size() / 2)),
        writeRaw("cut-gzip.wnk",
                 readFileText(good).substr(0, readFileText(good).size() - 10)),  // trailer missing
        writeRaw("version.wnk", unknownVersion),
        writeRaw("count.wnk", hugeCount),
        writeRaw("noise.wnk", std::string(300, '\x5A')),
    };
    const std::string keep = folder.file("keep.svg");
    writeFileBytes(keep, {'o', 'l', 'd'});
    for (const std::string& input : inputs) {
        SCOPED_TRACE(input);
        for (const char* output : {"out.svg", "out.png", "out.wnk", "keep.svg"}) {
            const RunResult r = exportTool({input, folder.file(output)}, folder);
            EXPECT_EQ(r.status, 1);
            EXPECT_EQ(lineCount(r.err), 1) << r.err;
            EXPECT_EQ(r.err.rfind("penwick-export: " + input + ": ", 0), 0u) << r.err;
            EXPECT_GT(r.err.size(), ("penwick-export: " + input + ": \n").size()) << r.err;
        }
        EXPECT_FALSE(std::filesystem::exists(folder.file("out.svg")));
        EXPECT_FALSE(std::filesystem::exists(folder.file("out.png")));
        EXPECT_FALSE(std::filesystem::exists(folder.file("out.wnk")));
        EXPECT_EQ(readFileText(keep), "old");
    }
}

TEST(ExportTool, OutputFormatFollowsTheExtension) {
    TempFolder folder;
    const std::string in = savedFlower(folder);
    const Sketch fitted = loadedAndFitted(in, 1024, 768);
    const std::string svg = svgText(fitted, ClientRect{0, 0, 1024, 768});

    for (const char* name : {"a.svg", "b.SVG"}) {
        ASSERT_EQ(exportTool({in, folder.file(name)}, folder).status, 0) << name;
        EXPECT_EQ(readFileText(folder.file(name)), svg) << name;
    }
    for (const char* name : {"c.svgz", "d.Svgz"}) {
        ASSERT_EQ(exportTool({in, folder.file(name)}, folder).status, 0) << name;
        EXPECT_EQ(gunzip(folder.file(name)), svg) << name;
    }
    for (const char* name : {"e.wnk", "no-extension", "f.jpeg"}) {
        SCOPED_TRACE(name);
        ASSERT_EQ(exportTool({in, folder.file(name)}, folder).status, 0);
        // A sketch file of the current version holding the same drawing.
        const std::string bytes = gunzip(folder.file(name));
        ASSERT_GE(bytes.size(), 8u);
        EXPECT_EQ(bytes.substr(0, 8), std::string("\x6B\0\0\0\x01\0\0\0", 8));
        EXPECT_EQ(
            svgText(loadedAndFitted(folder.file(name), 1024, 768), ClientRect{0, 0, 1024, 768}),
            svg);
    }
    {
        // The picture our own drawing makes, pixel for pixel.
        ASSERT_EQ(exportTool({in, folder.file("g.PNG")}, folder).status, 0);
        RgbImage png;
        ASSERT_TRUE(readPng(folder.file("g.PNG"), png));
        ASSERT_EQ(png.width, 1024);
        ASSERT_EQ(png.height, 768);
        PixelBuffer picture;
        ASSERT_TRUE(drawSketchPicture(fitted, 1024, 768, picture));
        int mismatches = 0;
        for (int y = 0; y < 768; ++y)
            for (int x = 0; x < 1024; ++x) {
                const uint8_t* p = picture.pixelAt(x, y);
                const uint8_t* q = &png.rgb[(size_t(y) * 1024 + size_t(x)) * 3];
                mismatches += p[2] != q[0] || p[1] != q[1] || p[0] != q[2];
            }
        EXPECT_EQ(mismatches, 0);
    }
    EXPECT_EQ(folder.names(),
              (std::vector<std::string>{"a.svg", "b.SVG", "c.svgz", "d.Svgz", "e.wnk", "f.jpeg",
                                        "flower.wnk", "g.PNG", "no-extension"}));
}

TEST(ExportTool, SizeFitsTheViewAndReadsAnyInputVersion) {
    TempFolder folder;
    const Sketch flower = example("flower.wnk");

    // An uncompressed sketch file is read as well as a compressed one.
    const std::string plain = folder.file("plain.wnk");
    {
        FileStream out;
        ASSERT_TRUE(out.open(plain.c_str(), "wb"));
        writeSketch(out, flower);
    }
    for (const std::vector<std::string>& size : {std::vector<std::string>{"--size", "300x200"},
                                                 std::vector<std::string>{"--size=300x200"}}) {
        std::vector<std::string> args = size;
        args.push_back(plain);
        args.push_back(folder.file("small.svg"));
        ASSERT_EQ(exportTool(args, folder).status, 0);
        const std::string svg = readFileText(folder.file("small.svg"));
        EXPECT_NE(svg.find("viewBox='0 0 2400 1600' "), std::string::npos);
        EXPECT_EQ(svg, svgText(loadedAndFitted(plain, 300, 200), ClientRect{0, 0, 300, 200}));
    }
    ASSERT_EQ(exportTool({"--size", "300x200", plain, folder.file("small.png")}, folder).status, 0);
    RgbImage png;
    ASSERT_TRUE(readPng(folder.file("small.png"), png));
    EXPECT_EQ(png.width, 300);
    EXPECT_EQ(png.height, 200);

    // A version 105 file: old strokes with their colours.
    const std::string old = folder.file("old.wnk");
    {
        GzStream out;
        ASSERT_TRUE(out.open(old.c_str(), "wb"));
        out.writeInt32(105);
        out.writeInt32(1);  // one old stroke
        out.writeInt32(0x0000FF);
        out.writeInt32(-1);
        out.writeInt32(2);
        const float points[] = {-0.5f, 0, 0.05f, 0.5f, 0, 0.05f};
        out.writeBlock(points, sizeof points);
        out.writeInt32(0);  // colour, fill and points of the unfinished stroke
        out.writeInt32(-1);
        out.writeInt32(0);
        for (int t = 0; t < 3; ++t) {
            const Transform3D identity;
            out.writeBlock(&identity, sizeof identity);
        }
        out.writeInt32(0xFFFFFF);
        ASSERT_TRUE(out.close());
    }
    ASSERT_EQ(exportTool({old, folder.file("old.png")}, folder).status, 0);
    ASSERT_TRUE(readPng(folder.file("old.png"), png));
    // The stroke runs through the window centre in blue.
    const uint8_t* centre = &png.rgb[(size_t(384) * 1024 + 512) * 3];
    EXPECT_EQ(centre[0], 0);
    EXPECT_EQ(centre[1], 0);
    EXPECT_EQ(centre[2], 255);
}

TEST(ExportTool, NamesStartingWithADashFollowTheEndOfOptions) {
    TempFolder folder;
    const std::string in = savedFlower(folder);
    std::filesystem::rename(in, folder.file("-flower.wnk"));
    // Relative names, run from inside the folder.
    const std::string command = "cd " + shellQuoted(folder.path().string()) + " && " +
                                shellQuoted(kTool) + " -- -flower.wnk -out.svg 2>/dev/null";
    EXPECT_EQ(std::system(command.c_str()), 0);
    EXPECT_TRUE(std::filesystem::exists(folder.file("-out.svg")));
    const RunResult r = exportTool({"-flower.wnk", "-out.svg"}, folder);
    EXPECT_EQ(r.status, 2);  // without "--" they are options
}

TEST(ExportTool, UnwritableOutputFailsWithStatus1) {
    TempFolder folder;
    const std::string in = savedFlower(folder);
    for (const char* name : {"missing/out.svg", "missing/out.png", "missing/out.wnk"}) {
        const RunResult r = exportTool({in, folder.file(name)}, folder);
        EXPECT_EQ(r.status, 1) << name;
        EXPECT_EQ(lineCount(r.err), 1) << r.err;
        EXPECT_NE(r.err.find(folder.file(name)), std::string::npos) << r.err;
    }
}

TEST(ExportTool, CommittedExamplesAreTheGeneratorsOwn) {
    // examples/ must be regenerated (penwick-make-examples examples) when
    // the generator changes.
    for (const ExampleSketch& e : exampleSketches()) {
        SCOPED_TRACE(e.name);
        MemoryStream expected;
        writeSketch(expected, e.sketch);
        const std::string committed = gunzip(PENWICK_SOURCE_DIR "/examples/" + e.name);
        EXPECT_EQ(committed, std::string(reinterpret_cast<const char*>(expected.data()),
                                         size_t(expected.size())));
    }
}

TEST(ExportTool, AbsurdGeometryExportsWithoutHarm) {
    // Points far outside the window, enormous radii and a view zoomed beyond
    // reason: every output is still written, in bounded time.
    TempFolder folder;
    Sketch sketch;
    Shape s;
    s.fillColour = 0x00FF00;
    StrokeGroup g;
    Stroke st;
    st.points.append({-1e30f, 0, 1});
    st.points.append({0, 1e30f, 1e30f});
    st.points.append({1e-30f, -1e-30f, 0});
    st.points.append({3e38f, -3e38f, 3e38f});
    g.strokes.append(st);
    s.groups.append(g);
    sketch.shapes.append(s);
    sketch.shapes.append(example("waves.wnk").shapes[0]);
    Transform3D zoom;
    zoom.thenScale(1e12);
    sketch.setPageTransform(zoom);
    const std::string in = folder.file("absurd.wnk");
    ASSERT_TRUE(saveSketchFile(in, sketch));
    for (const char* name : {"absurd.svg", "absurd.png", "absurd.svgz"}) {
        const RunResult r = exportTool({in, folder.file(name)}, folder);
        EXPECT_EQ(r.status, 0) << name << ": " << r.err;
    }
    const std::string svg = readFileText(folder.file("absurd.svg"));
    EXPECT_EQ(svg.substr(svg.size() - 6), "</svg>");
}

namespace {

// Where a picture differs from its paper colour (top-left pixel): the
// bounds of those pixels, or an empty box when there are none.
struct InkBox {
    int left = 1 << 30, top = 1 << 30, right = -1, bottom = -1;
};

InkBox inkBox(const RgbImage& png) {
    InkBox box;
    const uint8_t* paper = png.rgb.data();
    for (int y = 0; y < png.height; ++y)
        for (int x = 0; x < png.width; ++x) {
            const uint8_t* p = &png.rgb[(size_t(y) * png.width + x) * 3];
            if (std::memcmp(p, paper, 3) == 0) continue;
            box.left = std::min(box.left, x);
            box.top = std::min(box.top, y);
            box.right = std::max(box.right, x);
            box.bottom = std::max(box.bottom, y);
        }
    return box;
}

}  // namespace

TEST(ExportTool, ThumbnailFitsTheWholeDrawingIntoASquarePng) {
    TempFolder folder;
    // The flower panned far out of its saved view, and shown selected: the
    // window would show nothing of it, the thumbnail shows all of it.
    Sketch flower = example("flower.wnk");
    Transform3D away = flower.pageTransform();
    away.thenTranslate({5000, -3000, 0});
    flower.setPageTransform(away);
    flower.selectAll(true);
    const std::string in = folder.file("away.wnk");
    ASSERT_TRUE(saveSketchFile(in, flower));

    RgbImage png;
    ASSERT_EQ(exportTool({in, folder.file("window.png")}, folder).status, 0);
    ASSERT_TRUE(readPng(folder.file("window.png"), png));
    EXPECT_EQ(inkBox(png).right, -1) << "nothing in the window";

    for (int side : {256, 48}) {
        SCOPED_TRACE(side);
        // The desktop names the output as it likes; it is a PNG all the same.
        const std::string out = folder.file("thumbnail-" + std::to_string(side));
        const RunResult r = exportTool({"--thumbnail", std::to_string(side), in, out}, folder);
        ASSERT_EQ(r.status, 0) << r.err;
        ASSERT_TRUE(readPng(out, png));
        EXPECT_EQ(png.width, side);
        EXPECT_EQ(png.height, side);
        // Inside the margin, centred, and as large as the square allows
        // along the drawing's longer side (a line's half width aside).
        const InkBox ink = inkBox(png);
        const int margin = std::max(2, side / 16);
        EXPECT_GE(ink.left, margin - 3);
        EXPECT_GE(ink.top, margin - 3);
        EXPECT_LE(ink.right, side - margin + 2);
        EXPECT_LE(ink.bottom, side - margin + 2);
        const int longer = std::max(ink.right - ink.left, ink.bottom - ink.top) + 1;
        EXPECT_GE(longer, side - 2 * margin - 4);
        EXPECT_NEAR(ink.left + ink.right, side - 1, 3);
        EXPECT_NEAR(ink.top + ink.bottom, side - 1, 3);
    }
    // A damaged page gives no thumbnail.
    std::string bytes = readFileText(in);
    bytes.resize(bytes.size() / 2);
    const std::string damaged = folder.file("damaged.wnk");
    writeFileBytes(damaged, std::vector<unsigned char>(bytes.begin(), bytes.end()));
    const RunResult r =
        exportTool({"--thumbnail", "128", damaged, folder.file("none.png")}, folder);
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("damaged.wnk"), std::string::npos) << r.err;
    EXPECT_FALSE(std::filesystem::exists(folder.file("none.png")));
}
