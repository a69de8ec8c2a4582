// Whole gzip files through libdeflate, which compresses and decompresses the
// same format several times faster than zlib's streams but only in one call
// over whole buffers. zlib stays the reader of everything this does not take
// and the writer of files too large to hold in memory.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "model/gz_stream.h"

namespace penwick {

// Decompressed bytes in one buffer.
struct InflatedFile {
    std::unique_ptr<unsigned char[]> bytes;
    size_t size = 0;
};

// Decompresses the regular file open on `fd` in one call when it is exactly
// one gzip member with a plain header (no header checksum, no extra field, no
// comment) whose data is sound and holds at most `limit` bytes. Answers false
// for anything else — not a regular file, not gzip, several members or bytes
// after the member, damaged or truncated data, too large — and then leaves
// the file position where it was, so that zlib can read the file from the
// start and say what is wrong with it. Memory stays in proportion to the
// file's size: a member claiming more than deflate could ever expand it to is
// not believed.
bool inflateWholeGzipFile(int fd, size_t limit, InflatedFile& out);

// The same for gzip bytes already in memory.
bool inflateWholeGzip(const unsigned char* data, size_t size, size_t limit, InflatedFile& out);

// A gzip file written through its descriptor: the bytes are collected in
// memory and compressed in one call by libdeflate at finish(), at zlib's
// default level, into one member. A file that grows beyond the whole-file
// limit continues as a zlib stream instead, so that saving never holds more than
// that in memory. The descriptor stays the caller's.
class GzipFileWriter {
  public:
    // Collected bytes beyond this go to zlib's stream (64 MiB: four million
    // points, far beyond ordinary pages).
    static constexpr size_t kWholeFileLimit = size_t{64} << 20;

    explicit GzipFileWriter(int fd, size_t wholeFileLimit = kWholeFileLimit);
    ~GzipFileWriter();
    GzipFileWriter(const GzipFileWriter&) = delete;
    GzipFileWriter& operator=(const GzipFileWriter&) = delete;

    // Returns the number of bytes taken, or -1 when they could not be.
    int32_t write(const void* data, int32_t length);
    // Compresses and writes everything; its result is the result of the whole write.
    bool finish();
    // Why the last operation failed, in words a person can read.
    std::string errorText() const { return error_; }

  private:
    bool switchToStream();
    bool fail(const std::string& why);

    int fd_;
    size_t wholeFileLimit_;
    std::vector<unsigned char> collected_;
    GzStream stream_;
    bool streaming_ = false;
    bool failed_ = false;
    std::string error_;
};

}  // namespace penwick
