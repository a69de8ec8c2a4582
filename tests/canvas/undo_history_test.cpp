// The undo history: a copy of the sketch before each gesture, at most 100 of
// them, stepped through backwards and forwards; states are compared by what
// the sketch writes.
#include "canvas/undo_history.h"

#include <gtest/gtest.h>

#include <vector>

#include "model/memory_stream.h"
#include "model/sketch_file.h"

namespace penwick {
namespace {

using Bytes = std::vector<unsigned char>;

Bytes bytesOf(const Sketch& sketch) {
    MemoryStream out;
    writeSketch(out, sketch);
    return Bytes(out.data(), out.data() + out.size());
}

// One gesture as the canvas makes it: a snapshot, then a stroke committed.
void gesture(UndoHistory& history, Sketch& sketch, int n) {
    history.takeSnapshot(sketch);
    sketch.addSample(n, 2 * n, 1);
    sketch.addSample(n + 5, 2 * n, 1);
    sketch.commitCurrent(-1);
}

TEST(UndoHistory, KeepsTheLastHundredStatesAndStepsThroughThem) {
    UndoHistory history;
    Sketch sketch;
    std::vector<Bytes> states{bytesOf(sketch)};  // states[k]: after k gestures
    for (int k = 1; k <= 101; ++k) {
        gesture(history, sketch, k);
        states.push_back(bytesOf(sketch));
    }
    EXPECT_EQ(history.undoCount(), 100);
    EXPECT_EQ(history.redoCount(), 0);

    // All the way back reaches the state after the first gesture, not the
    // empty page before it, which fell out of the history.
    EXPECT_EQ(history.undo(1000, sketch), 100);
    EXPECT_EQ(bytesOf(sketch), states[1]);
    EXPECT_EQ(sketch.shapes.count(), 1);
    EXPECT_EQ(history.undoCount(), 0);
    EXPECT_EQ(history.redoCount(), 100);

    // And forwards again, step by step through every state.
    for (int k = 2; k <= 101; ++k) {
        ASSERT_EQ(history.redo(1, sketch), 1);
        EXPECT_EQ(bytesOf(sketch), states[size_t(k)]) << k;
    }
    EXPECT_EQ(history.redo(1, sketch), 0);
    EXPECT_EQ(history.undoCount(), 100);
}

TEST(UndoHistory, StepsOfSeveralAndEmptyStacks) {
    UndoHistory history;
    Sketch sketch;
    const Bytes empty = bytesOf(sketch);
    EXPECT_EQ(history.undo(1, sketch), 0);
    EXPECT_EQ(history.redo(3, sketch), 0);
    EXPECT_EQ(bytesOf(sketch), empty);
    EXPECT_EQ(history.redoCount(), 0);

    std::vector<Bytes> states{empty};
    for (int k = 1; k <= 5; ++k) {
        gesture(history, sketch, k);
        states.push_back(bytesOf(sketch));
    }
    EXPECT_EQ(history.undo(0, sketch), 0);
    EXPECT_EQ(history.undo(-2, sketch), 0);
    EXPECT_EQ(bytesOf(sketch), states[5]);

    EXPECT_EQ(history.undo(3, sketch), 3);
    EXPECT_EQ(bytesOf(sketch), states[2]);
    EXPECT_EQ(history.undoCount(), 2);
    EXPECT_EQ(history.redoCount(), 3);
    EXPECT_EQ(history.redo(-1, sketch), 0);
    EXPECT_EQ(history.redo(2, sketch), 2);
    EXPECT_EQ(bytesOf(sketch), states[4]);
    EXPECT_EQ(history.undo(10, sketch), 4);
    EXPECT_EQ(bytesOf(sketch), states[0]);
    EXPECT_EQ(history.redo(10, sketch), 5);
    EXPECT_EQ(bytesOf(sketch), states[5]);
}

TEST(UndoHistory, ANewGestureAfterUndoingDropsTheRedoSteps) {
    UndoHistory history;
    Sketch sketch;
    gesture(history, sketch, 1);
    gesture(history, sketch, 2);
    ASSERT_EQ(history.undo(1, sketch), 1);
    EXPECT_EQ(history.redoCount(), 1);

    gesture(history, sketch, 3);
    EXPECT_EQ(history.redoCount(), 0);
    const Bytes drawn = bytesOf(sketch);
    EXPECT_EQ(history.redo(1, sketch), 0);
    EXPECT_EQ(bytesOf(sketch), drawn);
}

TEST(UndoHistory, UndoBringsBackTheViewPenAndLevel) {
    UndoHistory history;
    Sketch sketch;
    sketch.setWindowFit(640, 480);
    gesture(history, sketch, 1);
    const Transform3D view = sketch.viewTransform();

    history.takeSnapshot(sketch);  // a pan, as the right button makes one
    Transform3D pan;
    pan.thenTranslate(Vec3d{30, -12, 0});
    sketch.applyWindowTransform(pan);
    sketch.current.colour = 0xFF0000;
    sketch.editLevel = EditLevel::Group;
    const Transform3D panned = sketch.viewTransform();
    ASSERT_NE(panned, view);

    ASSERT_EQ(history.undo(1, sketch), 1);
    EXPECT_EQ(sketch.viewTransform(), view);
    EXPECT_EQ(sketch.current.colour, 0);
    EXPECT_EQ(sketch.editLevel, EditLevel::Shape);
    ASSERT_EQ(history.redo(1, sketch), 1);
    EXPECT_EQ(sketch.viewTransform(), panned);
    EXPECT_EQ(sketch.current.colour, 0xFF0000);
}

TEST(UndoHistory, ClearingTheUndoStepsKeepsTheRedoSteps) {
    UndoHistory history;
    Sketch sketch;
    gesture(history, sketch, 1);
    gesture(history, sketch, 2);
    const Bytes two = bytesOf(sketch);
    ASSERT_EQ(history.undo(1, sketch), 1);

    history.clearUndo();  // as a load does
    EXPECT_EQ(history.undoCount(), 0);
    EXPECT_EQ(history.undo(1, sketch), 0);
    EXPECT_EQ(history.redo(1, sketch), 1);
    EXPECT_EQ(bytesOf(sketch), two);
}

// The stored copies share shapes with the sketch; editing the sketch after
// an undo, or after a redo, must not reach them.
TEST(UndoHistory, StoredStatesStayAsTheyWereWhateverTheSketchDoes) {
    UndoHistory history;
    Sketch sketch;
    for (int k = 1; k <= 3; ++k)
        gesture(history, sketch, k);
    const Bytes three = bytesOf(sketch);

    // Edits of the shapes an undo brought back leave the redo copy alone.
    ASSERT_EQ(history.undo(1, sketch), 1);
    sketch.shapes[0].colour = 0x00FF00;
    sketch.selectAll(true);
    sketch.applyWindowTransform(Transform3D::identity().thenScale(2));
    sketch.invertColours();
    const Bytes twoEdited = bytesOf(sketch);
    ASSERT_EQ(history.redo(1, sketch), 1);
    EXPECT_EQ(bytesOf(sketch), three);

    // Edits of the shapes a redo brought back leave the undo copies alone.
    sketch.shapes[1].groups.clear();
    sketch.removeShapeAt(0);
    const Bytes threeEdited = bytesOf(sketch);
    ASSERT_EQ(history.undo(1, sketch), 1);
    EXPECT_EQ(bytesOf(sketch), twoEdited);
    ASSERT_EQ(history.redo(1, sketch), 1);
    EXPECT_EQ(bytesOf(sketch), threeEdited);
    ASSERT_EQ(history.undo(2, sketch), 2);
    EXPECT_EQ(sketch.shapes.count(), 1);
    EXPECT_EQ(sketch.shapes[0].colour, 0);

    // Every stored copy holds the only handle to itself.
    for (const SnapshotRef& ref : history.redoStack())
        EXPECT_EQ(ref.useCount(), 1);
}

}  // namespace
}  // namespace penwick
