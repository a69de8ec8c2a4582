#include "model/sketch_file.h"

#include <gtest/gtest.h>

#include <cstring>

#include "fuzz/sketch_samples.h"
#include "model/memory_stream.h"
#include "model/outline.h"
#include "tests/support/temp_folder.h"

using namespace penwick;
using samples::Bytes;

namespace {

MemoryStream streamOf(const Bytes& bytes) {
    return MemoryStream(bytes.data(), static_cast<int32_t>(bytes.size()));
}

int32_t int32At(const Bytes& bytes, size_t offset) {
    int32_t value;
    std::memcpy(&value, bytes.data() + offset, 4);
    return value;
}

void expectSameShape(const Shape& a, const Shape& b) {
    EXPECT_EQ(a.colour, b.colour);
    EXPECT_EQ(a.fillColour, b.fillColour);
    ASSERT_EQ(a.groups.count(), b.groups.count());
    for (int32_t g = 0; g < a.groups.count(); ++g) {
        ASSERT_EQ(a.groups[g].strokes.count(), b.groups[g].strokes.count());
        for (int32_t s = 0; s < a.groups[g].strokes.count(); ++s) {
            const Stroke& x = a.groups[g].strokes[s];
            const Stroke& y = b.groups[g].strokes[s];
            EXPECT_EQ(x.closed, y.closed);
            ASSERT_EQ(x.points.count(), y.points.count());
            for (int32_t p = 0; p < x.points.count(); ++p)
                EXPECT_EQ(x.points[p], y.points[p]);
        }
    }
}

// A sketch with state of its own, to see what reading replaces.
Sketch busy() {
    Sketch sketch = samples::onePoint();
    sketch.setWindowFit(100, 60);
    sketch.insertIndex = 0;
    sketch.editLevel = EditLevel::Group;
    sketch.background = 0x123456;
    sketch.current.colour = 0x00AA00;
    return sketch;
}

}  // namespace

TEST(SketchFile, EmptySketchIs220Bytes) {
    Sketch empty;
    const Bytes bytes = samples::payloadOf(empty);
    ASSERT_EQ(bytes.size(), 220u);  // 8 + 4 + 12 + 192 + 4
    EXPECT_EQ(int32At(bytes, 0), 107);
    EXPECT_EQ(int32At(bytes, 4), 1);    // page count
    EXPECT_EQ(int32At(bytes, 8), 0);    // shapes
    EXPECT_EQ(int32At(bytes, 12), 0);   // groups of the shape being drawn
    EXPECT_EQ(int32At(bytes, 16), 0);   // its ink: black
    EXPECT_EQ(int32At(bytes, 20), -1);  // no fill
    Bytes identity;
    samples::putTransform(identity, Transform3D{});
    EXPECT_TRUE(std::equal(identity.begin(), identity.end(), bytes.begin() + 24));
    EXPECT_TRUE(std::equal(identity.begin(), identity.end(), bytes.begin() + 120));
    EXPECT_EQ(int32At(bytes, 216), 0xFFFFFF);

    Sketch back = busy();
    MemoryStream stream = streamOf(bytes);
    const ReadResult result = readSketch(stream, back);
    EXPECT_TRUE(result.ok) << result.error;
    EXPECT_EQ(back.shapes.count(), 0);
    EXPECT_EQ(back.current.groups.count(), 0);
    EXPECT_EQ(back.current.colour, 0);
    EXPECT_EQ(back.background, 0xFFFFFFu);
    EXPECT_EQ(back.insertIndex, -1);
    EXPECT_EQ(back.editLevel, EditLevel::Shape);
}

