// Reading sketch files (versions 107, 106, 105) and clipboard payloads.
//
// The bytes come from anywhere (a damaged disk, another program's clipboard
// data), so they are never trusted: the whole input is first read into memory
// in chunks that grow only as data really arrives, then decoded with every
// count checked against the bytes left, into new objects that replace the
// target's only when everything was read. Every allocation of the decoding
// is charged to a memory budget first (ReadLimits), so that records which
// take far more memory than file (an empty group: 4 bytes on file, 32 in
// memory) cannot make a small file cost gigabytes.
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <memory>
#include <utility>
#include <vector>

#include "model/deflate_file.h"
#include "model/gz_stream.h"
#include "model/payload_reader.h"
#include "model/regular_file.h"
#include "model/sketch_file.h"

namespace penwick {

namespace {

constexpr size_t kFirstChunk = 4096;
// What the allocator keeps beside each block, charged with it.
constexpr size_t kAllocationOverhead = 16;
// What a stream may hold while it is read (zlib's buffers and window).
constexpr size_t kStreamWorkingMemory = size_t{512} << 10;

constexpr int32_t kOldVersion105 = 105;
constexpr int32_t kOldVersion106 = 106;

// The fewest bytes each record can take, to bound counts by the data left.
constexpr size_t kPointSize = 16;
constexpr size_t kOldPointSize = 12;
constexpr size_t kMinStrokeSize = 1 + 4;
constexpr size_t kMinGroupSize = 4;
constexpr size_t kMinShapeSize = 4 + 4 + 4;
constexpr size_t kMinOldStrokeSize = 4 + 4 + 4;
constexpr size_t kTransformSize = 96;
constexpr size_t kMinPageSize = 4 + kMinShapeSize + 2 * kTransformSize + 4;

// Everything a stream delivered, in one buffer.
struct Input {
    std::unique_ptr<unsigned char[]> bytes;
    size_t size = 0;
    size_t capacity = 0;
    std::string error;
};

// Everything the stream delivers. The buffer doubles only when full, so it
// is never more than about twice the data that really arrived (no count in
// the data decides it), and it is not cleared first: only delivered bytes
// are ever looked at.
Input readAll(ByteStream& stream, const char* what, size_t maxInputBytes) {
    Input input;
    for (;;) {
        size_t& capacity = input.capacity;
        if (input.size == capacity) {
            if (capacity >= maxInputBytes) {
                input.error = std::string(what) + " is too large";
                return input;
            }
            const size_t grown = std::min(std::max(kFirstChunk, capacity * 2), maxInputBytes);
            auto buffer = std::make_unique_for_overwrite<unsigned char[]>(grown);
            if (input.size > 0) std::memcpy(buffer.get(), input.bytes.get(), input.size);
            input.bytes = std::move(buffer);
            capacity = grown;
        }
        const size_t ask = std::min(capacity - input.size, size_t{INT32_MAX});
        const int32_t got = stream.read(input.bytes.get() + input.size, static_cast<int32_t>(ask));
        if (got < 0) {
            input.error = std::string(what) + " is damaged or truncated";
            return input;
        }
        if (got == 0) return input;
        input.size += static_cast<size_t>(got);
    }
}

// The memory decoding may still take: the limits' allowance for the input,
// less the input buffer itself and what the records decoded so far hold.
class MemoryBudget {
  public:
    MemoryBudget(const Input& input, const ReadLimits& limits) {
        const size_t allowed = limits.memoryPerByte * input.size + limits.headroomBytes;
        const size_t buffer = input.capacity + kAllocationOverhead + kStreamWorkingMemory;
        start_ = allowed > buffer ? allowed - buffer : 0;
        left_ = start_;
    }

    // Charges an array of n elements of T as DynArray allocates it (with
    // its spare capacity); false when it does not fit.
    template <class T>
    bool charge(int32_t n) {
        if (n <= 0) return true;
        const size_t bytes =
            size_t(DynArray<T>::grownCapacity(n)) * sizeof(T) + kAllocationOverhead;
        if (bytes > left_) return false;
        left_ -= bytes;
        return true;
    }
    // Everything charged so far was freed.
    void refund() { left_ = start_; }

  private:
    size_t start_ = 0;
    size_t left_ = 0;
};

class Decoder {
  public:
    Decoder(PayloadReader& in, MemoryBudget& budget, const char* what)
        : in_(in), budget_(budget), what_(what) {}

    const std::string& error() const { return error_; }

    bool truncated() { return fail("is truncated"); }
    bool damaged() { return fail("is damaged"); }
    bool tooMany() { return fail("holds too many records for its size"); }

    // Room for n elements of T, or the reason why there is none.
    template <class T>
    bool charge(int32_t n) {
        return budget_.charge<T>(n) || tooMany();
    }

    bool int32(int32_t& value) { return in_.readInt32(value) || truncated(); }

    // A count of records of at least `minimumSize` bytes each.
    bool count(int32_t& n, size_t minimumSize) {
        if (!int32(n)) return false;
        if (n < 0) return damaged();
        return in_.canHold(n, minimumSize) || truncated();
    }

