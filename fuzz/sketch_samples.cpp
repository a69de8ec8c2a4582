#include "fuzz/sketch_samples.h"

#include <zlib.h>

#include <cstring>

#include "model/memory_stream.h"
#include "model/sketch_file.h"

namespace penwick::samples {

namespace {

Transform3D turned() {
    Transform3D t;
    t.thenScale(1.75).thenRotate(0.3).thenTranslate(Vec3d{12.5, -3.25, 0.125});
    return t;
}

}  // namespace

Sketch varied() {
    Sketch sketch;
    sketch.setWindowFit(640, 480);
    sketch.setPageTransform(turned());
    sketch.background = 0xF0E8D0;

    Shape first;
    first.colour = 0x102030;
    first.fillColour = 0xA0B0C0;
    addPoint(first.groups, 0.1, 0.2, 0.01);
    addPoint(first.groups, 0.15, 0.25, 0.02);
    startStroke(first.groups);
    addPoint(first.groups, -0.3, 0.4, 0.015);
    first.groups[0].strokes[1].points[0].selected = 1;
    startGroup(first.groups);
    addPoint(first.groups, 0.5, -0.5, 0.03);
    sketch.shapes.append(first);

    Shape ring;
    ring.colour = -1;
    ring.fillColour = 0x00FF00;
    for (int i = 0; i < 6; ++i)
        addPoint(ring.groups, 0.1 * i, 0.05 * i * i, 0.01 + 0.001 * i);
    ring.groups[0].strokes[0].closed = 1;
    ring.groups[0].strokes[0].points[2].selected = 1;
    sketch.shapes.append(ring);

    sketch.current.colour = 0x0000FF;
    sketch.current.fillColour = -1;
    addPoint(sketch.current.groups, 0.7, 0.7, 0.05);
    return sketch;
}

Sketch onePoint() {
    Sketch sketch;
    Shape shape;
    addPoint(shape.groups, 2, 3, 1);
    sketch.shapes.append(shape);
    return sketch;
}

void putInt32(Bytes& out, int32_t value) {
    unsigned char bytes[4];
    std::memcpy(bytes, &value, 4);
    out.insert(out.end(), bytes, bytes + 4);
}

void putFloat(Bytes& out, float value) {
    unsigned char bytes[4];
    std::memcpy(bytes, &value, 4);
    out.insert(out.end(), bytes, bytes + 4);
}

void putTransform(Bytes& out, const Transform3D& t) {
    const double values[12] = {t.col0.x, t.col0.y,        t.col0.z,        t.col1.x,
                               t.col1.y, t.col1.z,        t.col2.x,        t.col2.y,
                               t.col2.z, t.translation.x, t.translation.y, t.translation.z};
    const auto* bytes = reinterpret_cast<const unsigned char*>(values);
    out.insert(out.end(), bytes, bytes + sizeof values);
}

Bytes version105() {
    Bytes out;
    putInt32(out, 105);
    putInt32(out, 2);  // old strokes
    putInt32(out, 0x112233);
    putInt32(out, -1);
    putInt32(out, 2);
    for (float v : {1.0f, 2.0f, 0.5f, 3.0f, 4.0f, 0.25f})
        putFloat(out, v);
    putInt32(out, 0x445566);
    putInt32(out, 0x778899);
    putInt32(out, 3);
    for (float v : {-1.0f, -2.0f, 0.125f, -3.0f, -4.0f, 0.0625f, -5.0f, -6.0f, 0.03125f})
        putFloat(out, v);
    // The unfinished stroke, dropped on reading.
    putInt32(out, 0);
    putInt32(out, -1);
    putInt32(out, 1);
    for (float v : {9.0f, 9.0f, 9.0f})
        putFloat(out, v);
    Transform3D page = turned();
    Transform3D fit;
    fit.thenScale(280).thenTranslate(Vec3d{320, 240, 0});
    Transform3D stale;
    stale.setDiagonal(7);
    putTransform(out, page);
    putTransform(out, fit);
    putTransform(out, stale);
    putInt32(out, 0xEEDDCC);
    return out;
}

Bytes version106() {
    Bytes out;
    putInt32(out, 106);
    putInt32(out, 1);  // shapes
    putInt32(out, 1);  // groups
    putInt32(out, 2);  // strokes
    for (int stroke = 0; stroke < 2; ++stroke) {
        out.push_back(stroke == 1 ? 1 : 0);  // closed
        putInt32(out, 2);
        for (int p = 0; p < 2; ++p) {
            putFloat(out, 1.0f + stroke + p);
            putFloat(out, 2.0f * p);
            putFloat(out, 0.5f);
            out.push_back(1);               // on the curve
            out.push_back(p == 1 ? 1 : 0);  // selected
            out.push_back(0xAB);            // reserved bytes hold anything
            out.push_back(0xCD);
        }
    }
    putInt32(out, 0x123456);
    putInt32(out, 0x654321);
    // The shape being drawn: no groups, pen colours.
    putInt32(out, 0);
    putInt32(out, 0xFF0000);
    putInt32(out, -1);
    Transform3D page = turned();
    Transform3D fit;
    fit.thenScale(100);
    Transform3D stale;
    stale.setDiagonal(3);
    putTransform(out, page);
    putTransform(out, fit);
    putTransform(out, stale);
    putInt32(out, 0x0A0B0C);
    return out;
}

Bytes payloadOf(const Sketch& sketch) {
    MemoryStream stream;
    writeSketch(stream, sketch);
    return {stream.data(), stream.data() + stream.size()};
}

Bytes clipboardOf(const Sketch& sketch) {
    MemoryStream stream;
    writeClipboard(stream, sketch);
    return {stream.data(), stream.data() + stream.size()};
}

Bytes gzipOf(const Bytes& payload) {
    z_stream z{};
    deflateInit2(&z, Z_DEFAULT_COMPRESSION, Z_DEFLATED, 15 + 16, 8, Z_DEFAULT_STRATEGY);
    Bytes out(deflateBound(&z, payload.size()) + 32);
    z.next_in = const_cast<unsigned char*>(payload.data());
    z.avail_in = static_cast<uInt>(payload.size());
    z.next_out = out.data();
    z.avail_out = static_cast<uInt>(out.size());
    deflate(&z, Z_FINISH);
    out.resize(z.total_out);
    deflateEnd(&z);
    return out;
}

}  // namespace penwick::samples
