// A counted handle to one stored copy of the sketch, as the undo history
// keeps them: copies of a handle share the copy and the last one to go frees
// it, so the history's arrays move handles, never sketches. A null handle
// holds nothing.
#pragma once

#include <cassert>
#include <memory>
#include <utility>

#include "model/sketch.h"

namespace penwick {

class SnapshotRef {
  public:
    SnapshotRef() = default;
    // Keeps sketch, which is never changed again.
    explicit SnapshotRef(Sketch&& sketch)
        : sketch_(std::make_shared<const Sketch>(std::move(sketch))) {}

    bool isNull() const { return !sketch_; }
    const Sketch& operator*() const {
        assert(sketch_);
        return *sketch_;
    }
    const Sketch* operator->() const { return &**this; }
    // The number of handles to this copy; 0 for a null handle.
    long useCount() const { return sketch_.use_count(); }

  private:
    std::shared_ptr<const Sketch> sketch_;
};

}  // namespace penwick