    bool transform(Transform3D& t) {
        double values[12];
        if (!in_.readBlock(values, sizeof values)) return truncated();
        t.col0 = {values[0], values[1], values[2]};
        t.col1 = {values[3], values[4], values[5]};
        t.col2 = {values[6], values[7], values[8]};
        t.translation = {values[9], values[10], values[11]};
        return true;
    }

    bool points(DynArray<StrokePoint>& points) {
        int32_t n = 0;
        if (!count(n, kPointSize)) return false;
        if (!charge<StrokePoint>(n)) return false;
        const unsigned char* records = in_.take(static_cast<size_t>(n) * kPointSize);
        points.resize(n);
        StrokePoint* out = points.items();
        for (int32_t i = 0; i < n; ++i) {
            const unsigned char* record = records + static_cast<size_t>(i) * kPointSize;
            std::memcpy(&out[i].x, record, 4);
            std::memcpy(&out[i].y, record + 4, 4);
            std::memcpy(&out[i].radius, record + 8, 4);
            out[i].onCurve = record[12];
            out[i].selected = record[13];
            // Bytes 14 and 15 are reserved and ignored.
        }
        return true;
    }

    bool shape(Shape& shape) {
        int32_t groupCount = 0;
        if (!count(groupCount, kMinGroupSize) || !charge<StrokeGroup>(groupCount)) return false;
        shape.groups.resize(groupCount);
        for (StrokeGroup& group : shape.groups) {
            int32_t strokeCount = 0;
            if (!count(strokeCount, kMinStrokeSize) || !charge<Stroke>(strokeCount)) return false;
            group.strokes.resize(strokeCount);
            for (Stroke& stroke : group.strokes) {
                if (!in_.readByte(stroke.closed)) return truncated();
                if (!points(stroke.points)) return false;
            }
        }
        return int32(shape.colour) && int32(shape.fillColour);
    }

    bool shapeList(DynArray<Shape>& shapes) {
        int32_t n = 0;
        if (!count(n, kMinShapeSize) || !charge<Shape>(n)) return false;
        shapes.resize(n);
        for (Shape& shape : shapes)
            if (!this->shape(shape)) return false;
        return true;
    }

    // A stroke of version 105: colours, then points of x, y and radius
    // only. It becomes a shape of one group of one stroke (none when it has
    // no points), built at its full size at once: growing it point by point
    // would copy a long stroke over and over.
    bool oldStroke(Shape& shape) {
        int32_t n = 0;
        if (!int32(shape.colour) || !int32(shape.fillColour) || !count(n, kOldPointSize))
            return false;
        if (n == 0) return true;
        if (!charge<StrokeGroup>(1) || !charge<Stroke>(1) || !charge<StrokePoint>(n)) return false;
        const unsigned char* records = in_.take(static_cast<size_t>(n) * kOldPointSize);
        shape.groups.resize(1);
        shape.groups[0].strokes.resize(1);
        DynArray<StrokePoint>& points = shape.groups[0].strokes[0].points;
        points.resize(n);
        for (int32_t i = 0; i < n; ++i) {
            const unsigned char* record = records + static_cast<size_t>(i) * kOldPointSize;
            StrokePoint& point = points[i];
            std::memcpy(&point.x, record, 4);
            std::memcpy(&point.y, record + 4, 4);
            std::memcpy(&point.radius, record + 8, 4);
            point.onCurve = 1;
            point.selected = 0;
        }
        return true;
    }

    // A stroke of version 105 that is read and dropped.
    bool skipOldStroke() {
        int32_t colour = 0, fillColour = 0, n = 0;
        if (!int32(colour) || !int32(fillColour) || !count(n, kOldPointSize)) return false;
        in_.take(static_cast<size_t>(n) * kOldPointSize);
        return true;
    }

  private:
    bool fail(const char* how) {
        if (error_.empty()) error_ = std::string(what_) + " " + how;
        return false;
    }

