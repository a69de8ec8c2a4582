// Snapshots share the shapes they have in common with the sketch, and must
// still behave as independent copies. Every editing operation of the sketch
// runs through the same checks: the snapshot taken before it keeps its bytes,
// the result equals the operation on an unshared copy, editing after a
// restore never reaches the stored snapshot, and only the shapes the
// operation really changes stop being shared.
#include <gtest/gtest.h>

#include <functional>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "model/memory_stream.h"
#include "model/sketch.h"
#include "model/sketch_file.h"

using namespace penwick;

namespace {

constexpr int kShapes = 150;  // more than two chunks of the shape list

using Bytes = std::vector<unsigned char>;

// Everything observable of a sketch: its file bytes, then the selection
// marks, the insertion point, the edit level and the view, which the file
// leaves out.
Bytes stateOf(const Sketch& sketch) {
    MemoryStream out;
    writeSketch(out, sketch);
    for (const Shape& shape : sketch.shapes) {
        out.writeByte(shape.selected);
        for (const StrokeGroup& g : shape.groups) {
            out.writeByte(g.selected);
            for (const Stroke& s : g.strokes)
                out.writeByte(s.selected);
        }
    }
    out.writeInt32(sketch.insertIndex);
    out.writeInt32(static_cast<int32_t>(sketch.editLevel));
    out.writeBlock(&sketch.viewTransform(), sizeof(Transform3D));
    return Bytes(out.data(), out.data() + out.size());
}

// A copy that shares nothing with the original.
Sketch unsharedCopy(const Sketch& from) {
    Sketch to;
    to.setFitTransform(from.fitTransform());
    to.setPageTransform(from.pageTransform());
    for (const Shape& shape : from.shapes)
        to.shapes.append(Shape(shape));
    to.current = from.current;
    to.insertIndex = from.insertIndex;
    to.background = from.background;
    to.editLevel = from.editLevel;
    return to;
}

// Shapes of `sketch` that are not objects of `snapshot`: those copied (or
// made) since the snapshot was taken.
int newShapes(const Sketch& sketch, const Sketch& snapshot) {
    std::set<const Shape*> old;
    for (const Shape& shape : snapshot.shapes)
        old.insert(&shape);
    int n = 0;
    for (const Shape& shape : sketch.shapes)
        n += old.count(&shape) ? 0 : 1;
    return n;
}

Path square(float l, float t, float r, float b) {
    Path p;
    p.addOnCurve(l, t);
    p.addOnCurve(r, t);
    p.addOnCurve(r, b);
    p.addOnCurve(l, b);
    return p;
}

// A lasso around shapes 20 to 22, whose points lie at x 200 to 224.
const Path kLassoAround20To22 = square(195, -5, 226, 13);

// Shape i has a stroke of three points around x = 10 i, colour i. Shapes 3
// and 100 are selected; shape 5 has a selected point, 7 a selected stroke
// (of two), 9 a selected group (of two); 11 ends in an empty stroke and 12 in
// an empty group. The pen holds an unfinished shape.
Sketch pageForEditing() {
    Sketch sketch;
    sketch.setWindowFit(800, 600);
    Transform3D page;
    page.thenRotate(0.25).thenScale(1.5);
    sketch.setPageTransform(page);
    for (int i = 0; i < kShapes; ++i) {
        Shape s;
        s.colour = i;
        s.fillColour = i % 3 == 0 ? 0x00FF00 : -1;
        const float x = float(i) * 10;
        addPoint(s.groups, x, 0, 1);
        addPoint(s.groups, x + 4, 4, 1);
        addPoint(s.groups, x, 8, 1);
        sketch.shapes.append(std::move(s));
    }
    sketch.shapes[3].selected = 1;
    sketch.shapes[100].selected = 1;
    sketch.shapes[5].groups[0].strokes[0].points[1].selected = 1;
    Shape& seven = sketch.shapes[7];
    startStroke(seven.groups);
    addPoint(seven.groups, 72, 2, 1);
    seven.groups[0].strokes[0].selected = 1;
    Shape& nine = sketch.shapes[9];
    startGroup(nine.groups);
    addPoint(nine.groups, 92, 2, 1);
    nine.groups[0].selected = 1;
    startStroke(sketch.shapes[11].groups);
    startGroup(sketch.shapes[12].groups);
    addPoint(sketch.current.groups, 1000, 1000, 2);
    addPoint(sketch.current.groups, 1010, 1000, 2);
    sketch.current.colour = 0x123456;
    return sketch;
}

Bytes clipboardOf(const Sketch& sketch) {
    MemoryStream out;
    writeClipboard(out, sketch);
    return Bytes(out.data(), out.data() + out.size());
}

Bytes fileOf(const Sketch& sketch) {
    MemoryStream out;
    writeSketch(out, sketch);
    return Bytes(out.data(), out.data() + out.size());
}

struct Edit {
    const char* name;
    std::function<void(Sketch&)> apply;
    int copiedShapes;  // shapes that stop being shared with the snapshot
};

std::vector<Edit> everyEdit() {
    const Bytes clipboard = clipboardOf(pageForEditing());  // shapes 3 and 100
    const Bytes file = fileOf(pageForEditing());
    Transform3D pan;
    pan.thenTranslate(Vec3d{12, -7, 0});
    auto at = [](EditLevel level, std::function<void(Sketch&)> f) {
        return [level, f](Sketch& s) {
            s.editLevel = level;
            f(s);
        };
    };
    auto withEmptyPen = [](std::function<void(Sketch&)> f) {
        return [f](Sketch& s) {
            s.clearCurrent();
            f(s);
        };
    };
    return {
        {"page transform", [](Sketch& s) { s.setPageTransform(Transform3D::identity()); }, 0},
        {"fit transform", [](Sketch& s) { s.setFitTransform(Transform3D::identity()); }, 0},
        {"window fit", [](Sketch& s) { s.setWindowFit(300, 200); }, 0},
        {"window change moves the selected shapes",
         [pan](Sketch& s) { s.applyWindowTransform(pan); }, 2},
        {"window change moves the view",
         [pan](Sketch& s) {
             s.selectAll(false);
             s.applyWindowTransform(pan);
         },
         5},
        {"reset view", [](Sketch& s) { s.resetView(false); }, 0},
        {"reset view baking the page", [](Sketch& s) { s.resetView(true); }, kShapes},
        {"add sample", [](Sketch& s) { s.addSample(5, 6, 3); }, 0},
        {"remove last point", [](Sketch& s) { s.removeLastPoint(); }, 0},
        {"start stroke", [](Sketch& s) { s.startStroke(); }, 0},
        {"start group", [](Sketch& s) { s.startGroup(); }, 0},
        {"clear current", [](Sketch& s) { s.clearCurrent(); }, 0},
        {"commit at the end", [](Sketch& s) { s.commitCurrent(-1); }, 1},
        {"commit at the insertion point",
         [](Sketch& s) {
             s.insertIndex = 70;
             s.commitCurrent(-1);
         },
         1},
        {"commit before the first shape", [](Sketch& s) { s.commitCurrent(0); }, 1},
        {"commit of nothing", withEmptyPen([](Sketch& s) { s.commitCurrent(-1); }), 0},
        {"select all", [](Sketch& s) { s.selectAll(true); }, kShapes},
        {"unselect all", [](Sketch& s) { s.selectAll(false); }, 5},
        {"lasso shapes", at(EditLevel::Shape, [](Sketch& s) { s.lassoSelect(kLassoAround20To22); }),
         3},
        {"lasso around a shape already selected",
         at(EditLevel::Shape, [](Sketch& s) { s.lassoSelect(square(25, -5, 36, 13)); }), 0},
        // An element without points counts as inside: the empty group of
        // shape 12, the empty stroke of shape 11.
        {"lasso groups", at(EditLevel::Group, [](Sketch& s) { s.lassoSelect(kLassoAround20To22); }),
         4},
        {"lasso strokes",
         at(EditLevel::Stroke, [](Sketch& s) { s.lassoSelect(kLassoAround20To22); }), 4},
        {"lasso points", at(EditLevel::Point, [](Sketch& s) { s.lassoSelect(kLassoAround20To22); }),
         3},
        {"delete shapes", at(EditLevel::Shape, [](Sketch& s) { s.deleteSelected(); }), 0},
        {"delete groups", at(EditLevel::Group, [](Sketch& s) { s.deleteSelected(); }), 1},
        // Shape 7 loses a stroke and 12 its empty group.
        {"delete strokes", at(EditLevel::Stroke, [](Sketch& s) { s.deleteSelected(); }), 2},
        // Shape 5 loses a point, 11 its empty stroke and 12 its empty group.
        {"delete points", at(EditLevel::Point, [](Sketch& s) { s.deleteSelected(); }), 3},
        {"remove the last shape", [](Sketch& s) { s.removeShapeAt(-1); }, 0},
        {"remove a shape before the insertion point",
         [](Sketch& s) {
             s.insertIndex = 100;
             s.removeShapeAt(70);
         },
         0},
        {"remove past the end", [](Sketch& s) { s.removeShapeAt(kShapes); }, 0},
        {"back step in the pen", at(EditLevel::Point, [](Sketch& s) { s.backStep(); }), 0},
        {"back step takes the last shape",
         withEmptyPen(at(EditLevel::Point, [](Sketch& s) { s.backStep(); })), 0},
        {"back step takes the shape before the insertion point",
         withEmptyPen(at(EditLevel::Stroke,
                         [](Sketch& s) {
                             s.insertIndex = 70;
                             s.backStep();
                         })),
         0},
        {"back step at insertion point 0", withEmptyPen([](Sketch& s) {
             s.insertIndex = 0;
             s.backStep();
         }),
         0},
        {"invert colours", [](Sketch& s) { s.invertColours(); }, kShapes},
        {"reduce points", [](Sketch& s) { s.reducePoints(); }, 0},
        {"clear", [](Sketch& s) { s.clear(); }, 0},
        {"reset", [](Sketch& s) { s.reset(); }, 0},
        {"paste at the end",
         [clipboard](Sketch& s) {
             MemoryStream in(clipboard.data(), int32_t(clipboard.size()));
             ASSERT_TRUE(pasteClipboard(in, s));
         },
         2},
        {"paste at a chunk boundary",
         [clipboard](Sketch& s) {
             s.insertIndex = 64;
             MemoryStream in(clipboard.data(), int32_t(clipboard.size()));
             ASSERT_TRUE(pasteClipboard(in, s));
         },
         2},
        {"load",
         [file](Sketch& s) {
             MemoryStream in(file.data(), int32_t(file.size()));
             ASSERT_TRUE(readSketch(in, s));
         },
         kShapes},
        {"write through operator[]", [](Sketch& s) { s.shapes[40].colour = 7; }, 1},
        {"write through last()", [](Sketch& s) { s.shapes.last().groups.clear(); }, 1},
        {"append a copy of a shape", [](Sketch& s) { s.shapes.append(std::as_const(s.shapes)[1]); },
         1},
        {"insert at a chunk boundary", [](Sketch& s) { s.shapes.insertAt(64, Shape{}); }, 1},
        {"remove a range across a chunk boundary", [](Sketch& s) { s.shapes.removeAt(60, 10); }, 0},
        {"take a shape into the pen", [](Sketch& s) { s.current = s.shapes.take(127); }, 0},
        {"pen colour, paper, level and insertion point",
         [](Sketch& s) {
             s.current.colour = 5;
             s.background = 0;
             s.editLevel = EditLevel::Point;
             s.insertIndex = 3;
         },
         0},
    };
}

}  // namespace

