#include "canvas/undo_history.h"

namespace penwick {

namespace {

// Moves up to n steps from `from` to `to`, `current` going onto `to` each
// time.
int32_t step(int32_t n, DynArray<SnapshotRef>& from, DynArray<SnapshotRef>& to, Sketch& current) {
    int32_t done = 0;
    while (done < n && !from.isEmpty()) {
        to.append(SnapshotRef(current.snapshot()));
        current.restore(*from.last());
        from.removeAt(from.count() - 1);
        ++done;
    }
    return done;
}

}  // namespace

void UndoHistory::takeSnapshot(const Sketch& sketch) {
    redo_.clear();
    undo_.append(SnapshotRef(sketch.snapshot()));
    if (undo_.count() > kLimit) undo_.removeAt(0);
}

int32_t UndoHistory::undo(int32_t n, Sketch& current) {
    return step(n, undo_, redo_, current);
}

int32_t UndoHistory::redo(int32_t n, Sketch& current) {
    return step(n, redo_, undo_, current);
}

}  // namespace penwick
