#pragma once

#include <bit>
#include <cstdint>

namespace penwick {

// One small byte-stream abstraction through which every file, compressed file
// and in-memory buffer is read and written. Concrete kinds: MemoryStream,
// FileStream, GzStream, and the temporary file of a safe save.
//
// Counts are 32-bit signed, as in the stored formats: a result below 1 means
// nothing was transferred.
class ByteStream {
  public:
    ByteStream() = default;
    ByteStream(const ByteStream&) = delete;
    ByteStream& operator=(const ByteStream&) = delete;
    virtual ~ByteStream() = default;

    // Copies up to `length` bytes into `buffer`; returns the number delivered
    // (0 or less when nothing could be read).
    virtual int32_t read(void* buffer, int32_t length) = 0;
    // Writes `length` bytes; returns the number written (0 or less on failure).
    virtual int32_t write(const void* buffer, int32_t length) = 0;

    // Writes the bytes of the zero-terminated string `s`, without the zero.
    int32_t writeString(const char* s);

    // Copies from `source` through one 64 KiB buffer until `limit` bytes have
    // been copied (a negative limit: until the source is exhausted), the source
    // delivers nothing or a write fails. Returns the total copied.
    int64_t copyFrom(ByteStream& source, int64_t limit);

    // Typed transfers. Values travel exactly as they lie in memory, which on
    // every supported machine is little-endian two's complement and IEEE-754.
    // Reads return the number of bytes delivered; a short read fills only what
    // it got and leaves the rest of the destination as it was.
    int32_t writeInt32(int32_t value) { return write(&value, 4); }
    int32_t writeByte(uint8_t value) { return write(&value, 1); }
    int32_t writeBlock(const void* data, int32_t size) { return write(data, size); }
    int32_t readInt32(int32_t& value) { return readBlock(&value, 4); }
    int32_t readByte(uint8_t& value) { return readBlock(&value, 1); }
    int32_t readBlock(void* data, int32_t size);

    static constexpr int32_t kCopyBufferSize = 65536;
};

static_assert(std::endian::native == std::endian::little,
              "the file formats store values as little-endian memory images");

}  // namespace penwick
