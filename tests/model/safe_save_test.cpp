#include "model/safe_save.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <random>
#include <thread>

#include "tests/support/gzip.h"
#include "tests/support/temp_folder.h"

using namespace penwick;

namespace {

// Content written in many pieces, so that a failure can strike in the middle.
std::vector<unsigned char> content(unsigned char seed, size_t size) {
    std::vector<unsigned char> bytes(size);
    std::mt19937 random(seed);
    for (auto& byte : bytes)
        byte = static_cast<unsigned char>(random() % 16 + seed);
    return bytes;
}

SaveWriter writerOf(const std::vector<unsigned char>& bytes, int32_t piece = 4096) {
    return [&bytes, piece](ByteStream& stream) {
        for (size_t at = 0; at < bytes.size(); at += static_cast<size_t>(piece)) {
            const auto length = std::min<size_t>(static_cast<size_t>(piece), bytes.size() - at);
            stream.write(bytes.data() + at, static_cast<int32_t>(length));
        }
        return true;
    };
}

// What zlib reads from a gzip file, as bytes.
std::vector<unsigned char> gunzip(const std::string& path) {
    const std::string content = penwick::testing::gunzip(path);
    return {content.begin(), content.end()};
}

std::vector<unsigned char> contentOf(const std::string& path, SaveCompression compression) {
    return compression == SaveCompression::Gzip ? gunzip(path) : readFileBytes(path);
}

}  // namespace

TEST(SafeSave, WritesPlainAndCompressedFiles) {
    TempFolder folder;
    const auto bytes = content(1, 100000);
    {
        const auto result =
            safeSave(folder.file("new.svg"), SaveCompression::None, writerOf(bytes));
        EXPECT_TRUE(result.ok) << result.error;
        EXPECT_TRUE(result.error.empty());
        EXPECT_EQ(readFileBytes(folder.file("new.svg")), bytes);
    }
    {
        const auto result =
            safeSave(folder.file("new.wnk"), SaveCompression::Gzip, writerOf(bytes));
        EXPECT_TRUE(result.ok) << result.error;
        const auto file = readFileBytes(folder.file("new.wnk"));
        ASSERT_GT(file.size(), 2u);
        EXPECT_EQ(file[0], 0x1F);
        EXPECT_EQ(gunzip(folder.file("new.wnk")), bytes);
    }
    {
        // Replacing keeps the old file's permissions; nothing else is left behind.
        ::chmod(folder.file("new.svg").c_str(), 0640);
        const auto other = content(2, 5000);
        EXPECT_TRUE(safeSave(folder.file("new.svg"), SaveCompression::None, writerOf(other)).ok);
        EXPECT_EQ(readFileBytes(folder.file("new.svg")), other);
        struct stat info {};
        ::stat(folder.file("new.svg").c_str(), &info);
        EXPECT_EQ(info.st_mode & 0777, 0640u);
        EXPECT_EQ(folder.names(), (std::vector<std::string>{"new.svg", "new.wnk"}));
    }
    {
        // Saving through a link replaces the file it points to.
        ::symlink(folder.file("new.svg").c_str(), folder.file("link.svg").c_str());
        const auto third = content(3, 100);
        EXPECT_TRUE(safeSave(folder.file("link.svg"), SaveCompression::None, writerOf(third)).ok);
        EXPECT_EQ(readFileBytes(folder.file("new.svg")), third);
        EXPECT_TRUE(std::filesystem::is_symlink(folder.file("link.svg")));
    }
}

TEST(SafeSave, RealFailuresLeaveTheOldFileAndSayWhy) {
    TempFolder folder;
    {
        const auto result = safeSave(folder.file("no/such/folder/a.wnk"), SaveCompression::Gzip,
                                     writerOf(content(1, 10)));
        EXPECT_FALSE(result.ok);
        EXPECT_NE(result.error.find("no/such/folder"), std::string::npos) << result.error;
        EXPECT_NE(result.error.find("No such file or directory"), std::string::npos)
            << result.error;
    }
    {
        // A folder where the file should be is never replaced.
        std::filesystem::create_directory(folder.file("taken"));
        const auto result =
            safeSave(folder.file("taken"), SaveCompression::None, writerOf(content(1, 10)));
        EXPECT_FALSE(result.ok);
        EXPECT_NE(result.error.find("it is a folder"), std::string::npos) << result.error;
        EXPECT_TRUE(std::filesystem::is_directory(folder.file("taken")));
        EXPECT_EQ(folder.names(), (std::vector<std::string>{"taken"}));
    }
    {
        // A writer that gives up abandons the save.
        const auto old = content(4, 300);
        writeFileBytes(folder.file("page.wnk"), old);
        const auto result =
            safeSave(folder.file("page.wnk"), SaveCompression::Gzip, [](ByteStream& stream) {
                stream.writeString("half");
                return false;
            });
        EXPECT_FALSE(result.ok);
        EXPECT_FALSE(result.error.empty());
        EXPECT_EQ(readFileBytes(folder.file("page.wnk")), old);
    }
    EXPECT_FALSE(safeSave("", SaveCompression::None, writerOf(content(1, 1))).ok);
}

