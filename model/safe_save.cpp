#include "model/safe_save.h"

#include <sys/stat.h>

#include <cstdlib>
#include <memory>

#include "model/regular_file.h"

namespace penwick {

namespace {

// Hands the writer's bytes to the file and remembers the first failure, so
// that writers need not check every write and no failure can pass unnoticed.
class CheckedStream final : public ByteStream {
  public:
    explicit CheckedStream(SaveFile& file) : file_(file) {}

    int32_t read(void*, int32_t) override { return -1; }
    int32_t write(const void* data, int32_t length) override {
        if (failed_) return -1;
        if (length <= 0) return 0;
        const int32_t written = file_.write(data, length);
        if (written != length) failed_ = true;
        return written;
    }
    bool failed() const { return failed_; }

  private:
    SaveFile& file_;
    bool failed_ = false;
};

std::string folderOf(const std::string& path) {
    const auto slash = path.find_last_of('/');
    if (slash == std::string::npos) return ".";
    if (slash == 0) return "/";
    return path.substr(0, slash);
}

// What a save may replace: a regular file, or nothing yet. A link is kept
// a link and the save replaces the regular file it points to. Anything else
// is refused with the reason, never replaced: a device, a FIFO, a folder,
// and a link that points to nothing (it may point anywhere, into a folder
// of someone else's or to a name that is not a path at all, as the links
// of /proc/self/fd are; a new file is never created through a link).
bool replaceableTarget(const std::string& path, std::string& target, std::string& refusal) {
    target = path;
    struct stat info {};
    if (::lstat(path.c_str(), &info) != 0) return true;  // a new file, or a folder we cannot reach
    if (S_ISREG(info.st_mode)) return true;
    if (!S_ISLNK(info.st_mode)) {
        refusal = "it is " + kindOfNonRegularFile(info.st_mode) + ", not a file";
        return false;
    }
    char* resolved = ::realpath(path.c_str(), nullptr);
    if (resolved == nullptr) {
        refusal = "it is a link to nothing that exists";
        return false;
    }
    target = resolved;
    std::free(resolved);
    if (::stat(target.c_str(), &info) != 0 || !S_ISREG(info.st_mode)) {
        refusal = "it is a link to " + kindOfNonRegularFile(info.st_mode) + ", not to a file";
        return false;
    }
    return true;
}

// Checked again just before the rename, in case the name changed meanwhile.
bool stillReplaceable(const std::string& target) {
    struct stat info {};
    return ::lstat(target.c_str(), &info) != 0 || S_ISREG(info.st_mode);
}

SaveResult failure(const std::string& path, const std::string& what, const std::string& why) {
    std::string text = "could not save " + path + ": " + what;
    if (!why.empty()) text += " (" + why + ")";
    return {false, text};
}

}  // namespace

SaveResult safeSave(const std::string& path, SaveCompression compression,
                    const SaveWriter& writer) {
    return safeSave(path, compression, writer, systemFileSystem());
}

SaveResult safeSave(const std::string& path, SaveCompression compression, const SaveWriter& writer,
                    SaveFileSystem& files) {
    if (path.empty()) return {false, "could not save: no file name was given"};
    std::string target;
    std::string refusal;
    if (!replaceableTarget(path, target, refusal)) return failure(path, refusal, "");
    const std::string folder = folderOf(target);

    std::string temporary;
    std::string error;
    std::unique_ptr<SaveFile> file = files.createTemporary(target, compression, temporary, error);
    if (!file) return failure(path, "no new file could be created in " + folder, error);

    // Every way out before the rename removes the temporary file.
    auto abandon = [&](const std::string& what) {
        const std::string why = file->errorText();
        file.reset();
        files.remove(temporary);
        return failure(path, what, why);
    };

    CheckedStream checked(*file);
    const bool produced = writer(checked);
    if (checked.failed()) return abandon("the file could not be written");
    if (!produced) return abandon("the content could not be produced");
    if (!file->finish()) return abandon("the file could not be written");
    if (!file->sync()) return abandon("the file could not be flushed to the disk");
    if (!file->close()) return abandon("the file could not be closed");
    file.reset();

    if (!stillReplaceable(target)) {
        files.remove(temporary);
        return failure(path, "something that is not a file took its place while saving", "");
    }
    if (!files.rename(temporary, target, error)) {
        files.remove(temporary);
        return failure(path, "the new file could not replace the old one", error);
    }
    // The new content is in place; only the folder entry may not be on the
    // disk yet, which a power cut (not a crash) could undo. Say so.
    if (!files.syncFolder(folder, error)) {
        return failure(
            path, "the file was replaced but its folder could not be flushed to the disk", error);
    }
    files.removeStale(folder);
    return {true, {}};
}

}  // namespace penwick
