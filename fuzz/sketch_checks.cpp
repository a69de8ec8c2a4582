#include "fuzz/sketch_checks.h"

#include <sys/mman.h>
#include <unistd.h>

#include <zlib.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "fuzz/memory_meter.h"
#include "fuzz/sketch_samples.h"
#include "model/deflate_file.h"
#include "model/gz_stream.h"
#include "model/memory_stream.h"
#include "model/sketch_file.h"

namespace penwick::checks {

namespace {

using samples::Bytes;

// Everything of a sketch that reading may change, as comparable bytes.
Bytes stateOf(const Sketch& sketch) {
    Bytes state = samples::payloadOf(sketch);
    samples::putTransform(state, sketch.viewTransform());
    samples::putInt32(state, sketch.insertIndex);
    samples::putInt32(state, static_cast<int32_t>(sketch.editLevel));
    for (const Shape& shape : sketch.shapes)
        state.push_back(shape.selected);
    return state;
}

// A target with content of its own, so that any change shows.
Sketch target() {
    Sketch sketch = samples::varied();
    sketch.insertIndex = 1;
    sketch.editLevel = EditLevel::Point;
    return sketch;
}

MemoryStream streamOf(const uint8_t* data, size_t size) {
    return MemoryStream(data, static_cast<int32_t>(size));
}

std::string checkRead(ByteStream& input, const char* how) {
    Sketch sketch = target();
    const Bytes before = stateOf(sketch);
    const ReadResult result = readSketch(input, sketch);
    if (!result) {
        if (result.error.empty()) return std::string(how) + ": rejected without a reason";
        if (stateOf(sketch) != before)
            return std::string(how) + ": a rejected input changed the sketch";
        return {};
    }
    if (sketch.insertIndex != -1 || sketch.editLevel != EditLevel::Shape)
        return std::string(how) + ": a read sketch keeps the old insertion point or level";
    // Compared as bytes: a damaged file may well hold NaNs.
    const Transform3D view = Transform3D::compose(sketch.fitTransform(), sketch.pageTransform());
    if (std::memcmp(&view, &sketch.viewTransform(), sizeof view) != 0)
        return std::string(how) + ": the view transform was not recomputed";
    // Written again and read back: the same sketch.
    const Bytes written = samples::payloadOf(sketch);
    MemoryStream again = streamOf(written.data(), written.size());
    Sketch reread = target();
    const ReadResult second = readSketch(again, reread);
    if (!second) return std::string(how) + ": its own output was rejected: " + second.error;
    if (stateOf(reread) != stateOf(sketch))
        return std::string(how) + ": writing and reading again changed the sketch";
    return {};
}

// zlib's reader on a copy of the descriptor, from the file's start.
bool openThroughZlib(int fd, GzStream& gz) {
    const int copy = ::dup(fd);
    if (copy < 0) return false;
    if (::lseek(copy, 0, SEEK_SET) != 0 || !gz.openDescriptor(copy, "rb")) {
        ::close(copy);
        return false;
    }
    return true;
}

// The page loader decompresses what it can in one call through libdeflate
// and leaves the rest to zlib: whatever path it takes, it must answer
// exactly as zlib's reader does, and where libdeflate takes the bytes they
// must be the very bytes zlib delivers.
std::string checkPageLoader(int fd, const uint8_t* data, size_t size) {
    GzStream whole;
    if (!openThroughZlib(fd, whole)) return {};
    std::vector<unsigned char> zlibBytes;
    bool zlibSound = true;
    unsigned char chunk[65536];
    // The reader's own cap; beyond it the comparison would only measure memory.
    constexpr size_t kLimit = size_t{256} << 20;
    for (;;) {
        const int32_t got = whole.read(chunk, sizeof chunk);
        if (got < 0) zlibSound = false;
        if (got <= 0) break;
        zlibBytes.insert(zlibBytes.end(), chunk, chunk + got);
        if (zlibBytes.size() > kLimit) return {};
    }
    InflatedFile inflated;
    if (inflateWholeGzip(data, size, kLimit, inflated)) {
        if (!zlibSound) return "libdeflate took gzip data that zlib refuses";
        if (inflated.size != zlibBytes.size() ||
            !std::equal(zlibBytes.begin(), zlibBytes.end(), inflated.bytes.get()))
            return "libdeflate and zlib decompress to different bytes";
    }

    GzStream gz;
    if (!openThroughZlib(fd, gz)) return {};
    Sketch viaZlib = target();
    const ReadResult expected = readSketch(gz, viaZlib);
    Sketch viaLoader = target();
    const ReadResult loaded = loadSketchFile("/proc/self/fd/" + std::to_string(fd), viaLoader);
    if (loaded.ok != expected.ok || loaded.error != expected.error ||
        loaded.shapeCount != expected.shapeCount)
        return "the page loader says \"" + loaded.error + "\" where zlib's reader says \"" +
               expected.error + "\"";
    if (stateOf(viaLoader) != stateOf(viaZlib))
        return "the page loader and zlib's reader give different sketches";
    return {};
}

}  // namespace

std::string checkSketchFile(const uint8_t* data, size_t size) {
    if (size > INT32_MAX) return {};
    {
        MemoryStream raw = streamOf(data, size);
        const std::string problem = checkRead(raw, "raw");
        if (!problem.empty()) return problem;
    }
    if (size >= 2 && data[0] == 0x1F && data[1] == 0x8B) {
        // Through the gzip reader, from a file that lives only in memory.
        const int fd = ::memfd_create("penwick-sketch", MFD_CLOEXEC);
        if (fd < 0) return {};
        const bool written =
            ::write(fd, data, size) == static_cast<ssize_t>(size) && ::lseek(fd, 0, SEEK_SET) == 0;
        if (!written) {
            ::close(fd);
            return {};
        }
        std::string problem;
        GzStream gz;
        if (openThroughZlib(fd, gz)) problem = checkRead(gz, "gzip");
        if (problem.empty()) problem = checkPageLoader(fd, data, size);
        ::close(fd);
        return problem;
    }
    return {};
}

std::string checkClipboard(const uint8_t* data, size_t size) {
    if (size > INT32_MAX) return {};
    Sketch sketch = target();
    sketch.selectAll(false);
    const Bytes before = stateOf(sketch);
    const int32_t shapesBefore = sketch.shapes.count();
    MemoryStream input = streamOf(data, size);
    const ReadResult result = pasteClipboard(input, sketch);
    if (!result) {
        if (result.error.empty()) return "rejected without a reason";
        if (stateOf(sketch) != before) return "a rejected payload changed the sketch";
        return {};
    }
    if (sketch.shapes.count() != shapesBefore + result.shapeCount)
        return "the shape count does not match the number pasted";
    if (sketch.insertIndex != 1) return "pasting moved the insertion point";
    for (int32_t i = 0; i < sketch.shapes.count(); ++i) {
        const bool pasted = i >= 1 && i < 1 + result.shapeCount;
        if ((sketch.shapes[i].selected != 0) != pasted)
            return "the pasted shapes are not exactly the selected ones, at the insertion point";
    }
    // Copied again (the pasted shapes are the selection) and pasted into an
    // empty sketch: the same shapes. An empty paste selects nothing, and then
    // every shape would be copied; that case has nothing more to show.
    if (result.shapeCount == 0) return {};
    const Bytes copied = samples::clipboardOf(sketch);
    Sketch other;
    MemoryStream again = streamOf(copied.data(), copied.size());
    const ReadResult second = pasteClipboard(again, other);
    if (!second || second.shapeCount != result.shapeCount)
        return "its own copy could not be pasted again";
    if (samples::clipboardOf(other) != copied)
        return "copying and pasting again changed the shapes";
    return {};
}

namespace {

// The bytes of a gzip input, decompressed in memory up to `most` bytes;
// empty when they are not gzip or damaged.
Bytes gunzipped(const uint8_t* data, size_t size, size_t most) {
    Bytes out;
    z_stream z{};
    if (inflateInit2(&z, 16 + MAX_WBITS) != Z_OK) return out;
    z.next_in = const_cast<Bytef*>(data);
    z.avail_in = uInt(size);
    int status = Z_OK;
    while (status == Z_OK && out.size() < most) {
        const size_t had = out.size();
        out.resize(std::min(most, had + (size_t{1} << 20)));
        z.next_out = out.data() + had;
        z.avail_out = uInt(out.size() - had);
        status = inflate(&z, Z_NO_FLUSH);
        out.resize(out.size() - z.avail_out);
    }
    inflateEnd(&z);
    if (status != Z_STREAM_END) out.clear();
    return out;
}

std::string measuredRead(const uint8_t* data, size_t size) {
    ReadLimits limits;
    limits.headroomBytes = kReadMemoryHeadroom;
    Sketch sketch;
    size_t peak = 0;
    {
        // The input lives outside the measure, as a file's bytes live in
        // the kernel's cache and not in our memory.
        MemoryStream input = streamOf(data, size);
        const PeakMeasure measure;
        const ReadResult result = readSketch(input, sketch, limits);
        peak = measure.peak();
        if (!result && result.error.empty()) return "rejected without a reason";
    }
    const size_t allowed = limits.memoryPerByte * size + limits.headroomBytes;
    if (peak > allowed) {
        return "reading " + std::to_string(size) + " bytes took " + std::to_string(peak) +
               " bytes of memory, more than " + std::to_string(allowed);
    }
    return {};
}

}  // namespace

std::string checkReadMemory(const uint8_t* data, size_t size) {
    if (size > INT32_MAX || !meterInstalled()) return {};
    if (size >= 2 && data[0] == 0x1F && data[1] == 0x8B) {
        // A small gzip file can stand for a large decompressed one.
        const Bytes plain = gunzipped(data, size, size_t{64} << 20);
        if (!plain.empty()) {
            const std::string problem = measuredRead(plain.data(), plain.size());
            if (!problem.empty()) return "decompressed: " + problem;
        }
    }
    return measuredRead(data, size);
}

}  // namespace penwick::checks
