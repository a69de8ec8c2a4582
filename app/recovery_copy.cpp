#include "app/recovery_copy.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <filesystem>
#include <system_error>

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include "app/sketchbook.h"
#include "framework/error/error_report.h"
#include "framework/platform/paths.h"
#include "framework/platform/time.h"
#include "framework/text/format.h"
#include "host/dialogs.h"
#include "host/host.h"
#include "model/sketch_file.h"
#include "model/temporary_files.h"

namespace penwick {

namespace {

constexpr std::string_view kCopyExtension = ".wnk";
constexpr std::string_view kLockExtension = ".lock";
constexpr std::string_view kDamagedExtension = ".damaged";

RecoveryCopy* fatalCopy = nullptr;

void writeFatalCopy() {
    if (fatalCopy) fatalCopy->writeNow();
}

std::int64_t pointsOf(const Shape& shape) {
    std::int64_t n = 0;
    for (const auto& group : shape.groups)
        for (const auto& stroke : group.strokes)
            n += stroke.points.count();
    return n;
}

// The program that wrote a copy is gone when nobody holds its lock. A
// second open of our own lock file does not get it either: locks belong to
// the open file, not the process.
bool ownerGone(const std::string& lockPath) {
    int fd = ::open(lockPath.c_str(), O_RDWR | O_CLOEXEC);
    if (fd < 0) return errno == ENOENT;
    bool gone = ::flock(fd, LOCK_EX | LOCK_NB) == 0;
    ::close(fd);
    return gone;
}

// The mouse button or the pen's tip is down on the canvas. (The interaction
// mode stays that of the last gesture after it ends.)
bool strokeInProgress(const CanvasView& view) {
    return host::instance().captureWindow() == view.handle() ||
           (view.previousTabletButtons & 1u) != 0;
}

// The toolkit's own box: the offer comes before the program's windows are
// in use.
int ask(host::Window owner, std::string_view text, std::uint32_t type) {
    return host::instance().messageBox(owner, text, "Penwick", type);
}

void removeQuietly(const std::string& path) {
    std::error_code ignored;
    std::filesystem::remove(path, ignored);
}

std::string withoutExtension(const std::string& path, std::string_view extension) {
    return path.substr(0, path.size() - extension.size());
}

}  // namespace

std::string recoveryFolder() {
    ktString data = appDataFolder(true);
    if (data.isEmpty()) return {};
    std::string folder = std::string(data.view()) + "/recovery";
    makePath(folder);
    return folder;
}

RecoveryCopy::RecoveryCopy(std::string folder, RecoveryTiming timing)
    : folder_(std::move(folder)), timing_(timing) {
    if (folder_.empty()) return;
    // The process and its start tell this run's copy from every other's.
    std::string id =
        std::to_string(::getpid()) + "-" + std::to_string(std::int64_t(now() * 1000.0));
    path_ = folder_ + "/" + id + std::string(kCopyExtension);
    lockPath_ = folder_ + "/" + id + std::string(kLockExtension);
}

RecoveryCopy::~RecoveryCopy() {
    collect(true);
    if (fatalCopy == this) setForFatalReport(nullptr);
    if (lockFd_ >= 0) ::close(lockFd_);
}

void RecoveryCopy::setForFatalReport(RecoveryCopy* copy) {
    fatalCopy = copy;
    setFatalEndHook(copy ? &writeFatalCopy : nullptr);
}

RecoveryCopy::Fingerprint RecoveryCopy::fingerprintOf(const CanvasView& view) {
    Fingerprint f;
    const auto& undo = view.history.undoStack();
    // Every gesture stores a new copy before it; the newest stays alive in
    // the stack, so its address is never that of a later one.
    f.newestUndo = undo.count() > 0 ? static_cast<const void*>(&*undo[undo.count() - 1]) : nullptr;
    f.undoCount = view.history.undoCount();
    f.redoCount = view.history.redoCount();
    f.shapeCount = view.sketch.shapes.count();
    f.insertIndex = view.sketch.insertIndex;
    f.currentPoints = pointsOf(view.sketch.current);
    f.background = view.sketch.background;
    f.page = view.sketch.pageTransform();
    f.inStroke = strokeInProgress(view);
    return f;
}

void RecoveryCopy::tick(const CanvasView& view, std::int64_t nowMs) {
    if (path_.empty()) return;
    view_ = &view;
    collect(false);
    if (!view.modified) {
        // The page itself holds everything now: an older copy would only
        // mislead after a crash.
        if (!worker_.joinable() && onDisk_) removeCopy();
        seen_ = fingerprintOf(view);
        return;
    }
    Fingerprint f = fingerprintOf(view);
    if (!seen_ || !(f == *seen_)) lastChangeMs_ = nowMs;
    seen_ = f;
    if (worker_.joinable()) return;
    if (copied_ && f == *copied_) return;
    if (strokeInProgress(view)) return;
    if (nowMs - lastChangeMs_ < timing_.stillMs) return;
    if (lastWriteStartMs_ && nowMs - *lastWriteStartMs_ < timing_.intervalMs) return;
    startWrite(view, nowMs);
}

bool RecoveryCopy::ensureLock() {
    if (lockFd_ >= 0) return true;
    makePath(folder_);
    lockFd_ = ::open(lockPath_.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (lockFd_ < 0) {
        lastError_ = std::strerror(errno);
        return false;
    }
    if (::flock(lockFd_, LOCK_EX | LOCK_NB) != 0) {
        lastError_ = std::strerror(errno);
        ::close(lockFd_);
        lockFd_ = -1;
        return false;
    }
    return true;
}

void RecoveryCopy::startWrite(const CanvasView& view, std::int64_t nowMs) {
    lastWriteStartMs_ = nowMs;
    if (!ensureLock()) return;
    writing_ = view.sketch.snapshot();
    copied_ = fingerprintOf(view);
    workerDone_.store(false, std::memory_order_relaxed);
    const Sketch* snapshot = &*writing_;
    worker_ = std::thread([this, snapshot] {
        SaveResult saved = saveSketchFile(path_, *snapshot);
        workerOk_ = saved.ok;
        workerError_ = saved.error;
        workerDone_.store(true, std::memory_order_release);
    });
}

void RecoveryCopy::collect(bool wait) {
    if (!worker_.joinable()) return;
    if (!wait && !workerDone_.load(std::memory_order_acquire)) return;
    worker_.join();
    if (workerOk_) {
        ++completed_;
        onDisk_ = true;
        lastWritten_ = std::move(writing_);
    } else {
        // The next still moment tries again.
        lastError_ = workerError_;
        copied_.reset();
    }
    writing_.reset();
}

void RecoveryCopy::removeCopy() {
    collect(true);
    if (onDisk_) removeQuietly(path_);
    onDisk_ = false;
    copied_.reset();
    lastWriteStartMs_.reset();
    lastWritten_.reset();
}

void RecoveryCopy::pageLeft() {
    removeCopy();
    seen_.reset();
}

void RecoveryCopy::exitCleanly() {
    removeCopy();
    view_ = nullptr;
    if (lockFd_ >= 0) {
        removeQuietly(lockPath_);
        ::close(lockFd_);
        lockFd_ = -1;
    }
}

bool RecoveryCopy::writeNow() {
    collect(true);
    if (path_.empty() || !view_ || !view_->modified) return false;
    Fingerprint f = fingerprintOf(*view_);
    if (copied_ && f == *copied_) return true;
    if (!ensureLock()) return false;
    SaveResult saved = saveSketchFile(path_, view_->sketch);
    if (!saved) {
        lastError_ = saved.error;
        return false;
    }
    copied_ = f;
    onDisk_ = true;
    ++completed_;
    return true;
}

// ---- The offer at start-up --------------------------------------------------

namespace {

bool restoreAsPage(host::Window owner, const Sketch& sketch, const std::string& sketchbook,
                   double time, std::string& page) {
    std::string error = "no documents folder is known";
    if (!sketchbook.empty()) {
        makePath(sketchbook);
        page = claimNewPage(sketchbook, time, error);
    }
    if (!page.empty()) {
        SaveResult saved = saveSketchFile(page, sketch);
        if (saved) return true;
        error = saved.error;
        releaseClaimedPage(page);
    }
    ask(owner,
        format("The recovered drawing cannot be saved into the Sketchbook %s:\n%s\nIt "
               "is kept for the next start.",
               sketchbook.c_str(), error.c_str())
            .view(),
        host::MB_OK | host::MB_ICONHAND);
    page.clear();
    return false;
}

}  // namespace

RecoveryOffer offerRecoveryCopies(host::Window owner, const std::string& folder,
                                  const std::string& sketchbook, double time) {
    RecoveryOffer offer;
    if (folder.empty()) return offer;
    std::vector<std::string> copies;
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(folder, error)) {
        std::string name = entry.path().filename().string();
        if (!entry.is_regular_file(error) || isTemporaryName(name)) continue;
        // The lock of a program that ended before it wrote a copy.
        if (name.ends_with(kLockExtension)) {
            std::string lock = entry.path().string();
            if (!fileExists(withoutExtension(lock, kLockExtension) + std::string(kCopyExtension)) &&
                ownerGone(lock))
                removeQuietly(lock);
            continue;
        }
        if (name.size() <= kCopyExtension.size() ||
            name.compare(name.size() - kCopyExtension.size(), kCopyExtension.size(),
                         kCopyExtension) != 0)
            continue;
        std::string path = entry.path().string();
        if (ownerGone(withoutExtension(path, kCopyExtension) + std::string(kLockExtension)))
            copies.push_back(path);
    }
    std::sort(copies.begin(), copies.end());
    for (const std::string& path : copies) {
        std::string lock = withoutExtension(path, kCopyExtension) + std::string(kLockExtension);
        Sketch sketch;
        ReadResult read = loadSketchFile(path, sketch);
        if (!read) {
            std::string aside = path + std::string(kDamagedExtension);
            std::error_code renameError;
            std::filesystem::rename(path, aside, renameError);
            if (renameError) aside = path;
            offer.damaged.push_back(aside);
            ask(owner,
                format("A recovery copy of a drawing cannot be read (%s).\nIt is kept "
                       "as %s.",
                       read.error.c_str(), aside.c_str())
                    .view(),
                host::MB_OK | host::MB_ICONEXCLAMATION);
            removeQuietly(lock);
            continue;
        }
        ktString when;
        std::error_code timeError;
        auto written = std::filesystem::last_write_time(path, timeError);
        if (!timeError) {
            auto system = std::chrono::file_clock::to_sys(written);
            when =
                formatTime(std::chrono::duration<double>(system.time_since_epoch()).count(), "%c");
        }
        int answer =
            ask(owner,
                format("Penwick ended without saving a drawing (%d shapes, copied %s).\n\nRestore "
                       "it as a new page in the Sketchbook?\nYes restores it, No discards it, "
                       "Cancel keeps it for the next start.",
                       int(read.shapeCount), when.isEmpty() ? "at an unknown time" : when.c_str())
                    .view(),
                host::MB_YESNOCANCEL | host::MB_ICONQUESTION);
        if (answer == host::IDYES) {
            std::string page;
            if (!restoreAsPage(owner, sketch, sketchbook, time, page)) continue;
            offer.restoredPages.push_back(page);
        } else if (answer == host::IDNO) {
            ++offer.discarded;
        } else {
            continue;
        }
        removeQuietly(path);
        removeQuietly(lock);
    }
    return offer;
}

}  // namespace penwick
