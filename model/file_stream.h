#pragma once

#include <cstdint>
#include <cstdio>

#include "model/byte_stream.h"

namespace penwick {

// A file read or written through the standard library, unbuffered by us.
class FileStream final : public ByteStream {
  public:
    FileStream() = default;
    ~FileStream() override { close(); }

    // Opens `path` with the standard mode string `mode` ("rb" or "wb"),
    // closing any file held before. Fails on a null or empty path without
    // touching the file system.
    bool open(const char* path, const char* mode);
    // Closes the file; returns false when the close reported an error (for a
    // written file: its last bytes may not have reached the disk).
    bool close();
    bool isOpen() const { return file_ != nullptr; }

    int32_t read(void* buffer, int32_t length) override;
    int32_t write(const void* buffer, int32_t length) override;

    // The file's length (0 when closed); the position is kept.
    int64_t fileSize();

  private:
    std::FILE* file_ = nullptr;
};

}  // namespace penwick
