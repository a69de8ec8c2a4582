// penwick-export given the hostile inputs and outputs a person may hand it
// (a FIFO, an empty file, devices, links to nothing, the longest names, a
// small file of millions of empty records): each is refused with one clear
// line and status 1, creates nothing and leaves an existing output alone.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <string>
#include <vector>

#include "fuzz/sketch_samples.h"
#include "model/sketch_file.h"
#include "tests/support/temp_folder.h"
#include "tool_runner.h"

using namespace penwick;
namespace fs = std::filesystem;

namespace {

const std::string kTool = PENWICK_BINARY_DIR "/tools/penwick-export";

// A hang would be a failure: the guard ends the tool after a minute.
RunResult exportTool(const std::vector<std::string>& args, const TempFolder& folder) {
    std::vector<std::string> guarded = {"60", kTool};
    guarded.insert(guarded.end(), args.begin(), args.end());
    return runProgram("timeout", guarded, folder.path().string());
}

void expectRefused(const RunResult& r, const std::string& name, const std::string& reason) {
    EXPECT_EQ(r.status, 1) << r.err;
    EXPECT_EQ(r.err, "penwick-export: " + name + reason + "\n");
}

}  // namespace

TEST(ExportHostile, InputsThatAreNoPagesAreRefusedBeforeReading) {
    TempFolder folder;
    ASSERT_EQ(::mkfifo(folder.file("fifo.wnk").c_str(), 0600), 0);
    writeFileBytes(folder.file("empty.wnk"), {});
    fs::create_symlink(folder.file("fifo.wnk"), folder.file("to-fifo.wnk"));
    fs::create_symlink(folder.file("empty.wnk"), folder.file("to-empty.wnk"));
    const std::string out = folder.file("out.svg");
    writeFileBytes(folder.file("keep.svg"), {'o', 'l', 'd'});

    struct Case {
        std::string input;
        std::string reason;
    };
    const Case cases[] = {
        {folder.file("fifo.wnk"), "it is a FIFO, not a file"},
        {folder.file("to-fifo.wnk"), "it is a FIFO, not a file"},
        {"/dev/zero", "it is a character device, not a file"},
        {folder.path().string(), "it is a folder, not a file"},
        {folder.file("empty.wnk"), "the file is empty"},
        {folder.file("to-empty.wnk"), "the file is empty"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.input);
        for (const std::string& output : {out, folder.file("keep.svg")})
            expectRefused(exportTool({c.input, output}, folder), c.input + ": ", c.reason);
        EXPECT_FALSE(fs::exists(out));
        EXPECT_EQ(readFileText(folder.file("keep.svg")), "old");
    }
}

TEST(ExportHostile, OutputsThatAreNoFilesAreNeverReplaced) {
    TempFolder folder;
    const std::string input = folder.file("page.wnk");
    ASSERT_TRUE(saveSketchFile(input, samples::varied()));
    ASSERT_EQ(::mkfifo(folder.file("fifo.svg").c_str(), 0600), 0);
    fs::create_symlink(folder.file("nowhere.svg"), folder.file("dangling.svg"));
    fs::create_symlink("/dev/null", folder.file("null.svg"));

    struct Case {
        std::string output;
        std::string reason;
    };
    const Case cases[] = {
        {"/dev/null", "it is a character device, not a file"},
        {folder.file("fifo.svg"), "it is a FIFO, not a file"},
        {folder.file("dangling.svg"), "it is a link to nothing that exists"},
        {folder.file("null.svg"), "it is a link to a character device, not to a file"},
    };
    const std::vector<std::string> before = folder.names();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.output);
        expectRefused(exportTool({input, c.output}, folder), "",
                      "could not save " + c.output + ": " + c.reason);
    }
    EXPECT_EQ(folder.names(), before);
    EXPECT_TRUE(fs::is_fifo(folder.file("fifo.svg")));
    EXPECT_FALSE(fs::exists(folder.file("nowhere.svg")));

    // The longest legal name saves; through a link, the linked file changes.
    const std::string longest = folder.file(std::string(251, 'p') + ".svg");
    EXPECT_EQ(exportTool({input, longest}, folder).status, 0);
    EXPECT_GT(fs::file_size(longest), 100u);
    writeFileBytes(folder.file("target.wnk"), {'o', 'l', 'd'});
    fs::create_symlink("target.wnk", folder.file("link.wnk"));
    EXPECT_EQ(exportTool({input, folder.file("link.wnk")}, folder).status, 0);
    EXPECT_TRUE(fs::is_symlink(folder.file("link.wnk")));
    Sketch back;
    EXPECT_TRUE(loadSketchFile(folder.file("target.wnk"), back).ok);
}

TEST(ExportHostile, ASmallFileOfMillionsOfEmptyRecordsIsRefused) {
    // 60 million empty groups: 240 MB once decompressed, in a gzip file of a
    // quarter of a megabyte, which took gigabytes to read. The tool runs
    // under an address-space limit of 4 bytes per decompressed byte plus
    // 64 MiB and what the program itself needs.
#if defined(__SANITIZE_ADDRESS__)
    GTEST_SKIP() << "the sanitizer's shadow memory does not fit an address-space limit";
#else
    TempFolder folder;
    const int32_t groups = 60'000'000;
    samples::Bytes raw;
    raw.reserve(size_t(groups) * 4 + 1024);
    samples::putInt32(raw, kSketchVersion);
    samples::putInt32(raw, 1);
    samples::putInt32(raw, 1);
    samples::putInt32(raw, groups);
    raw.resize(raw.size() + size_t(groups) * 4, 0);
    for (int32_t v : {0, -1, 0, 0, -1})
        samples::putInt32(raw, v);
    for (int t = 0; t < 2; ++t)
        samples::putTransform(raw, Transform3D{});
    samples::putInt32(raw, 0xFFFFFF);
    const std::string input = folder.file("groups.wnk");
    writeFileBytes(input, samples::gzipOf(raw));
    EXPECT_LT(fs::file_size(input), 400'000u);

    const size_t limitKiB = (4 * raw.size() + (size_t{64} << 20) + (size_t{96} << 20)) >> 10;
    raw = {};
    const RunResult r = runProgram(
        "bash",
        {"-c",
         "ulimit -v " + std::to_string(limitKiB) + " && exec timeout 120 \"$0\" \"$1\" \"$2\"",
         kTool, input, folder.file("out.svg")},
        folder.path().string());
    expectRefused(r, input + ": ", "the file holds too many records for its size");
    EXPECT_FALSE(fs::exists(folder.file("out.svg")));
#endif
}
