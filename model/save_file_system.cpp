#include "model/save_file_system.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <vector>

#include "model/deflate_file.h"
#include "model/gz_stream.h"
#include "model/temporary_files.h"

namespace penwick {

namespace {

std::string systemError() {
    return std::strerror(errno);
}

std::string folderOf(const std::string& path) {
    const auto slash = path.find_last_of('/');
    if (slash == std::string::npos) return ".";
    if (slash == 0) return "/";
    return path.substr(0, slash);
}

bool writeAll(int fd, const unsigned char* data, size_t length) {
    while (length > 0) {
        const ssize_t written = ::write(fd, data, length);
        if (written < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        data += written;
        length -= static_cast<size_t>(written);
    }
    return true;
}

// A file written through its descriptor: plain bytes go through our own
// buffer, compressed ones through a GzipFileWriter on the same descriptor,
// which stays open so that the file can be flushed to the disk afterwards.
class PosixSaveFile final : public SaveFile {
  public:
    PosixSaveFile(int fd, SaveCompression compression) : fd_(fd) {
        if (compression == SaveCompression::Gzip) {
            gz_ = std::make_unique<GzipFileWriter>(fd);
        } else {
            buffer_.reserve(kBufferSize);
        }
    }
    ~PosixSaveFile() override {
        gz_.reset();
        if (fd_ >= 0) ::close(fd_);
    }

    int32_t write(const void* data, int32_t length) override {
        if (length <= 0) return 0;
        if (gz_) {
            const int32_t written = gz_->write(data, length);
            if (written != length) error_ = gz_->errorText();
            return written;
        }
        const auto* bytes = static_cast<const unsigned char*>(data);
        if (buffer_.size() + static_cast<size_t>(length) > kBufferSize) {
            if (!drain()) return -1;
            if (static_cast<size_t>(length) >= kBufferSize) {
                if (!writeAll(fd_, bytes, static_cast<size_t>(length))) {
                    error_ = systemError();
                    return -1;
                }
                return length;
            }
        }
        buffer_.insert(buffer_.end(), bytes, bytes + length);
        return length;
    }

    bool finish() override {
        if (!gz_) return drain();
        if (gz_->finish()) return true;
        error_ = gz_->errorText();
        return false;
    }

    bool sync() override {
        if (::fsync(fd_) == 0) return true;
        error_ = systemError();
        return false;
    }

    bool close() override {
        const int fd = fd_;
        fd_ = -1;
        // The descriptor is gone whatever close() answers; never retry it.
        if (::close(fd) == 0) return true;
        error_ = systemError();
        return false;
    }

    std::string errorText() const override { return error_; }

  private:
    static constexpr size_t kBufferSize = 64 * 1024;

    bool drain() {
        if (buffer_.empty()) return true;
        const bool ok = writeAll(fd_, buffer_.data(), buffer_.size());
        if (!ok) error_ = systemError();
        buffer_.clear();
        return ok;
    }

    int fd_;
    std::unique_ptr<GzipFileWriter> gz_;
    std::vector<unsigned char> buffer_;
    std::string error_;
};

class PosixFileSystem final : public SaveFileSystem {
  public:
    std::unique_ptr<SaveFile> createTemporary(const std::string& target,
                                              SaveCompression compression, std::string& path,
                                              std::string& error) override {
        int fd = -1;
        // O_EXCL makes the name ours; another save (or an earlier crash) may
        // hold the same name, so try a few more.
        for (int attempt = 0; attempt < 100 && fd < 0; ++attempt) {
            path = folderOf(target) + "/" + newTemporaryName();
            fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
            if (fd < 0 && errno != EEXIST) break;
        }
        if (fd < 0) {
            error = systemError();
            path.clear();
            return nullptr;
        }
        // The new file keeps the permissions of the one it replaces.
        struct stat existing {};
        if (::stat(target.c_str(), &existing) == 0) ::fchmod(fd, existing.st_mode & 07777);
        return std::make_unique<PosixSaveFile>(fd, compression);
    }

    bool rename(const std::string& from, const std::string& to, std::string& error) override {
        if (::rename(from.c_str(), to.c_str()) == 0) return true;
        error = systemError();
        return false;
    }

    bool syncFolder(const std::string& folder, std::string& error) override {
        const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        if (fd < 0) {
            error = systemError();
            return false;
        }
        bool ok = ::fsync(fd) == 0;
        // Some file systems cannot flush a folder at all; that is no failure of ours.
        if (!ok && (errno == EINVAL || errno == EROFS || errno == ENOTSUP)) ok = true;
        if (!ok) error = systemError();
        ::close(fd);
        return ok;
    }

    void remove(const std::string& path) override { ::unlink(path.c_str()); }

    void removeStale(const std::string& folder) override { removeStaleTemporaries(folder); }
};

// Passes every operation of a file to the real one unless the failing file
// system says this one is to fail.
class FailingSaveFile final : public SaveFile {
  public:
    FailingSaveFile(std::unique_ptr<SaveFile> real, FailingFileSystem& owner)
        : real_(std::move(real)), owner_(owner) {}

    int32_t write(const void* data, int32_t length) override {
        if (owner_.nextFails()) return injected(-1);
        return real_->write(data, length);
    }
    bool finish() override { return owner_.nextFails() ? injected(false) : real_->finish(); }
    bool sync() override { return owner_.nextFails() ? injected(false) : real_->sync(); }
    bool close() override { return owner_.nextFails() ? injected(false) : real_->close(); }
    std::string errorText() const override {
        return injected_ ? FailingFileSystem::kInjectedError : real_->errorText();
    }

  private:
    template <typename T>
    T injected(T result) {
        injected_ = true;
        return result;
    }

    std::unique_ptr<SaveFile> real_;
    FailingFileSystem& owner_;
    bool injected_ = false;
};

}  // namespace

SaveFileSystem& systemFileSystem() {
    static PosixFileSystem files;
    return files;
}

FailingFileSystem::FailingFileSystem(int64_t failAt, Mode mode, SaveFileSystem& real)
    : failAt_(failAt), mode_(mode), real_(real) {}

bool FailingFileSystem::nextFails() {
    ++count_;
    const bool fails =
        failAt_ > 0 && (count_ == failAt_ || (mode_ == Mode::Persistent && count_ > failAt_));
    if (fails) ++failures_;
    return fails;
}

std::unique_ptr<SaveFile> FailingFileSystem::createTemporary(const std::string& target,
                                                             SaveCompression compression,
                                                             std::string& path,
                                                             std::string& error) {
    if (nextFails()) {
        error = kInjectedError;
        return nullptr;
    }
    auto real = real_.createTemporary(target, compression, path, error);
    if (!real) return nullptr;
    return std::make_unique<FailingSaveFile>(std::move(real), *this);
}

bool FailingFileSystem::rename(const std::string& from, const std::string& to, std::string& error) {
    if (nextFails()) {
        error = kInjectedError;
        return false;
    }
    return real_.rename(from, to, error);
}

bool FailingFileSystem::syncFolder(const std::string& folder, std::string& error) {
    if (nextFails()) {
        error = kInjectedError;
        return false;
    }
    return real_.syncFolder(folder, error);
}

}  // namespace penwick
