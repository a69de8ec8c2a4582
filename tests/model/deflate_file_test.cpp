// Whole gzip files through libdeflate: what it writes every gzip reader takes,
// and what it reads is exactly what zlib would deliver, or left to zlib.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>
#include <zlib.h>

#include <cstdio>
#include <random>
#include <string>
#include <vector>

#include "fuzz/sketch_samples.h"
#include "model/deflate_file.h"
#include "model/sketch_file.h"
#include "tests/support/temp_folder.h"

using namespace penwick;
using Bytes = std::vector<unsigned char>;

namespace {

// Pen-like records (a random walk, compressible) with stretches of noise.
Bytes randomPayload(std::mt19937& random, size_t size) {
    Bytes bytes(size);
    float walk = 0;
    for (size_t i = 0; i < size; ++i) {
        if ((i / 4096) % 3 == 2) {
            bytes[i] = static_cast<unsigned char>(random());
        } else {
            walk += float(int(random() % 7) - 3) * 0.01f;
            bytes[i] = static_cast<unsigned char>(int(walk * 16) & 0xFF);
        }
    }
    return bytes;
}

// Writes the payload through the writer in chunks of random sizes.
bool writeGzipFile(const std::string& path, const Bytes& payload, size_t wholeFileLimit,
                   std::mt19937& random) {
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0) return false;
    bool ok = true;
    {
        GzipFileWriter writer(fd, wholeFileLimit);
        size_t at = 0;
        while (ok && at < payload.size()) {
            const size_t n = std::min<size_t>(payload.size() - at, 1 + random() % 9000);
            ok = writer.write(payload.data() + at, int32_t(n)) == int32_t(n);
            at += n;
        }
        ok = ok && writer.finish();
    }
    return ::close(fd) == 0 && ok;
}

Bytes zlibRead(const std::string& path, bool& sound) {
    Bytes out;
    sound = true;
    gzFile file = gzopen(path.c_str(), "rb");
    if (file == nullptr) {
        sound = false;
        return out;
    }
    unsigned char chunk[16384];
    int got = 0;
    while ((got = gzread(file, chunk, sizeof chunk)) > 0)
        out.insert(out.end(), chunk, chunk + got);
    if (got < 0 || gzclose(file) != Z_OK) sound = false;
    return out;
}

Bytes programOutput(const std::string& command) {
    Bytes out;
    FILE* pipe = ::popen(command.c_str(), "r");
    if (pipe == nullptr) return out;
    unsigned char chunk[16384];
    size_t got = 0;
    while ((got = std::fread(chunk, 1, sizeof chunk, pipe)) > 0)
        out.insert(out.end(), chunk, chunk + got);
    ::pclose(pipe);
    return out;
}

bool inflatedFile(const std::string& path, size_t limit, Bytes& out) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    InflatedFile inflated;
    const bool taken = fd >= 0 && inflateWholeGzipFile(fd, limit, inflated);
    if (fd >= 0) ::close(fd);
    if (taken) out.assign(inflated.bytes.get(), inflated.bytes.get() + inflated.size);
    return taken;
}

}  // namespace

TEST(DeflateFile, WrittenFilesAreSingleMembersThatEveryReaderTakes) {
    TempFolder folder;
    const std::string path = folder.file("page.gz");
    std::mt19937 random(0x1234);
    for (const size_t size : {size_t{0}, size_t{1}, size_t{100}, size_t{70000}, size_t{1} << 20}) {
        const Bytes payload = randomPayload(random, size);
        // In one call, and (with a small whole-file limit) as zlib's stream.
        for (const size_t limit : {GzipFileWriter::kWholeFileLimit, size_t{5000}}) {
            SCOPED_TRACE("size " + std::to_string(size) + ", limit " + std::to_string(limit));
            ASSERT_TRUE(writeGzipFile(path, payload, limit, random));
            bool sound = false;
            EXPECT_EQ(zlibRead(path, sound), payload);
            EXPECT_TRUE(sound);
            EXPECT_EQ(programOutput("gzip -dc '" + path + "' 2>/dev/null"), payload);
            EXPECT_EQ(std::system(("gzip -t '" + path + "' 2>/dev/null").c_str()), 0);
            Bytes inflated;
            EXPECT_TRUE(inflatedFile(path, size_t{256} << 20, inflated));
            EXPECT_EQ(inflated, payload);
            // A file larger than the caller allows is left to zlib.
            if (size > 0) {
                EXPECT_FALSE(inflatedFile(path, size - 1, inflated));
            }
        }
    }
}