TEST(SketchFile, OnePointStrokeLayout) {
    const Bytes bytes = samples::payloadOf(samples::onePoint());
    // The shape list grows by 4 (group count) + 4 (stroke count) + 1 (closed)
    // + 4 (point count) + 16 (point) + 8 (colours).
    ASSERT_EQ(bytes.size(), 220u + 37u);
    EXPECT_EQ(int32At(bytes, 8), 1);   // shapes
    EXPECT_EQ(int32At(bytes, 12), 1);  // groups
    EXPECT_EQ(int32At(bytes, 16), 1);  // strokes
    EXPECT_EQ(bytes[20], 0);           // not closed
    EXPECT_EQ(int32At(bytes, 21), 1);  // points
    const unsigned char point[16] = {0, 0, 0, 0x40, 0, 0, 0x40, 0x40, 0, 0, 0x80, 0x3F, 1, 0, 0, 0};
    EXPECT_TRUE(std::equal(point, point + 16, bytes.begin() + 25));
    EXPECT_EQ(int32At(bytes, 41), 0);   // ink
    EXPECT_EQ(int32At(bytes, 45), -1);  // fill
}

TEST(SketchFile, RoundTripKeepsGeometryColoursViewAndPointMarks) {
    Sketch original = samples::varied();
    original.shapes[0].selected = 1;
    original.shapes[0].groups[0].selected = 1;
    original.shapes[0].groups[0].strokes[0].selected = 1;
    original.insertIndex = 1;
    original.editLevel = EditLevel::Point;

    MemoryStream stream;
    writeSketch(stream, original);
    stream.setPosition(0);
    Sketch back = busy();
    const ReadResult result = readSketch(stream, back);
    ASSERT_TRUE(result.ok) << result.error;
    EXPECT_EQ(result.shapeCount, 2);

    ASSERT_EQ(back.shapes.count(), 2);
    for (int32_t i = 0; i < 2; ++i)
        expectSameShape(back.shapes[i], original.shapes[i]);
    expectSameShape(back.current, original.current);
    EXPECT_EQ(back.pageTransform(), original.pageTransform());
    EXPECT_EQ(back.fitTransform(), original.fitTransform());
    EXPECT_EQ(back.viewTransform(), original.viewTransform());
    EXPECT_EQ(back.background, 0xF0E8D0u);
    // Point marks survive; shape, group and stroke marks and the editing state do not.
    EXPECT_EQ(back.shapes[0].groups[0].strokes[1].points[0].selected, 1);
    EXPECT_EQ(back.shapes[1].groups[0].strokes[0].points[2].selected, 1);
    EXPECT_EQ(back.shapes[0].selected, 0);
    EXPECT_EQ(back.shapes[0].groups[0].selected, 0);
    EXPECT_EQ(back.shapes[0].groups[0].strokes[0].selected, 0);
    EXPECT_EQ(back.insertIndex, -1);
    EXPECT_EQ(back.editLevel, EditLevel::Shape);
    // Writing what was read gives the same bytes.
    EXPECT_EQ(samples::payloadOf(back), samples::payloadOf(original));
}

TEST(SketchFile, ClosedStrokeStaysAClosedRing) {
    Sketch back;
    MemoryStream stream = streamOf(samples::payloadOf(samples::varied()));
    ASSERT_TRUE(readSketch(stream, back).ok);
    const Stroke& ring = back.shapes[1].groups[0].strokes[0];
    EXPECT_EQ(ring.closed, 1);
    // A closed stroke is outlined as a ring: an outer and an inner contour.
    EXPECT_EQ(outline(ring).contours.count(), 2);
    EXPECT_EQ(back.shapes[0].groups[0].strokes[0].closed, 0);
}

