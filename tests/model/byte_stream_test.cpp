#include <gtest/gtest.h>
#include <zlib.h>

#include <cstring>
#include <numeric>
#include <vector>

#include "model/file_stream.h"
#include "model/gz_stream.h"
#include "model/memory_stream.h"
#include "tests/support/temp_folder.h"

using namespace penwick;

namespace {

std::vector<unsigned char> sequence(size_t n) {
    std::vector<unsigned char> bytes(n);
    for (size_t i = 0; i < n; ++i)
        bytes[i] = static_cast<unsigned char>(i * 7 + i / 251);
    return bytes;
}

// A source that records the size of every read asked of it.
class CountingSource final : public ByteStream {
  public:
    explicit CountingSource(std::vector<unsigned char> bytes) : inner_(0) {
        inner_.write(bytes.data(), static_cast<int32_t>(bytes.size()));
        inner_.setPosition(0);
    }
    int32_t read(void* buffer, int32_t length) override {
        asks.push_back(length);
        const int32_t got = inner_.read(buffer, length);
        if (got > 0) delivered.push_back(got);
        return got;
    }
    int32_t write(const void*, int32_t) override { return -1; }
    std::vector<int32_t> asks;
    std::vector<int32_t> delivered;

  private:
    MemoryStream inner_;
};

// A target that accepts only so many bytes.
class FullTarget final : public ByteStream {
  public:
    explicit FullTarget(int32_t room) : room_(room) {}
    int32_t read(void*, int32_t) override { return -1; }
    int32_t write(const void*, int32_t length) override {
        const int32_t taken = std::min(length, room_);
        room_ -= taken;
        return taken;
    }

  private:
    int32_t room_;
};

}  // namespace

TEST(MemoryStream, ReadsBackWhatWasWrittenThenNothing) {
    MemoryStream stream;
    EXPECT_EQ(stream.size(), 0);
    EXPECT_EQ(stream.data(), nullptr);
    const auto bytes = sequence(10);
    EXPECT_EQ(stream.write(bytes.data(), 10), 10);
    stream.setPosition(0);
    unsigned char back[16] = {};
    EXPECT_EQ(stream.read(back, 16), 10);
    EXPECT_EQ(std::memcmp(back, bytes.data(), 10), 0);
    EXPECT_EQ(stream.read(back, 16), 0);
}

TEST(MemoryStream, WritingInsideOverwritesWithoutGrowing) {
    MemoryStream stream;
    const auto bytes = sequence(10);
    stream.write(bytes.data(), 10);
    stream.setPosition(2);
    const unsigned char patch[5] = {0xA0, 0xA1, 0xA2, 0xA3, 0xA4};
    EXPECT_EQ(stream.write(patch, 5), 5);
    EXPECT_EQ(stream.size(), 10);
    EXPECT_EQ(stream.position(), 7);
    for (int i = 0; i < 10; ++i) {
        const unsigned char expected = (i >= 2 && i < 7) ? patch[i - 2] : bytes[i];
        EXPECT_EQ(stream.data()[i], expected) << "byte " << i;
    }
}

TEST(MemoryStream, GrowsByTheRoundingRule) {
    {
        MemoryStream exact(10);
        EXPECT_EQ(exact.size(), 10);
        EXPECT_EQ(exact.capacity(), 10);
        EXPECT_EQ(exact.position(), 0);
    }
    {
        MemoryStream none(-3);
        EXPECT_EQ(none.size(), 0);
        EXPECT_EQ(none.capacity(), 0);
        EXPECT_EQ(none.data(), nullptr);
    }
    // n rounded up to a multiple of the largest power of two not above n / 2.
    const std::pair<int32_t, int64_t> rule[] = {
        {1, 1},  {3, 3},     {4, 4},     {5, 6},       {7, 8},
        {9, 12}, {100, 128}, {129, 192}, {1000, 1024}, {65537, 65537 + 32767}};
    for (const auto& [n, capacity] : rule) {
        EXPECT_EQ(MemoryStream::grownCapacity(n), capacity) << "n = " << n;
        MemoryStream stream;
        ASSERT_TRUE(stream.resize(n));
        EXPECT_EQ(stream.capacity(), capacity) << "n = " << n;
        EXPECT_EQ(stream.size(), n);
    }
    {
        // Appending one byte at a time grows the buffer only now and then,
        // and shrinking keeps it.
        MemoryStream stream;
        int reallocations = 0;
        int32_t last = 0;
        for (int i = 0; i < 100000; ++i) {
            const unsigned char byte = static_cast<unsigned char>(i);
            stream.write(&byte, 1);
            if (stream.capacity() != last) ++reallocations;
            last = stream.capacity();
        }
        EXPECT_LT(reallocations, 40);
        stream.setPosition(50);
        stream.resize(20);
        EXPECT_EQ(stream.size(), 20);
        EXPECT_EQ(stream.position(), 20);
        EXPECT_EQ(stream.capacity(), last);
    }
}

