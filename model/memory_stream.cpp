#include "model/memory_stream.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <limits>
#include <new>

namespace penwick {

MemoryStream::MemoryStream(int32_t initialSize) {
    // The first buffer is exactly as large as asked; rounding starts with growth.
    if (initialSize <= 0) return;
    data_ = std::make_unique<unsigned char[]>(static_cast<size_t>(initialSize));
    size_ = capacity_ = initialSize;
}

MemoryStream::MemoryStream(const void* bytes, int32_t size) : MemoryStream(size) {
    if (size > 0) std::memcpy(data_.get(), bytes, static_cast<size_t>(size));
}

int32_t MemoryStream::read(void* buffer, int32_t length) {
    const int32_t available = std::min(length, size_ - position_);
    if (available <= 0) return 0;
    std::memcpy(buffer, data_.get() + position_, static_cast<size_t>(available));
    position_ += available;
    return available;
}

int32_t MemoryStream::write(const void* buffer, int32_t length) {
    if (length <= 0) return 0;
    if (length > std::numeric_limits<int32_t>::max() - position_) return -1;
    const int32_t end = position_ + length;
    if (end > size_ && !resize(end)) return -1;
    std::memcpy(data_.get() + position_, buffer, static_cast<size_t>(length));
    position_ = end;
    return length;
}

int64_t MemoryStream::grownCapacity(int32_t n) {
    if (n < 4) return n;
    const int64_t block = std::bit_floor(static_cast<uint32_t>(n / 2));
    return (static_cast<int64_t>(n) + block - 1) / block * block;
}

bool MemoryStream::resize(int32_t n) {
    if (n < 0) return false;
    if (capacity_ < n) {
        // The rounded capacity can pass the 32-bit range just below 2 GiB;
        // the size itself never does, so clamp there.
        const auto capacity = static_cast<int32_t>(
            std::min<int64_t>(grownCapacity(n), std::numeric_limits<int32_t>::max()));
        std::unique_ptr<unsigned char[]> grown(new (std::nothrow) unsigned char[capacity]);
        if (!grown) return false;
        if (size_ > 0) std::memcpy(grown.get(), data_.get(), static_cast<size_t>(size_));
        std::memset(grown.get() + size_, 0, static_cast<size_t>(capacity - size_));
        data_ = std::move(grown);
        capacity_ = capacity;
    } else if (n > size_) {
        // Bytes that come back into use after a shrink read as zero.
        std::memset(data_.get() + size_, 0, static_cast<size_t>(n - size_));
    }
    size_ = n;
    position_ = std::min(position_, n);
    return true;
}

void MemoryStream::setPosition(int32_t p) {
    position_ = std::clamp(p, 0, size_);
}

}  // namespace penwick
