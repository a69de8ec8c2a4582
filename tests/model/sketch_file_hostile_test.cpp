// Damaged, truncated and foreign input to the sketch readers: every input is
// either read consistently or rejected with a reason, leaving the target as
// it was (the property checks are shared with the fuzz targets).
#include <gtest/gtest.h>

#include <chrono>
#include <cstring>
#include <filesystem>

#include "fuzz/sketch_checks.h"
#include "fuzz/sketch_samples.h"
#include "model/memory_stream.h"
#include "model/sketch_file.h"
#include "tests/support/temp_folder.h"

using namespace penwick;
using samples::Bytes;

namespace {

ReadResult readBytes(const Bytes& bytes, Sketch& sketch) {
    MemoryStream stream;
    stream.write(bytes.data(), static_cast<int32_t>(bytes.size()));
    stream.setPosition(0);
    return readSketch(stream, sketch);
}

// Every prefix, and three changes of the byte at every offset.
template <typename Check>
void sweep(const Bytes& valid, Check check, const std::string& name) {
    for (size_t length = 0; length <= valid.size(); ++length) {
        const std::string problem = check(valid.data(), length);
        ASSERT_EQ(problem, "") << name << " cut to " << length << " bytes";
    }
    for (size_t offset = 0; offset < valid.size(); ++offset) {
        for (const unsigned char flip : {0x01, 0x80, 0xFF}) {
            Bytes changed = valid;
            changed[offset] ^= flip;
            const std::string problem = check(changed.data(), changed.size());
            ASSERT_EQ(problem, "") << name << " with byte " << offset << " ^ " << int(flip);
        }
    }
}

}  // namespace

TEST(SketchFileHostile, CorruptionSweepOfPayloadsAndGzipFiles) {
    const Bytes varied = samples::payloadOf(samples::varied());
    const auto file = [](const uint8_t* data, size_t size) {
        return checks::checkSketchFile(data, size);
    };
    sweep(varied, file, "varied payload");
    sweep(samples::payloadOf(samples::onePoint()), file, "one-point payload");
    sweep(samples::version106(), file, "version 106");
    sweep(samples::version105(), file, "version 105");
    sweep(samples::gzipOf(varied), file, "varied gzip file");
    sweep(samples::gzipOf(samples::version105()), file, "version 105 gzip file");

    Sketch selected = samples::varied();
    selected.shapes[0].selected = 1;
    const auto clip = [](const uint8_t* data, size_t size) {
        return checks::checkClipboard(data, size);
    };
    sweep(samples::clipboardOf(samples::varied()), clip, "clipboard payload");
    sweep(samples::clipboardOf(selected), clip, "one-shape clipboard payload");
}

TEST(SketchFileHostile, SaysWhyInWordsAndKeepsTheSketch) {
    const Bytes good = samples::payloadOf(samples::varied());
    auto expectRejected = [](const Bytes& bytes, const std::string& message) {
        Sketch sketch = samples::onePoint();
        sketch.insertIndex = 0;
        const Bytes before = samples::payloadOf(sketch);
        const ReadResult result = readBytes(bytes, sketch);
        EXPECT_FALSE(result.ok);
        EXPECT_EQ(result.error, message);
        EXPECT_EQ(samples::payloadOf(sketch), before);
        EXPECT_EQ(sketch.insertIndex, 0);
    };
    expectRejected({good.begin(), good.end() - 1}, "the file is truncated");
    expectRejected({good.begin(), good.begin() + 2}, "the file is truncated");
    {
        // A point count far beyond the bytes that follow is not believed, and
        // costs no memory: rejected before anything is allocated for it.
        Bytes huge = samples::payloadOf(samples::onePoint());
        const int32_t count = INT32_MAX;
        std::memcpy(huge.data() + 21, &count, 4);
        const auto start = std::chrono::steady_clock::now();
        expectRejected(huge, "the file is truncated");
        EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(1));
    }
    {
        Bytes negative = good;
        const int32_t count = -1;
        std::memcpy(negative.data() + 8, &count, 4);
        expectRejected(negative, "the file is damaged");
        std::memcpy(negative.data() + 8, good.data() + 8, 4);
        std::memcpy(negative.data() + 4, &count, 4);  // page count
        expectRejected(negative, "the file is damaged");
    }
    expectRejected({0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A}, "not a Penwick sketch");
    expectRejected({'<', 's', 'v', 'g', ' '}, "not a Penwick sketch");

    // Clipboard data from another program.
    Sketch sketch = samples::onePoint();
    Bytes clip = samples::clipboardOf(samples::varied());
    clip.resize(clip.size() - 5);
    MemoryStream stream;
    stream.write(clip.data(), static_cast<int32_t>(clip.size()));
    stream.setPosition(0);
    const ReadResult pasted = pasteClipboard(stream, sketch);
    EXPECT_FALSE(pasted.ok);
    EXPECT_EQ(pasted.error, "the clipboard data is truncated");
    EXPECT_EQ(pasted.shapeCount, 0);
    EXPECT_EQ(sketch.shapes.count(), 1);
}