TEST(MemoryStream, RefusesWritesBeyondTheThirtyTwoBitRange) {
    MemoryStream stream;
    stream.resize(8);
    stream.setPosition(8);
    unsigned char byte = 1;
    EXPECT_LT(stream.write(&byte, std::numeric_limits<int32_t>::max()), 1);
    EXPECT_EQ(stream.size(), 8);
}

TEST(ByteStream, WriteStringLeavesOutTheTerminator) {
    MemoryStream stream;
    EXPECT_EQ(stream.writeString("pen"), 3);
    EXPECT_EQ(stream.size(), 3);
    EXPECT_EQ(std::memcmp(stream.data(), "pen", 3), 0);
    EXPECT_EQ(stream.writeString(""), 0);
}

TEST(ByteStream, TypedTransfersAreLittleEndianMemoryImages) {
    MemoryStream stream;
    stream.writeInt32(0x636C6970);
    stream.writeInt32(-2);
    stream.writeByte(0xFE);
    const float f = 1.5f;
    stream.writeBlock(&f, 4);
    const unsigned char expected[] = {0x70, 0x69, 0x6C, 0x63, 0xFE, 0xFF, 0xFF,
                                      0xFF, 0xFE, 0x00, 0x00, 0xC0, 0x3F};
    ASSERT_EQ(stream.size(), 13);
    EXPECT_EQ(std::memcmp(stream.data(), expected, 13), 0);

    stream.setPosition(0);
    int32_t a = 0, b = 0;
    uint8_t c = 0;
    float g = 0;
    EXPECT_EQ(stream.readInt32(a), 4);
    EXPECT_EQ(stream.readInt32(b), 4);
    EXPECT_EQ(stream.readByte(c), 1);
    EXPECT_EQ(stream.readBlock(&g, 4), 4);
    EXPECT_EQ(a, 0x636C6970);
    EXPECT_EQ(b, -2);
    EXPECT_EQ(c, 0xFE);
    EXPECT_EQ(g, 1.5f);

    // A short read fills only what it got.
    MemoryStream shortStream;
    const unsigned char two[] = {0x11, 0x22};
    shortStream.write(two, 2);
    shortStream.setPosition(0);
    int32_t partial = -1;
    EXPECT_EQ(shortStream.readInt32(partial), 2);
    EXPECT_EQ(static_cast<uint32_t>(partial), 0xFFFF2211u);
}

TEST(ByteStream, CopyFromCopiesInRoundsUpToTheLimit) {
    {
        CountingSource source(sequence(200000));
        MemoryStream target;
        EXPECT_EQ(target.copyFrom(source, -1), 200000);
        EXPECT_EQ(source.delivered, (std::vector<int32_t>{65536, 65536, 65536, 3392}));
        ASSERT_EQ(target.size(), 200000);
        EXPECT_EQ(std::memcmp(target.data(), sequence(200000).data(), 200000), 0);
    }
    {
        CountingSource source(sequence(200000));
        MemoryStream target;
        EXPECT_EQ(target.copyFrom(source, 70000), 70000);
        EXPECT_EQ(source.asks, (std::vector<int32_t>{65536, 4464}));
    }
    {
        CountingSource source(sequence(100));
        MemoryStream target;
        EXPECT_EQ(target.copyFrom(source, 0), 0);
        EXPECT_TRUE(source.asks.empty());
    }
    {
        // Stops at the first failed write with what was copied so far.
        CountingSource source(sequence(200000));
        FullTarget target(65536 + 10);
        EXPECT_EQ(target.copyFrom(source, -1), 65536 + 10);
    }
}