    PayloadReader& in_;
    MemoryBudget& budget_;
    const char* what_;
    std::string error_;
};

// What a file holds, decoded but not yet given to the sketch.
struct Page {
    DynArray<Shape> shapes;
    Shape current;
    bool hasCurrent = false;
    Transform3D pageTransform;
    Transform3D fitTransform;
    int32_t background = 0xFFFFFF;
};

bool readPage107(Decoder& in, Page& page) {
    page.hasCurrent = true;
    return in.shapeList(page.shapes) && in.shape(page.current) &&
           in.transform(page.pageTransform) && in.transform(page.fitTransform) &&
           in.int32(page.background);
}

bool readPage106(Decoder& in, Page& page) {
    Transform3D view;  // recomputed from the other two
    page.hasCurrent = true;
    return in.shapeList(page.shapes) && in.shape(page.current) &&
           in.transform(page.pageTransform) && in.transform(page.fitTransform) &&
           in.transform(view) && in.int32(page.background);
}

bool readPage105(Decoder& in, Page& page) {
    int32_t n = 0;
    if (!in.count(n, kMinOldStrokeSize) || !in.charge<Shape>(n)) return false;
    page.shapes.resize(n);
    for (Shape& shape : page.shapes)
        if (!in.oldStroke(shape)) return false;
    Transform3D view;
    // The stroke being drawn when the file was saved is dropped.
    return in.skipOldStroke() && in.transform(page.pageTransform) &&
           in.transform(page.fitTransform) && in.transform(view) && in.int32(page.background);
}

void apply(Page& page, Sketch& sketch) {
    sketch.clear();
    sketch.shapes = std::move(page.shapes);
    if (page.hasCurrent) sketch.current = std::move(page.current);
    sketch.setPageTransform(page.pageTransform);
    sketch.setFitTransform(page.fitTransform);
    sketch.background = static_cast<uint32_t>(page.background);
}

std::string unknownVersion(int32_t version) {
    // Small numbers look like versions of this format; anything else is some
    // other kind of file.
    if (version > 0 && version < 65536) return "unsupported version " + std::to_string(version);
    return "not a Penwick sketch";
}

// Decodes a whole decompressed file.
ReadResult decodeSketch(const Input& input, Sketch& sketch, const ReadLimits& limits) {
    if (input.size == 0) {
        sketch.clear();
        return {true, {}, 0};
    }
    PayloadReader reader(input.bytes.get(), input.size);
    MemoryBudget budget(input, limits);
    Decoder in(reader, budget, "the file");
    int32_t version = 0;
    if (!in.int32(version)) return {false, in.error(), 0};

    Page page;
    bool ok = false;
    switch (version) {
        case kSketchVersion: {
            int32_t pages = 0;
            if (!in.count(pages, kMinPageSize)) return {false, in.error(), 0};
            if (pages == 0) {
                sketch.clear();
                return {true, {}, 0};
            }
            // With several pages the last one read stands.
            ok = true;
            for (int32_t i = 0; i < pages && ok; ++i) {
                page = Page{};
                budget.refund();
                ok = readPage107(in, page);
            }
            break;
        }
        case kOldVersion106:
            ok = readPage106(in, page);
            break;
        case kOldVersion105:
            ok = readPage105(in, page);
            break;
        default:
            return {false, unknownVersion(version), 0};
    }
    if (!ok) return {false, in.error(), 0};
    const int32_t shapeCount = page.shapes.count();
    apply(page, sketch);
    return {true, {}, shapeCount};
}

}  // namespace

ReadResult readSketch(ByteStream& stream, Sketch& sketch, const ReadLimits& limits) {
    Input input = readAll(stream, "the file", limits.maxInputBytes);
    if (!input.error.empty()) return {false, input.error, 0};
    return decodeSketch(input, sketch, limits);
}

ReadResult pasteClipboard(ByteStream& stream, Sketch& sketch, const ReadLimits& limits) {
    Input input = readAll(stream, "the clipboard data", limits.maxInputBytes);
    if (!input.error.empty()) return {false, input.error, 0};
    PayloadReader reader(input.bytes.get(), input.size);
    int32_t magic = 0, version = 0;
    if (!reader.readInt32(magic) || !reader.readInt32(version) || magic != kClipboardMagic ||
        version != kSketchVersion) {
        return {false, "not Penwick clipboard data", 0};
    }
    MemoryBudget budget(input, limits);
    Decoder in(reader, budget, "the clipboard data");
    DynArray<Shape> pasted;
    if (!in.shapeList(pasted)) return {false, in.error(), 0};

    const int32_t n = pasted.count();
    for (Shape& shape : pasted)
        shape.selected = 1;
    const int32_t at = sketch.insertIndex;
    // One pass instead of n insertions, so a large paste costs no more than
    // moving the list's handles once.
    sketch.shapes.insertAll(at >= 0 ? at : sketch.shapes.count(), std::move(pasted));
    return {true, {}, n};
}

ReadResult loadSketchFile(const std::string& path, Sketch& sketch) {
    RegularFile file = openRegularFile(path);
    if (file.fd < 0) return {false, file.error, 0};
    if (file.size == 0) {
        // Every gzip file has a header; a page of 0 bytes was cut off (by a
        // crash of whatever wrote it), not saved empty.
        ::close(file.fd);
        return {false, "the file is empty", 0};
    }
    // A page as this program writes it decompresses in one call; zlib reads
    // everything else and says what is wrong with a file that is not sound.
    const ReadLimits limits;
    InflatedFile whole;
    if (inflateWholeGzipFile(file.fd, limits.maxInputBytes, whole)) {
        ::close(file.fd);
        Input input;
        input.bytes = std::move(whole.bytes);
        input.size = whole.size;
        input.capacity = whole.size;
        return decodeSketch(input, sketch, limits);
    }
    GzStream stream;
    if (!stream.openDescriptor(file.fd, "rb")) {
        ::close(file.fd);
        return {false, "the file could not be opened (no memory for the decompressor)", 0};
    }
    return readSketch(stream, sketch);
}

}  // namespace penwick
