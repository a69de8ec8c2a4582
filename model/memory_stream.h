#pragma once

#include <cstdint>
#include <memory>

#include "model/byte_stream.h"

namespace penwick {

// A growable in-memory byte buffer with one read/write position. Used for the
// clipboard payload and for reading whole files before they are decoded.
class MemoryStream final : public ByteStream {
  public:
    // A stream of `initialSize` zero bytes; none (and no buffer) when it is 0 or less.
    explicit MemoryStream(int32_t initialSize = 0);
    // A stream holding a copy of `size` bytes, positioned at the start.
    MemoryStream(const void* bytes, int32_t size);

    int32_t read(void* buffer, int32_t length) override;
    int32_t write(const void* buffer, int32_t length) override;

    // Sets the size to `n`, growing the buffer when needed (never shrinking
    // it) and pulling the position back to `n` when it lay beyond. Returns
    // false, changing nothing, when the memory cannot be had.
    bool resize(int32_t n);

    const unsigned char* data() const { return data_.get(); }
    unsigned char* data() { return data_.get(); }
    int32_t size() const { return size_; }
    int32_t capacity() const { return capacity_; }
    int32_t position() const { return position_; }
    void setPosition(int32_t p);

    // The capacity a buffer asked to hold `n` bytes is given: `n` rounded up
    // to a multiple of the largest power of two not above n / 2 (1 below 4),
    // so 100 bytes get 128 and growth by appending stays amortised.
    static int64_t grownCapacity(int32_t n);

  private:
    std::unique_ptr<unsigned char[]> data_;
    int32_t size_ = 0;
    int32_t capacity_ = 0;
    int32_t position_ = 0;
};

}  // namespace penwick
