// The safe save given what a person or an attacker may put where a file is
// to go: devices, FIFOs, links, the longest legal names, and the leftovers
// of saves that were killed.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "model/safe_save.h"
#include "model/temporary_files.h"
#include "tests/support/temp_folder.h"

using namespace penwick;
namespace fs = std::filesystem;

namespace {

SaveWriter writerOf(const std::string& text) {
    return [text](ByteStream& stream) {
        stream.write(text.data(), int32_t(text.size()));
        return true;
    };
}

std::string readText(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void writeText(const std::string& path, const std::string& text) {
    std::ofstream(path, std::ios::binary) << text;
}

void makeOld(const std::string& path) {
    fs::last_write_time(path, fs::file_time_type::clock::now() - std::chrono::minutes(30));
}

}  // namespace

TEST(SafeSaveHostile, OnlyARegularFileOrTheFileALinkNamesIsReplaced) {
    TempFolder folder;
    ASSERT_EQ(::mkfifo(folder.file("fifo").c_str(), 0600), 0);
    fs::create_directory(folder.file("folder"));
    fs::create_symlink("/dev/null", folder.file("to-null"));
    fs::create_symlink(folder.file("fifo"), folder.file("to-fifo"));
    fs::create_symlink(folder.file("nothing-here"), folder.file("dangling"));
    // A program's standard output given as the output, here a pipe's end.
    int pipeEnds[2];
    ASSERT_EQ(::pipe(pipeEnds), 0);
    fs::create_symlink("/proc/self/fd/" + std::to_string(pipeEnds[1]), folder.file("to-stdout"));
    writeText(folder.file("page.wnk"), "old page");
    fs::create_symlink("page.wnk", folder.file("to-page"));
    fs::create_symlink("to-page", folder.file("to-to-page"));

    struct Refused {
        std::string path;
        std::string reason;
    };
    const Refused refused[] = {
        {"/dev/null", "it is a character device, not a file"},
        {folder.file("fifo"), "it is a FIFO, not a file"},
        {folder.file("folder"), "it is a folder, not a file"},
        {folder.file("to-null"), "it is a link to a character device, not to a file"},
        {folder.file("to-fifo"), "it is a link to a FIFO, not to a file"},
        // A link to nothing is refused, never followed to create a file.
        {folder.file("dangling"), "it is a link to nothing that exists"},
        {folder.file("to-stdout"), "it is a link to nothing that exists"},
    };
    for (const Refused& r : refused) {
        SCOPED_TRACE(r.path);
        const SaveResult result = safeSave(r.path, SaveCompression::None, writerOf("new"));
        EXPECT_FALSE(result.ok);
        EXPECT_EQ(result.error.rfind("could not save " + r.path + ": " + r.reason, 0), 0u)
            << result.error;
    }
    ::close(pipeEnds[0]);
    ::close(pipeEnds[1]);
    EXPECT_TRUE(fs::is_character_file("/dev/null"));
    EXPECT_TRUE(fs::is_fifo(folder.file("fifo")));
    EXPECT_TRUE(fs::is_symlink(folder.file("dangling")));
    EXPECT_FALSE(fs::exists(folder.file("nothing-here")));
    EXPECT_EQ(folder.names(),
              (std::vector<std::string>{"dangling", "fifo", "folder", "page.wnk", "to-fifo",
                                        "to-null", "to-page", "to-stdout", "to-to-page"}));

    // Through two links the page itself is replaced and the links stay.
    ASSERT_TRUE(safeSave(folder.file("to-to-page"), SaveCompression::None, writerOf("new page")));
    EXPECT_EQ(readText(folder.file("page.wnk")), "new page");
    EXPECT_TRUE(fs::is_symlink(folder.file("to-to-page")));
    EXPECT_TRUE(fs::is_symlink(folder.file("to-page")));
}

TEST(SafeSaveHostile, EveryLegalNameCanBeSaved) {
    TempFolder folder;
    for (size_t length : {1u, 200u, 243u, 254u, 255u}) {
        const std::string path = folder.file(std::string(length, 'n'));
        const SaveResult first = safeSave(path, SaveCompression::Gzip, writerOf("first"));
        ASSERT_TRUE(first.ok) << length << ": " << first.error;
        const SaveResult second = safeSave(path, SaveCompression::None, writerOf("second"));
        ASSERT_TRUE(second.ok) << length << ": " << second.error;
        EXPECT_EQ(readText(path), "second");
    }
    EXPECT_EQ(folder.names().size(), 5u);  // no temporary file left
    const SaveResult tooLong =
        safeSave(folder.file(std::string(256, 'n')), SaveCompression::None, writerOf("x"));
    EXPECT_FALSE(tooLong.ok);
    EXPECT_NE(tooLong.error.find("File name too long"), std::string::npos) << tooLong.error;

    // Temporary names are all of one length and pattern, and differ.
    const std::string a = newTemporaryName(), b = newTemporaryName();
    EXPECT_NE(a, b);
    EXPECT_EQ(a.size(), b.size());
    EXPECT_TRUE(isTemporaryName(a));
    EXPECT_TRUE(isTemporaryName(b));
}

TEST(SafeSaveHostile, SavingRemovesOnlyOurOwnStaleTemporaryFiles) {
    TempFolder folder;
    TempFolder elsewhere;
    const std::string stale = newTemporaryName();
    const std::string fresh = newTemporaryName();
    const std::string staleElsewhere = newTemporaryName();
    // Names of the pattern's shape that are not ours, and ours that are not files.
    const std::vector<std::string> kept = {".penwick-abc.tmp", ".penwick-abcdef.tmp.x",
                                           "penwick-abcdef.tmp", ".penwick-abc-ef.tmp",
                                           ".page.wnk.123-4.tmp"};
    for (const std::string& name : kept) {
        writeText(folder.file(name), "not ours");
        makeOld(folder.file(name));
    }
    writeText(folder.file(stale), "left by a killed save");
    makeOld(folder.file(stale));
    writeText(folder.file(fresh), "a save still running");
    writeText(elsewhere.file(staleElsewhere), "another folder");
    makeOld(elsewhere.file(staleElsewhere));
    const std::string link = ".penwick-LINK00.tmp";
    fs::create_symlink(elsewhere.file(staleElsewhere), folder.file(link));
    const std::string folderNamed = ".penwick-DIR000.tmp";
    fs::create_directory(folder.file(folderNamed));

    ASSERT_TRUE(safeSave(folder.file("page.wnk"), SaveCompression::Gzip, writerOf("page")));
    std::vector<std::string> expected = kept;
    expected.insert(expected.end(), {fresh, link, folderNamed, "page.wnk"});
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(folder.names(), expected);
    EXPECT_TRUE(fs::exists(elsewhere.file(staleElsewhere)));

    // The listing of a folder of pages calls the same function.
    makeOld(folder.file(fresh));
    EXPECT_EQ(removeStaleTemporaries(folder.path().string()), 1);
    EXPECT_FALSE(fs::exists(folder.file(fresh)));
    EXPECT_EQ(removeStaleTemporaries(folder.path().string()), 0);
}
