// The canvas's undo and redo: copies of the sketch taken just before each
// editing gesture. There is no log of commands; undoing swaps the canvas's
// sketch with a stored copy, so a step also brings back the view, the pen
// colours, the shape being drawn and the edit level of its time. The stored
// copies share their shapes with the sketch and with each other (see
// ShapeList), so a hundred steps of a large page cost little more than the
// page.
//
// The history knows nothing of a "modified" flag: stepping through it leaves
// that to the canvas.
#pragma once

#include <cstdint>

#include "canvas/snapshot_ref.h"
#include "model/dyn_array.h"
#include "model/sketch.h"

namespace penwick {

class UndoHistory {
  public:
    // The undo stack holds at most this many copies once a snapshot is taken.
    static constexpr int32_t kLimit = 100;

    // Before a gesture: drops every redo step and keeps a copy of sketch,
    // dropping the oldest copy beyond the limit.
    void takeSnapshot(const Sketch& sketch);
    // Steps back up to n times; each step keeps `current` for redo and puts
    // the newest undo copy in its place. Returns the number of steps done (0
    // for n <= 0 or an empty stack).
    int32_t undo(int32_t n, Sketch& current);
    // The same forwards. The undo stack then grows without the limit, as
    // every step only returns what an undo took off it.
    int32_t redo(int32_t n, Sketch& current);
    // Forgets every undo step (a newly loaded page); the redo steps stay.
    void clearUndo() { undo_.clear(); }
    // Forgets every step both ways.
    void clear() {
        undo_.clear();
        redo_.clear();
    }

    int32_t undoCount() const { return undo_.count(); }
    int32_t redoCount() const { return redo_.count(); }
    // The stored copies, oldest first; the last is the next to come back.
    const DynArray<SnapshotRef>& undoStack() const { return undo_; }
    const DynArray<SnapshotRef>& redoStack() const { return redo_; }

  private:
    DynArray<SnapshotRef> undo_;
    DynArray<SnapshotRef> redo_;
};

}  // namespace penwick