TEST(SketchFile, ReadsVersion106) {
    Sketch back = busy();
    MemoryStream stream = streamOf(samples::version106());
    const ReadResult result = readSketch(stream, back);
    ASSERT_TRUE(result.ok) << result.error;
    ASSERT_EQ(back.shapes.count(), 1);
    const Shape& shape = back.shapes[0];
    EXPECT_EQ(shape.colour, 0x123456);
    EXPECT_EQ(shape.fillColour, 0x654321);
    ASSERT_EQ(shape.groups.count(), 1);
    ASSERT_EQ(shape.groups[0].strokes.count(), 2);
    EXPECT_EQ(shape.groups[0].strokes[0].closed, 0);
    EXPECT_EQ(shape.groups[0].strokes[1].closed, 1);
    const StrokePoint& p = shape.groups[0].strokes[1].points[1];
    EXPECT_EQ(p.x, 3.0f);
    EXPECT_EQ(p.y, 2.0f);
    EXPECT_EQ(p.radius, 0.5f);
    EXPECT_EQ(p.onCurve, 1);
    EXPECT_EQ(p.selected, 1);
    EXPECT_EQ(back.current.groups.count(), 0);
    EXPECT_EQ(back.current.colour, 0xFF0000);
    EXPECT_EQ(back.background, 0x0A0B0Cu);
    Transform3D fit;
    fit.thenScale(100);
    EXPECT_EQ(back.fitTransform(), fit);
    // The stored view transform is replaced by the one the other two give.
    EXPECT_EQ(back.viewTransform(), Transform3D::compose(fit, back.pageTransform()));
    EXPECT_EQ(back.insertIndex, -1);
    // Saved again it is a version 107 file with the reserved bytes zero.
    const Bytes again = samples::payloadOf(back);
    EXPECT_EQ(int32At(again, 0), 107);
    EXPECT_EQ(again[25 + 14], 0);
}

TEST(SketchFile, ReadsVersion105AsOneShapePerStroke) {
    Sketch back = busy();
    MemoryStream stream = streamOf(samples::version105());
    const ReadResult result = readSketch(stream, back);
    ASSERT_TRUE(result.ok) << result.error;
    ASSERT_EQ(back.shapes.count(), 2);
    EXPECT_EQ(back.shapes[0].colour, 0x112233);
    EXPECT_EQ(back.shapes[0].fillColour, -1);
    EXPECT_EQ(back.shapes[1].colour, 0x445566);
    EXPECT_EQ(back.shapes[1].fillColour, 0x778899);
    for (int32_t i = 0; i < 2; ++i) {
        ASSERT_EQ(back.shapes[i].groups.count(), 1);
        ASSERT_EQ(back.shapes[i].groups[0].strokes.count(), 1);
    }
    const auto& points = back.shapes[1].groups[0].strokes[0].points;
    ASSERT_EQ(points.count(), 3);
    EXPECT_EQ(points[2].x, -5.0f);
    EXPECT_EQ(points[2].y, -6.0f);
    EXPECT_EQ(points[2].radius, 0.03125f);
    EXPECT_EQ(points[2].onCurve, 1);
    EXPECT_EQ(points[2].selected, 0);
    // The unfinished stroke is dropped; the shape being drawn keeps the pen colours.
    EXPECT_EQ(back.current.groups.count(), 0);
    EXPECT_EQ(back.current.colour, 0x00AA00);
    EXPECT_EQ(back.background, 0xEEDDCCu);
    EXPECT_EQ(back.viewTransform(),
              Transform3D::compose(back.fitTransform(), back.pageTransform()));
}