// Every operation of a save fails in turn, once or from then on: the save says
// so, the old file stays byte for byte and no temporary file is left.
TEST(SafeSave, InjectedFailuresNeverHarmTheOldFile) {
    for (const auto compression : {SaveCompression::None, SaveCompression::Gzip}) {
        for (const auto mode :
             {FailingFileSystem::Mode::Once, FailingFileSystem::Mode::Persistent}) {
            TempFolder folder;
            const std::string page = folder.file("page.wnk");
            const auto oldBytes = content(5, 20000);
            const auto newBytes = content(6, 30000);
            ASSERT_TRUE(safeSave(page, compression, writerOf(oldBytes)).ok);
            const auto oldFile = readFileBytes(page);

            bool succeeded = false;
            int64_t n = 1;
            for (; n < 1000 && !succeeded; ++n) {
                SCOPED_TRACE("failing operation " + std::to_string(n));
                FailingFileSystem files(n, mode);
                const auto result = safeSave(page, compression, writerOf(newBytes), files);
                if (files.failureCount() == 0) {
                    // Every operation ran: the save went through.
                    EXPECT_TRUE(result.ok) << result.error;
                    succeeded = true;
                    break;
                }
                EXPECT_FALSE(result.ok);
                EXPECT_NE(result.error.find("injected failure"), std::string::npos) << result.error;
                EXPECT_EQ(folder.names(), std::vector<std::string>{"page.wnk"});
                if (result.error.find("folder could not be flushed") != std::string::npos) {
                    // Only the last step comes after the rename: the new file is in place.
                    EXPECT_EQ(contentOf(page, compression), newBytes);
                    writeFileBytes(page, oldFile);
                    continue;
                }
                EXPECT_EQ(readFileBytes(page), oldFile);

                // After a once-only failure the next save through the same layer works.
                if (mode == FailingFileSystem::Mode::Once) {
                    const auto again = safeSave(page, compression, writerOf(oldBytes), files);
                    EXPECT_TRUE(again.ok) << again.error;
                    EXPECT_EQ(contentOf(page, compression), oldBytes);
                    writeFileBytes(page, oldFile);
                } else {
                    EXPECT_FALSE(safeSave(page, compression, writerOf(oldBytes), files).ok);
                    EXPECT_EQ(readFileBytes(page), oldFile);
                }
            }
            EXPECT_TRUE(succeeded);
            // 30000 bytes in 4096-byte writes: create, 8 writes, finish, sync, close,
            // rename, folder sync.
            EXPECT_EQ(n, 15);
            EXPECT_EQ(contentOf(page, compression), newBytes);
        }
    }
}

// A process saving in a loop is killed at random moments: the page is always
// exactly the old or the new version, never anything in between.
TEST(SafeSave, KilledSaveLeavesOldOrNewPage) {
    TempFolder folder;
    const std::string page = folder.file("page.wnk");
    const auto first = content(7, 400000);
    const auto second = content(8, 300000);
    ASSERT_TRUE(safeSave(page, SaveCompression::Gzip, writerOf(first)).ok);

    std::mt19937 random(0x5eed);
    int sawFirst = 0, sawSecond = 0;
    for (int round = 0; round < 30; ++round) {
        // The child reports each finished save through a pipe, so that the
        // kills fall after a chosen number of saves (and the page changes
        // between rounds) however slow the machine is.
        int progress[2];
        ASSERT_EQ(::pipe(progress), 0);
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            ::close(progress[0]);
            for (int i = 0;; ++i) {
                safeSave(page, SaveCompression::Gzip, writerOf(i % 2 == 0 ? second : first));
                const char done = 1;
                if (::write(progress[1], &done, 1) != 1) ::_exit(1);
            }
        }
        ::close(progress[1]);
        const int finished = static_cast<int>(random() % 4);
        for (int i = 0; i < finished; ++i) {
            char done = 0;
            ASSERT_EQ(::read(progress[0], &done, 1), 1);
        }
        std::this_thread::sleep_for(std::chrono::microseconds(random() % 8000));
        ::kill(child, SIGKILL);
        int status = 0;
        ::waitpid(child, &status, 0);
        ::close(progress[0]);
        ASSERT_TRUE(WIFSIGNALED(status));

        const auto now = gunzip(page);
        const bool isFirst = now == first;
        const bool isSecond = now == second;
        EXPECT_TRUE(isFirst || isSecond) << "round " << round << ": " << now.size() << " bytes";
        sawFirst += isFirst;
        sawSecond += isSecond;
        // A killed save leaves its temporary file behind; the page is all that counts.
        for (const auto& name : folder.names())
            if (name != "page.wnk") std::filesystem::remove(folder.file(name));
    }
    // The kills landed at different moments, not all before the first save finished.
    EXPECT_GT(sawSecond, 0);
    EXPECT_GT(sawFirst, 0);
}
