#pragma once
// Recovery copies: while the page is modified, a copy of the whole sketch
// (a sketch file like any page) is kept in the recovery folder of the
// program's data folder, so that a crash, a killed process or a power cut
// costs seconds of drawing, not the page.
//
// When a copy is written (tick):
//
//   state of the page                                   what happens
//   not modified (saved, or never changed)              the copy goes
//   modified, a stroke in progress or input within      nothing (the pen is
//     `still` of now                                      never made to wait)
//   modified, unchanged since the last copy             nothing
//   modified, changed, last write began < `interval`    nothing
//     ago, or a write still running
//   modified, changed, still, interval passed           a snapshot is taken on
//                                                         this thread and written
//                                                         on a worker thread
//
// Every write goes through the safe save (a temporary file renamed over the
// copy), so a copy is always a whole file: the state of its last completed
// write. The copy lives only in the recovery folder, never over a page.
//
// Each running program owns one copy, "<id>.wnk", and holds a lock on
// "<id>.lock" for as long as it runs; the lock goes with the process however
// it ends, so the next start offers only the copies of programs that are gone.
//
// The snapshot shares the page's shapes (see ShapeList); the worker only
// reads it, and the snapshot is dropped on this thread once the worker is
// done, so every reference count changes on this thread only.

#include <atomic>
#include <cstdint>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "canvas/canvas_view.h"
#include "host/types.h"
#include "model/sketch.h"

namespace penwick {

struct RecoveryTiming {
    std::int64_t intervalMs = 30000;  // at most one write begins per interval
    std::int64_t stillMs = 1000;      // no stroke and no change for this long first
};

// The recovery folder: the program's data folder followed by "/recovery"
// (made); empty when there is no data folder.
std::string recoveryFolder();

class RecoveryCopy {
  public:
    // An empty folder turns recovery off.
    explicit RecoveryCopy(std::string folder, RecoveryTiming timing = {});
    // Waits for a write in progress; the copy stays (an exit that was not
    // clean keeps it).
    ~RecoveryCopy();
    RecoveryCopy(const RecoveryCopy&) = delete;
    RecoveryCopy& operator=(const RecoveryCopy&) = delete;

    // The main window's idle work: `nowMs` on the host's steady clock.
    void tick(const CanvasView& view, std::int64_t nowMs);
    // The page was left cleanly (saved, or its changes discarded): the copy
    // goes, and the next page starts afresh.
    void pageLeft();
    // The program ends cleanly: the copy and the lock go.
    void exitCleanly();
    // A fatal end: the page of the last tick, when it has changes no copy
    // holds, is written at once on this thread (waiting for a write in
    // progress first). Answers whether a copy now holds the page.
    bool writeNow();

    // The copy's path (empty when recovery is off).
    const std::string& path() const { return path_; }
    // Writes completed since the start, and the reason of the last failed one.
    int completedWrites() const { return completed_; }
    const std::string& lastError() const { return lastError_; }
    // The sketch of the last completed write (for tests and the child that
    // logs it); none before the first.
    const std::optional<Sketch>& lastWritten() const { return lastWritten_; }

    // The copy the fatal error report writes; null for none.
    static void setForFatalReport(RecoveryCopy* copy);

  private:
    // What tells one state of the page from the next without reading it.
    struct Fingerprint {
        const void* newestUndo = nullptr;
        std::int32_t undoCount = 0, redoCount = 0, shapeCount = 0, insertIndex = 0;
        std::int64_t currentPoints = 0;
        std::uint32_t background = 0;
        Transform3D page;
        bool inStroke = false;
        bool operator==(const Fingerprint&) const = default;
    };
    static Fingerprint fingerprintOf(const CanvasView& view);

    bool ensureLock();
    void startWrite(const CanvasView& view, std::int64_t nowMs);
    // Joins a finished (or, with `wait`, any) worker and takes its result.
    void collect(bool wait);
    void removeCopy();

    std::string folder_;
    std::string path_;
    std::string lockPath_;
    int lockFd_ = -1;
    RecoveryTiming timing_;

    const CanvasView* view_ = nullptr;   // of the last tick
    std::optional<Fingerprint> seen_;    // at the last tick
    std::optional<Fingerprint> copied_;  // of the page the copy (or the write running) holds
    std::int64_t lastChangeMs_ = 0;
    std::optional<std::int64_t> lastWriteStartMs_;

    std::thread worker_;
    std::atomic<bool> workerDone_{false};
    std::optional<Sketch> writing_;  // the snapshot the worker reads
    bool workerOk_ = false;          // set by the worker before workerDone_
    std::string workerError_;
    std::optional<Sketch> lastWritten_;
    bool onDisk_ = false;  // a copy of ours is in the folder
    int completed_ = 0;
    std::string lastError_;
};

// What the start-up found in the recovery folder and did.
struct RecoveryOffer {
    std::vector<std::string> restoredPages;  // in the order offered
    int discarded = 0;
    std::vector<std::string> damaged;  // the paths they were kept aside as
};

// At start-up: for each copy in `folder` whose program is gone, asks (over
// `owner`) whether to restore it as a new page of `sketchbook` (named as a
// new page at `time`, never over an existing page) or discard it; Cancel
// keeps it for the next start. A copy that cannot be read is renamed to
// "<name>.damaged", kept, and reported.
RecoveryOffer offerRecoveryCopies(host::Window owner, const std::string& folder,
                                  const std::string& sketchbook, double time);

}  // namespace penwick
