// Writing sketch files and clipboard payloads.
#include <array>
#include <cstring>

#include "model/sketch_file.h"

namespace penwick {

namespace {

constexpr int32_t kPointRecordSize = 16;
// Points go out in blocks of this many records, so that a large stroke costs
// a few large writes instead of one small write per point.
constexpr int32_t kPointsPerBlock = 4096;

void writePoints(ByteStream& stream, const DynArray<StrokePoint>& points) {
    std::array<unsigned char, kPointsPerBlock * kPointRecordSize> block;
    const int32_t count = points.count();
    for (int32_t first = 0; first < count; first += kPointsPerBlock) {
        const int32_t n = std::min(kPointsPerBlock, count - first);
        for (int32_t i = 0; i < n; ++i) {
            const StrokePoint& point = points[first + i];
            unsigned char* record = block.data() + i * kPointRecordSize;
            std::memcpy(record, &point.x, 4);
            std::memcpy(record + 4, &point.y, 4);
            std::memcpy(record + 8, &point.radius, 4);
            record[12] = point.onCurve;
            record[13] = point.selected;
            record[14] = 0;  // reserved
            record[15] = 0;
        }
        stream.writeBlock(block.data(), n * kPointRecordSize);
    }
}

void writeShape(ByteStream& stream, const Shape& shape) {
    stream.writeInt32(shape.groups.count());
    for (const StrokeGroup& group : shape.groups) {
        stream.writeInt32(group.strokes.count());
        for (const Stroke& stroke : group.strokes) {
            stream.writeByte(stroke.closed);
            stream.writeInt32(stroke.points.count());
            writePoints(stream, stroke.points);
        }
    }
    stream.writeInt32(shape.colour);
    stream.writeInt32(shape.fillColour);
}

void writeTransform(ByteStream& stream, const Transform3D& t) {
    const double values[12] = {t.col0.x, t.col0.y,        t.col0.z,        t.col1.x,
                               t.col1.y, t.col1.z,        t.col2.x,        t.col2.y,
                               t.col2.z, t.translation.x, t.translation.y, t.translation.z};
    stream.writeBlock(values, sizeof values);
}

}  // namespace

void writeSketch(ByteStream& stream, const Sketch& sketch) {
    stream.writeInt32(kSketchVersion);
    stream.writeInt32(1);  // page count
    stream.writeInt32(sketch.shapes.count());
    for (const Shape& shape : sketch.shapes)
        writeShape(stream, shape);
    writeShape(stream, sketch.current);
    writeTransform(stream, sketch.pageTransform());
    writeTransform(stream, sketch.fitTransform());
    stream.writeInt32(static_cast<int32_t>(sketch.background));
}

int32_t writeClipboard(ByteStream& stream, const Sketch& sketch) {
    const bool onlySelected = sketch.selectedShapeCount() > 0;
    int32_t count = 0;
    for (const Shape& shape : sketch.shapes)
        if (!onlySelected || shape.selected) ++count;
    stream.writeInt32(kClipboardMagic);
    stream.writeInt32(kSketchVersion);
    stream.writeInt32(count);
    for (const Shape& shape : sketch.shapes)
        if (!onlySelected || shape.selected) writeShape(stream, shape);
    return count;
}

SaveResult saveSketchFile(const std::string& path, const Sketch& sketch) {
    return safeSave(path, SaveCompression::Gzip, [&sketch](ByteStream& stream) {
        writeSketch(stream, sketch);
        return true;
    });
}

}  // namespace penwick
