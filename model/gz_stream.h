#pragma once

#include <zlib.h>

#include <cstdint>
#include <string>

#include "model/byte_stream.h"

namespace penwick {

// A gzip-compressed file through zlib. Reading a file that is not compressed
// delivers its bytes unchanged.
class GzStream final : public ByteStream {
  public:
    GzStream() = default;
    ~GzStream() override { close(); }

    // Opens `path` with the zlib mode string `mode` ("rb", or "wb" for the
    // default compression level), closing any file held before. Fails on a
    // null or empty path without touching the file system.
    bool open(const char* path, const char* mode);
    // Takes over an open file descriptor (see gzdopen); the stream closes it.
    bool openDescriptor(int fd, const char* mode);
    // gzclose: for a written file this compresses and writes the last bytes,
    // so its result is the result of the whole write. True when nothing was open.
    bool close();
    bool isOpen() const { return file_ != nullptr; }

    // Returns the bytes delivered; -1 when the compressed data is damaged or
    // ends before its trailer, so that a cut-off file never passes as a short one.
    int32_t read(void* buffer, int32_t length) override;
    int32_t write(const void* buffer, int32_t length) override;

    // zlib's description of the last failure ("" when none).
    std::string errorText() const;

  private:
    gzFile file_ = nullptr;
    std::string lastErrorText_;
};

}  // namespace penwick
