#include "model/gz_stream.h"

#include <cerrno>
#include <cstring>

namespace penwick {

namespace {
// The buffer zlib reads and writes the file through; larger than its 8 KiB
// default so that big sketches cost few system calls.
constexpr unsigned kGzBufferSize = 128 * 1024;
}  // namespace

bool GzStream::open(const char* path, const char* mode) {
    close();
    if (path == nullptr || *path == '\0') return false;
    file_ = gzopen(path, mode);
    if (file_ != nullptr) gzbuffer(file_, kGzBufferSize);
    return file_ != nullptr;
}

bool GzStream::openDescriptor(int fd, const char* mode) {
    close();
    if (fd < 0) return false;
    file_ = gzdopen(fd, mode);
    if (file_ != nullptr) gzbuffer(file_, kGzBufferSize);
    return file_ != nullptr;
}

bool GzStream::close() {
    if (file_ == nullptr) return true;
    const int result = gzclose(file_);
    file_ = nullptr;
    if (result != Z_OK) {
        lastErrorText_ = result == Z_ERRNO       ? std::strerror(errno)
                         : result == Z_BUF_ERROR ? "the compressed data ends too early"
                                                 : "the compressed data could not be finished";
    }
    return result == Z_OK;
}

int32_t GzStream::read(void* buffer, int32_t length) {
    if (file_ == nullptr) return Z_STREAM_ERROR;
    if (length <= 0) return 0;
    const int got = gzread(file_, buffer, static_cast<unsigned>(length));
    int error = Z_OK;
    const char* text = gzerror(file_, &error);
    if (got < 0 || (got == 0 && error == Z_BUF_ERROR)) {
        // zlib reports a file cut off inside its compressed data only through
        // gzerror, as Z_BUF_ERROR, and otherwise answers like a clean end.
        lastErrorText_ = text != nullptr ? text : "";
        return -1;
    }
    return got;
}

int32_t GzStream::write(const void* buffer, int32_t length) {
    if (file_ == nullptr) return Z_STREAM_ERROR;
    if (length <= 0) return 0;
    const int written = gzwrite(file_, buffer, static_cast<unsigned>(length));
    if (written <= 0) {
        int error = Z_OK;
        const char* text = gzerror(file_, &error);
        lastErrorText_ = error == Z_ERRNO ? std::strerror(errno) : text != nullptr ? text : "";
    }
    return written;
}

std::string GzStream::errorText() const {
    return lastErrorText_;
}

}  // namespace penwick