TEST(SketchFileHostile, EndlessInputIsRefused) {
    // A stream that never ends, like a gzip bomb: refused once it passes what
    // any drawing could need, not read until memory runs out.
    class Endless final : public ByteStream {
      public:
        int32_t read(void* buffer, int32_t length) override {
            std::memset(buffer, 0x6B, static_cast<size_t>(length));
            delivered += length;
            return length;
        }
        int32_t write(const void*, int32_t) override { return -1; }
        int64_t delivered = 0;
    };
    Endless endless;
    Sketch sketch = samples::onePoint();
    const ReadResult result = readSketch(endless, sketch);
    EXPECT_FALSE(result.ok);
    EXPECT_EQ(result.error, "the file is too large");
    EXPECT_LE(endless.delivered, int64_t{256} << 20);
    EXPECT_EQ(sketch.shapes.count(), 1);
}

TEST(SketchFileHostile, DamagedGzipPagesAreRejected) {
    TempFolder folder;
    const std::string path = folder.file("page.wnk");
    ASSERT_TRUE(saveSketchFile(path, samples::varied()).ok);
    const Bytes whole = readFileBytes(path);
    struct Case {
        const char* name;
        Bytes bytes;
    };
    Bytes badCrc = whole;
    badCrc[badCrc.size() - 8] ^= 0x10;
    const Case cases[] = {{"cut in the compressed data", {whole.begin(), whole.begin() + 30}},
                          {"cut in the trailer", {whole.begin(), whole.end() - 2}},
                          {"wrong checksum", badCrc}};
    for (const Case& c : cases) {
        writeFileBytes(path, c.bytes);
        Sketch sketch = samples::onePoint();
        const ReadResult result = loadSketchFile(path, sketch);
        EXPECT_FALSE(result.ok) << c.name;
        EXPECT_EQ(result.error, "the file is damaged or truncated") << c.name;
        EXPECT_EQ(sketch.shapes.count(), 1) << c.name;
    }
}

// The fuzz targets' stored inputs (seeds and anything they found) replayed.
TEST(SketchFileHostile, StoredFuzzCorporaKeepTheirProperties) {
    const std::filesystem::path corpus = std::filesystem::path(PENWICK_SOURCE_DIR) / "fuzz/corpus";
    for (const auto& [target, check] : {std::pair{"sketch_file_fuzzer", &checks::checkSketchFile},
                                        std::pair{"clipboard_fuzzer", &checks::checkClipboard}}) {
        int files = 0;
        for (const auto& entry : std::filesystem::directory_iterator(corpus / target)) {
            const Bytes bytes = readFileBytes(entry.path().string());
            EXPECT_EQ(check(bytes.data(), bytes.size()), "") << entry.path();
            ++files;
        }
        EXPECT_GT(files, 0) << target;
    }
}
