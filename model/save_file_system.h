#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "model/byte_stream.h"

namespace penwick {

// The file operations a safe save is made of, behind an interface so that tests
// can make any one of them fail (FailingFileSystem).

enum class SaveCompression { None, Gzip };

// A new file being written. Every operation reports success; after a failure
// errorText() says why in words a person can read.
class SaveFile : public ByteStream {
  public:
    int32_t read(void*, int32_t) override { return -1; }
    // Pushes every buffered byte into the file; for a gzip file this
    // compresses what is still held and writes the last block and the trailer.
    virtual bool finish() = 0;
    // Forces the file's bytes to the disk (fsync).
    virtual bool sync() = 0;
    virtual bool close() = 0;
    virtual std::string errorText() const = 0;
};

class SaveFileSystem {
  public:
    virtual ~SaveFileSystem() = default;
    // Creates a file that did not exist before, in the folder of `target`,
    // under a temporary name (temporary_files.h), and sets `path` to it. Returns null, with `error`
    // set, when no file could be created.
    virtual std::unique_ptr<SaveFile> createTemporary(const std::string& target,
                                                      SaveCompression compression,
                                                      std::string& path, std::string& error) = 0;
    // Atomically replaces `to` by `from`.
    virtual bool rename(const std::string& from, const std::string& to, std::string& error) = 0;
    // Forces the folder's entries (a rename) to the disk.
    virtual bool syncFolder(const std::string& folder, std::string& error) = 0;
    virtual void remove(const std::string& path) = 0;
    // Removes what killed saves left in the folder (removeStaleTemporaries).
    virtual void removeStale(const std::string& folder) = 0;
};

// The real file system (POSIX).
SaveFileSystem& systemFileSystem();

// Wraps another file system and makes its Nth operation fail (counting from 1:
// creating the file, each write, finish, sync, close, rename, folder sync),
// either once or from then on. Removing files never fails and is not counted. For tests of the
// callers of safeSave as much as of safeSave itself.
class FailingFileSystem final : public SaveFileSystem {
  public:
    enum class Mode { Once, Persistent };
    FailingFileSystem(int64_t failAt, Mode mode, SaveFileSystem& real = systemFileSystem());

    std::unique_ptr<SaveFile> createTemporary(const std::string& target,
                                              SaveCompression compression, std::string& path,
                                              std::string& error) override;
    bool rename(const std::string& from, const std::string& to, std::string& error) override;
    bool syncFolder(const std::string& folder, std::string& error) override;
    void remove(const std::string& path) override { real_.remove(path); }
    void removeStale(const std::string& folder) override { real_.removeStale(folder); }

    // Counts one operation and says whether it is to fail.
    bool nextFails();
    int64_t operationCount() const { return count_; }
    int64_t failureCount() const { return failures_; }

    static constexpr const char* kInjectedError = "injected failure";

  private:
    int64_t failAt_;
    Mode mode_;
    SaveFileSystem& real_;
    int64_t count_ = 0;
    int64_t failures_ = 0;
};

}  // namespace penwick