TEST(FileStream, OpensReadsWritesAndMeasures) {
    TempFolder folder;
    FileStream stream;
    EXPECT_FALSE(stream.open("", "wb"));
    EXPECT_FALSE(stream.open(nullptr, "wb"));
    EXPECT_TRUE(folder.names().empty());  // never touched the file system
    EXPECT_FALSE(stream.open(folder.file("missing").c_str(), "rb"));

    unsigned char byte = 0;
    EXPECT_LT(stream.read(&byte, 1), 1);
    EXPECT_LT(stream.write(&byte, 1), 1);
    EXPECT_EQ(stream.fileSize(), 0);

    const auto bytes = sequence(1000);
    ASSERT_TRUE(stream.open(folder.file("a").c_str(), "wb"));
    EXPECT_EQ(stream.write(bytes.data(), 1000), 1000);
    EXPECT_TRUE(stream.close());

    ASSERT_TRUE(stream.open(folder.file("a").c_str(), "rb"));
    unsigned char head[10];
    EXPECT_EQ(stream.read(head, 10), 10);
    EXPECT_EQ(stream.fileSize(), 1000);
    EXPECT_EQ(stream.read(head, 10), 10);  // the position survived the measuring
    EXPECT_EQ(head[0], bytes[10]);
    MemoryStream rest;
    EXPECT_EQ(rest.copyFrom(stream, -1), 980);
}

TEST(GzStream, CompressesAndReadsBack) {
    TempFolder folder;
    const std::string path = folder.file("a.gz");
    const auto bytes = sequence(300000);
    {
        GzStream stream;
        EXPECT_FALSE(stream.open("", "wb"));
        ASSERT_TRUE(stream.open(path.c_str(), "wb"));
        EXPECT_EQ(stream.write(bytes.data(), 300000), 300000);
        EXPECT_TRUE(stream.close());
    }
    const auto file = readFileBytes(path);
    ASSERT_GE(file.size(), 2u);
    EXPECT_EQ(file[0], 0x1F);
    EXPECT_EQ(file[1], 0x8B);
    EXPECT_LT(file.size(), bytes.size());

    GzStream stream;
    ASSERT_TRUE(stream.open(path.c_str(), "rb"));
    MemoryStream back;
    EXPECT_EQ(back.copyFrom(stream, -1), 300000);
    EXPECT_EQ(std::memcmp(back.data(), bytes.data(), bytes.size()), 0);
    stream.close();
    unsigned char byte = 0;
    EXPECT_LT(stream.read(&byte, 1), 1);
    EXPECT_LT(stream.write(&byte, 1), 1);
}

TEST(GzStream, ReadsUncompressedFilesUnchanged) {
    TempFolder folder;
    const auto bytes = sequence(5000);
    writeFileBytes(folder.file("plain"), bytes);
    GzStream stream;
    ASSERT_TRUE(stream.open(folder.file("plain").c_str(), "rb"));
    MemoryStream back;
    EXPECT_EQ(back.copyFrom(stream, -1), 5000);
    EXPECT_EQ(std::memcmp(back.data(), bytes.data(), bytes.size()), 0);
}

TEST(GzStream, ReportsCutOffAndDamagedData) {
    TempFolder folder;
    const std::string path = folder.file("a.gz");
    {
        GzStream stream;
        ASSERT_TRUE(stream.open(path.c_str(), "wb"));
        const auto bytes = sequence(100000);
        stream.write(bytes.data(), 100000);
        ASSERT_TRUE(stream.close());
    }
    const auto whole = readFileBytes(path);
    auto readAll = [&](const std::vector<unsigned char>& file) {
        writeFileBytes(folder.file("b.gz"), file);
        GzStream stream;
        EXPECT_TRUE(stream.open(folder.file("b.gz").c_str(), "rb"));
        unsigned char buffer[4096];
        int64_t total = 0;
        for (;;) {
            const int32_t got = stream.read(buffer, sizeof buffer);
            if (got < 0) return int64_t{-1};
            if (got == 0) return total;
            total += got;
        }
    };
    EXPECT_EQ(readAll(whole), 100000);
    // Cut inside the compressed data, and inside the trailer.
    EXPECT_EQ(readAll({whole.begin(), whole.begin() + static_cast<long>(whole.size() / 2)}), -1);
    EXPECT_EQ(readAll({whole.begin(), whole.end() - 3}), -1);
    // A wrong checksum.
    auto damaged = whole;
    damaged[damaged.size() - 6] ^= 0x40;
    EXPECT_EQ(readAll(damaged), -1);
}