TEST(DeflateFile, AnythingButOnePlainSoundMemberIsLeftToZlib) {
    TempFolder folder;
    const std::string path = folder.file("page.wnk");
    const Bytes payload = samples::payloadOf(samples::varied());
    const Bytes member = samples::gzipOf(payload);
    const size_t limit = size_t{256} << 20;
    InflatedFile out;
    ASSERT_TRUE(inflateWholeGzip(member.data(), member.size(), limit, out));
    EXPECT_EQ(Bytes(out.bytes.get(), out.bytes.get() + out.size), payload);

    const Bytes half1(payload.begin(), payload.begin() + long(payload.size() / 2));
    const Bytes half2(payload.begin() + long(payload.size() / 2), payload.end());
    Bytes twoMembers = samples::gzipOf(half1);
    const Bytes second = samples::gzipOf(half2);
    twoMembers.insert(twoMembers.end(), second.begin(), second.end());
    Bytes trailingZeros = member;
    trailingZeros.insert(trailingZeros.end(), 4, 0);
    // A header checksum, which libdeflate would skip unchecked: flag bit 1
    // and the low half of the header's CRC-32 after the fixed header.
    Bytes headerCrc(member.begin(), member.begin() + 10);
    headerCrc[3] |= 0x02;
    const uLong crc = crc32(0, headerCrc.data(), 10);
    headerCrc.insert(headerCrc.end(), {static_cast<unsigned char>(crc & 0xFF),
                                       static_cast<unsigned char>((crc >> 8) & 0xFF)});
    headerCrc.insert(headerCrc.end(), member.begin() + 10, member.end());
    // A trailer claiming 1 GiB for a small file gets no buffer.
    Bytes bomb = member;
    bomb[bomb.size() - 1] = 0x40;
    Bytes badCrc = member;
    badCrc[badCrc.size() - 8] ^= 0x10;
    for (const auto& [name, bytes] :
         {std::pair<const char*, Bytes>{"two members", twoMembers},
          {"trailing zeros", trailingZeros},
          {"header checksum", headerCrc},
          {"claims 1 GiB", bomb},
          {"wrong checksum", badCrc},
          {"cut in the trailer", Bytes(member.begin(), member.end() - 1)},
          {"not compressed", payload}}) {
        SCOPED_TRACE(name);
        EXPECT_FALSE(inflateWholeGzip(bytes.data(), bytes.size(), limit, out));
        // The page loader hands every one to zlib, which reads the sound ones
        // as before and refuses the others as before.
        writeFileBytes(path, bytes);
        Sketch loaded = samples::onePoint();
        const ReadResult result = loadSketchFile(path, loaded);
        const bool readable =
            bytes == twoMembers || bytes == trailingZeros || bytes == headerCrc || bytes == payload;
        EXPECT_EQ(result.ok, readable) << result.error;
        if (readable) {
            EXPECT_EQ(samples::payloadOf(loaded), payload);
        } else {
            EXPECT_EQ(result.error, "the file is damaged or truncated");
            EXPECT_EQ(samples::payloadOf(loaded), samples::payloadOf(samples::onePoint()));
        }
    }

    // Files that cannot be read whole are not read at all: the position stays.
    writeFileBytes(path, member);
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    ASSERT_GE(fd, 0);
    unsigned char first[2] = {};
    EXPECT_FALSE(inflateWholeGzipFile(fd, member.size() - 20, out));
    EXPECT_EQ(::read(fd, first, 2), 2);
    EXPECT_EQ(first[0], 0x1F);
    EXPECT_EQ(first[1], 0x8B);
    ::close(fd);
    const std::string fifo = folder.file("pipe");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    const int pipeFd = ::open(fifo.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    ASSERT_GE(pipeFd, 0);
    EXPECT_FALSE(inflateWholeGzipFile(pipeFd, limit, out));
    ::close(pipeFd);
}
