#include "model/byte_stream.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace penwick {

int32_t ByteStream::writeString(const char* s) {
    if (s == nullptr) return 0;
    return write(s, static_cast<int32_t>(std::strlen(s)));
}

int64_t ByteStream::copyFrom(ByteStream& source, int64_t limit) {
    if (limit == 0) return 0;
    std::vector<unsigned char> buffer(kCopyBufferSize);
    int64_t total = 0;
    for (;;) {
        const int32_t ask = limit < 0
                                ? kCopyBufferSize
                                : static_cast<int32_t>(std::min<int64_t>(limit, kCopyBufferSize));
        const int32_t got = source.read(buffer.data(), ask);
        if (got < 1) break;
        const int32_t written = write(buffer.data(), got);
        if (written < 1) break;
        total += written;
        if (written < got) break;  // the target took only part: it is full or failing
        if (got == limit) break;
        if (limit > 0) limit -= got;
    }
    return total;
}

int32_t ByteStream::readBlock(void* data, int32_t size) {
    // Streams may deliver less than asked before their end (a pipe, a slow
    // file), so keep asking until the block is full or nothing more comes.
    auto* out = static_cast<unsigned char*>(data);
    int32_t have = 0;
    while (have < size) {
        const int32_t got = read(out + have, size - have);
        if (got < 1) break;
        have += got;
    }
    return have;
}

}  // namespace penwick