TEST(SketchSharing, EveryEditLeavesSnapshotsAloneAndCopiesOnlyWhatItChanges) {
    const Sketch page = pageForEditing();
    const Bytes before = stateOf(page);
    for (const Edit& edit : everyEdit()) {
        SCOPED_TRACE(edit.name);

        // The same edit on a copy that shares nothing gives the expected
        // result, which must differ from the start (or the edit is a no-op).
        Sketch reference = unsharedCopy(page);
        edit.apply(reference);
        const Bytes after = stateOf(reference);

        // Editing after a snapshot: the snapshot and the page it came from
        // keep their bytes, and only the changed shapes were copied.
        Sketch sketch = page;
        const Sketch snapshot = sketch.snapshot();
        edit.apply(sketch);
        EXPECT_EQ(stateOf(sketch), after);
        EXPECT_EQ(stateOf(snapshot), before);
        EXPECT_EQ(stateOf(page), before);
        EXPECT_EQ(newShapes(sketch, snapshot), edit.copiedShapes);

        // Restoring, then editing again: the stored snapshot never changes.
        sketch.restore(snapshot);
        EXPECT_EQ(stateOf(sketch), before);
        EXPECT_EQ(newShapes(sketch, snapshot), 0);
        edit.apply(sketch);
        EXPECT_EQ(stateOf(sketch), after);
        EXPECT_EQ(stateOf(snapshot), before);

        // And the other way: the edited sketch's own snapshot survives a
        // restore of the old one and more editing.
        const Sketch edited = sketch.snapshot();
        sketch.restore(snapshot);
        sketch.selectAll(true);
        sketch.invertColours();
        EXPECT_EQ(stateOf(edited), after);
    }
}