TEST(SketchFile, EmptyInputPagesAndUnknownVersions) {
    {
        // An empty file is an empty sketch; the window fit and pen colours stay.
        Sketch sketch = busy();
        const Transform3D fit = sketch.fitTransform();
        MemoryStream stream;
        EXPECT_TRUE(readSketch(stream, sketch).ok);
        EXPECT_EQ(sketch.shapes.count(), 0);
        EXPECT_EQ(sketch.fitTransform(), fit);
        EXPECT_EQ(sketch.current.colour, 0x00AA00);
        EXPECT_EQ(sketch.insertIndex, -1);
    }
    {
        // Unknown versions leave the sketch as it was and say so.
        for (const auto& [version, message] :
             {std::pair{108, "unsupported version 108"}, std::pair{104, "unsupported version 104"},
              std::pair{0x474E5089, "not a Penwick sketch"},
              std::pair{-5, "not a Penwick sketch"}}) {
            Bytes bytes = samples::payloadOf(samples::varied());
            std::memcpy(bytes.data(), &version, 4);
            Sketch sketch = busy();
            const Bytes before = samples::payloadOf(sketch);
            MemoryStream stream = streamOf(bytes);
            const ReadResult result = readSketch(stream, sketch);
            EXPECT_FALSE(result.ok);
            EXPECT_EQ(result.error, message);
            EXPECT_EQ(samples::payloadOf(sketch), before);
            EXPECT_EQ(sketch.insertIndex, 0);
        }
    }
    {
        // Several pages: the last one stands. No pages: an empty sketch.
        const Bytes first = samples::payloadOf(samples::varied());
        const Bytes second = samples::payloadOf(samples::onePoint());
        Bytes both(first.begin(), first.end());
        both[4] = 2;
        both.insert(both.end(), second.begin() + 8, second.end());
        Sketch sketch;
        MemoryStream stream = streamOf(both);
        ASSERT_TRUE(readSketch(stream, sketch).ok);
        EXPECT_EQ(samples::payloadOf(sketch), second);

        Bytes none = {107, 0, 0, 0, 0, 0, 0, 0};
        Sketch emptied = busy();
        MemoryStream noPages = streamOf(none);
        EXPECT_TRUE(readSketch(noPages, emptied).ok);
        EXPECT_EQ(emptied.shapes.count(), 0);
    }
}

TEST(SketchFile, SavesAndLoadsGzipPages) {
    TempFolder folder;
    const std::string path = folder.file("page.wnk");
    const Sketch original = samples::varied();
    const SaveResult saved = saveSketchFile(path, original);
    ASSERT_TRUE(saved.ok) << saved.error;
    const Bytes file = readFileBytes(path);
    ASSERT_GT(file.size(), 2u);
    EXPECT_EQ(file[0], 0x1F);
    EXPECT_EQ(file[1], 0x8B);

    Sketch back;
    const ReadResult loaded = loadSketchFile(path, back);
    ASSERT_TRUE(loaded.ok) << loaded.error;
    EXPECT_EQ(samples::payloadOf(back), samples::payloadOf(original));

    // A page saved without compression by some other tool reads the same.
    writeFileBytes(folder.file("plain.wnk"), samples::payloadOf(original));
    Sketch plain;
    ASSERT_TRUE(loadSketchFile(folder.file("plain.wnk"), plain).ok);
    EXPECT_EQ(samples::payloadOf(plain), samples::payloadOf(original));

    // A zero-byte page was cut off, not saved empty; a missing one is an error.
    writeFileBytes(folder.file("zero.wnk"), {});
    Sketch zero = samples::varied();
    const ReadResult empty = loadSketchFile(folder.file("zero.wnk"), zero);
    EXPECT_FALSE(empty.ok);
    EXPECT_EQ(empty.error, "the file is empty");
    EXPECT_EQ(zero.shapes.count(), 2);
    Sketch missing = samples::varied();
    const ReadResult notThere = loadSketchFile(folder.file("gone.wnk"), missing);
    EXPECT_FALSE(notThere.ok);
    EXPECT_NE(notThere.error.find("could not be opened"), std::string::npos) << notThere.error;
    EXPECT_EQ(missing.shapes.count(), 2);
}

