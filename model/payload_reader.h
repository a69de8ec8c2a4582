#pragma once

#include <cstdint>
#include <cstring>

namespace penwick {

// Reads fields from untrusted bytes held in memory. Nothing is ever read
// beyond the end; every read says whether the bytes were there.
class PayloadReader {
  public:
    PayloadReader(const unsigned char* data, size_t size) : at_(data), left_(size) {}

    size_t remaining() const { return left_; }

    bool readBlock(void* out, size_t size) {
        if (size > left_) return false;
        std::memcpy(out, at_, size);
        at_ += size;
        left_ -= size;
        return true;
    }
    bool readInt32(int32_t& value) { return readBlock(&value, 4); }
    bool readByte(uint8_t& value) { return readBlock(&value, 1); }

    // True when `count` records of at least `minimumSize` bytes each can still
    // be there; so no count is trusted beyond the bytes that could hold it.
    bool canHold(int32_t count, size_t minimumSize) const {
        return count >= 0 && static_cast<uint64_t>(count) * minimumSize <= left_;
    }

    // Hands out `size` bytes in place.
    const unsigned char* take(size_t size) {
        if (size > left_) return nullptr;
        const unsigned char* start = at_;
        at_ += size;
        left_ -= size;
        return start;
    }

  private:
    const unsigned char* at_;
    size_t left_;
};

}  // namespace penwick