TEST(SketchSharing, EditsThatChangeNothingAreSeenAsSuch) {
    const Sketch page = pageForEditing();
    const Bytes before = stateOf(page);
    for (const Edit& edit : everyEdit()) {
        Sketch sketch = unsharedCopy(page);
        edit.apply(sketch);
        const bool changes = stateOf(sketch) != before;
        const std::string name = edit.name;
        // Only these leave the page as it was; every other row must change
        // something, or its checks above would prove nothing.
        const bool expectedToChangeNothing = name == "remove past the end" ||
                                             name == "lasso around a shape already selected" ||
                                             name == "reduce points";
        EXPECT_EQ(changes, !expectedToChangeNothing) << name;
    }
}

// Deleting at the finer levels sweeps up empty strokes and groups even when
// nothing is selected, so the sweep must not be skipped for shapes without
// marks.
TEST(SketchSharing, DeleteSweepsEmptyElementsOfUnmarkedShapes) {
    Sketch sketch;
    Shape shape;
    addPoint(shape.groups, 1, 1, 1);
    startStroke(shape.groups);  // an empty stroke
    sketch.shapes.append(shape);
    startGroup(shape.groups);  // and an empty group
    sketch.shapes.append(shape);
    const Sketch snapshot = sketch.snapshot();

    sketch.editLevel = EditLevel::Stroke;  // empty groups go, empty strokes stay
    sketch.deleteSelected();
    EXPECT_EQ(sketch.shapes[0].groups[0].strokes.count(), 2);
    EXPECT_EQ(sketch.shapes[1].groups.count(), 1);

    sketch.editLevel = EditLevel::Point;  // empty strokes go too
    sketch.deleteSelected();
    EXPECT_EQ(sketch.shapes[0].groups[0].strokes.count(), 1);
    EXPECT_EQ(sketch.shapes[1].groups[0].strokes.count(), 1);
    EXPECT_EQ(snapshot.shapes[1].groups.count(), 2);
}