TEST(Clipboard, WritesHeaderAndTheSelectedShapes) {
    Sketch five;
    for (int i = 0; i < 5; ++i) {
        Shape shape;
        shape.colour = i;
        addPoint(shape.groups, i, i, 1);
        five.shapes.append(shape);
    }
    {
        MemoryStream stream;
        EXPECT_EQ(writeClipboard(stream, five), 5);
        const Bytes bytes(stream.data(), stream.data() + stream.size());
        const unsigned char header[8] = {0x70, 0x69, 0x6C, 0x63, 107, 0, 0, 0};
        ASSERT_GE(bytes.size(), 12u);
        EXPECT_TRUE(std::equal(header, header + 8, bytes.begin()));
        EXPECT_EQ(int32At(bytes, 8), 5);
    }
    {
        five.shapes[1].selected = 1;
        five.shapes[3].selected = 1;
        MemoryStream stream;
        EXPECT_EQ(writeClipboard(stream, five), 2);
        stream.setPosition(0);
        Sketch pasted;
        const ReadResult result = pasteClipboard(stream, pasted);
        ASSERT_TRUE(result.ok) << result.error;
        EXPECT_EQ(result.shapeCount, 2);
        ASSERT_EQ(pasted.shapes.count(), 2);
        EXPECT_EQ(pasted.shapes[0].colour, 1);
        EXPECT_EQ(pasted.shapes[1].colour, 3);
    }
    {
        Sketch empty;
        MemoryStream stream;
        EXPECT_EQ(writeClipboard(stream, empty), 0);
        EXPECT_EQ(stream.size(), 12);
    }
}

TEST(Clipboard, PastesSelectedAtTheInsertionPointOrAtTheEnd) {
    Sketch source = samples::varied();
    const Bytes payload = samples::clipboardOf(source);  // both shapes
    auto three = [] {
        Sketch sketch;
        for (int i = 0; i < 3; ++i) {
            Shape shape;
            shape.colour = 100 + i;
            addPoint(shape.groups, 0, 0, 1);
            sketch.shapes.append(shape);
        }
        return sketch;
    };
    {
        Sketch sketch = three();
        sketch.insertIndex = 1;
        MemoryStream stream = streamOf(payload);
        const ReadResult result = pasteClipboard(stream, sketch);
        ASSERT_TRUE(result.ok) << result.error;
        EXPECT_EQ(result.shapeCount, 2);
        ASSERT_EQ(sketch.shapes.count(), 5);
        const int32_t colours[] = {100, 0x102030, -1, 101, 102};
        const uint8_t selected[] = {0, 1, 1, 0, 0};
        for (int i = 0; i < 5; ++i) {
            EXPECT_EQ(sketch.shapes[i].colour, colours[i]) << i;
            EXPECT_EQ(sketch.shapes[i].selected, selected[i]) << i;
        }
        EXPECT_EQ(sketch.insertIndex, 1);
        expectSameShape(sketch.shapes[2], source.shapes[1]);
    }
    for (const int32_t insertIndex : {-1, 3, 7}) {
        Sketch sketch = three();
        sketch.insertIndex = insertIndex;
        MemoryStream stream = streamOf(payload);
        ASSERT_TRUE(pasteClipboard(stream, sketch).ok);
        ASSERT_EQ(sketch.shapes.count(), 5);
        EXPECT_EQ(sketch.shapes[3].colour, 0x102030);
        EXPECT_EQ(sketch.shapes[4].selected, 1);
        EXPECT_EQ(sketch.insertIndex, insertIndex);
    }
}

TEST(Clipboard, RejectsAWrongHeaderAndChangesNothing) {
    const Bytes good = samples::clipboardOf(samples::varied());
    for (const size_t offset : {0u, 3u, 4u, 7u}) {
        Bytes bad = good;
        bad[offset] ^= 1;
        Sketch sketch = samples::onePoint();
        MemoryStream stream = streamOf(bad);
        const ReadResult result = pasteClipboard(stream, sketch);
        EXPECT_FALSE(result.ok);
        EXPECT_EQ(result.shapeCount, 0);
        EXPECT_EQ(result.error, "not Penwick clipboard data");
        EXPECT_EQ(sketch.shapes.count(), 1);
    }
    Sketch sketch;
    MemoryStream empty;
    EXPECT_FALSE(pasteClipboard(empty, sketch).ok);
    // A sketch file is not clipboard data.
    MemoryStream file = streamOf(samples::payloadOf(samples::varied()));
    EXPECT_EQ(pasteClipboard(file, sketch).error, "not Penwick clipboard data");
}
