#include "model/deflate_file.h"

#include <libdeflate.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <new>

namespace penwick {

namespace {

// zlib's default level, so that files keep about the size they had.
constexpr int kCompressionLevel = 6;

// A gzip member is a 10-byte header, the deflate data (at least 2 bytes) and
// an 8-byte trailer: the CRC-32 and the size modulo 2^32, little-endian.
constexpr size_t kHeaderSize = 10;
constexpr size_t kTrailerSize = 8;
constexpr size_t kSmallestMember = kHeaderSize + 2 + kTrailerSize;
constexpr unsigned char kMethodDeflate = 8;
// Header flags that need no more than libdeflate checks: the text hint and
// a file name. Everything else (a header checksum, an extra field, a
// comment, reserved bits) is left to zlib, which checks all of it.
constexpr unsigned char kFlagText = 0x01;
constexpr unsigned char kFlagName = 0x08;

// Deflate expands at most 1032 times (258 bytes from a 2-bit code), so a
// member whose trailer claims more than that is damaged and gets no buffer.
constexpr uint64_t kMaxExpansion = 1032;

uint32_t littleEndian32(const unsigned char* at) {
    return uint32_t(at[0]) | uint32_t(at[1]) << 8 | uint32_t(at[2]) << 16 | uint32_t(at[3]) << 24;
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

// A fresh buffer of `size` bytes, or null when there is no memory for it.
// Huge pages are asked for under its whole 2 MiB pages before anything
// touches it: filling a buffer of many megabytes page by page would
// otherwise cost the kernel one fault per 4 KiB, a fifth of a large page's
// load. Only a hint; without it the buffer works the same.
std::unique_ptr<unsigned char[]> freshBuffer(size_t size) {
    std::unique_ptr<unsigned char[]> buffer(new (std::nothrow) unsigned char[size]);
#ifdef MADV_HUGEPAGE
    if (buffer) {
        constexpr uintptr_t kHugePage = uintptr_t(2) << 20;
        const auto at = reinterpret_cast<uintptr_t>(buffer.get());
        const uintptr_t from = (at + kHugePage - 1) & ~(kHugePage - 1);
        const uintptr_t to = (at + size) & ~(kHugePage - 1);
        if (from < to) ::madvise(reinterpret_cast<void*>(from), to - from, MADV_HUGEPAGE);
    }
#endif
    return buffer;
}

// The buffer a file is read into, kept for the thread's next load: even
// with huge pages the kernel zeroes every page of a fresh buffer before the
// read can copy into it, a tenth of a large page's load, and page changes
// load one page after another. Only the compressed bytes are kept (less
// than the drawing they hold takes in memory), and only up to a size that
// is cheap to hold; a larger file gets a buffer of its own for the one load.
constexpr size_t kKeptReadBuffer = size_t{64} << 20;

struct KeptReadBuffer {
    std::unique_ptr<unsigned char[]> bytes;
    size_t capacity = 0;
};

}  // namespace

bool inflateWholeGzip(const unsigned char* data, size_t size, size_t limit, InflatedFile& out) {
    if (size < kSmallestMember || data[0] != 0x1F || data[1] != 0x8B || data[2] != kMethodDeflate ||
        (data[3] & ~(kFlagText | kFlagName)) != 0)
        return false;
    const size_t claimed = littleEndian32(data + size - 4);
    if (claimed > limit || claimed > uint64_t{size} * kMaxExpansion) return false;

    std::unique_ptr<unsigned char[]> bytes = freshBuffer(claimed);
    if (!bytes) return false;
    libdeflate_decompressor* decompressor = libdeflate_alloc_decompressor();
    if (decompressor == nullptr) return false;
    size_t used = 0;
    size_t delivered = 0;
    const libdeflate_result result = libdeflate_gzip_decompress_ex(
        decompressor, data, size, bytes.get(), claimed, &used, &delivered);
    libdeflate_free_decompressor(decompressor);
    // Bytes after the member may be another member, which zlib reads on.
    if (result != LIBDEFLATE_SUCCESS || used != size || delivered != claimed) return false;
    out.bytes = std::move(bytes);
    out.size = delivered;
    return true;
}

bool inflateWholeGzipFile(int fd, size_t limit, InflatedFile& out) {
    struct stat status {};
    if (::fstat(fd, &status) != 0 || !S_ISREG(status.st_mode)) return false;
    if (status.st_size < off_t(kSmallestMember) || uint64_t(status.st_size) > limit) return false;
    const auto size = static_cast<size_t>(status.st_size);
    thread_local KeptReadBuffer kept;
    std::unique_ptr<unsigned char[]> own;
    if (size > kKeptReadBuffer) {
        own = freshBuffer(size);
    } else if (kept.capacity < size) {
        // The old buffer goes first, so that the two are never held at once.
        kept = {};
        kept.bytes = freshBuffer(size);
        if (kept.bytes) kept.capacity = size;
    }
    unsigned char* const file = own ? own.get() : kept.bytes.get();
    if (file == nullptr) return false;
    // pread keeps the file position for zlib, should it have to read instead.
    size_t have = 0;
    while (have < size) {
        const ssize_t got = ::pread(fd, file + have, size - have, off_t(have));
        if (got < 0 && errno == EINTR) continue;
        if (got <= 0) return false;
        have += static_cast<size_t>(got);
    }
    return inflateWholeGzip(file, size, limit, out);
}

GzipFileWriter::GzipFileWriter(int fd, size_t wholeFileLimit)
    : fd_(fd), wholeFileLimit_(wholeFileLimit) {}

GzipFileWriter::~GzipFileWriter() = default;

bool GzipFileWriter::fail(const std::string& why) {
    failed_ = true;
    error_ = why;
    return false;
}

bool GzipFileWriter::switchToStream() {
    const int copy = ::dup(fd_);
    if (copy < 0) return fail(std::strerror(errno));
    if (!stream_.openDescriptor(copy, "wb")) {
        ::close(copy);
        return fail("the compressor could not be started");
    }
    streaming_ = true;
    const int32_t length = static_cast<int32_t>(collected_.size());
    if (length > 0 && stream_.write(collected_.data(), length) != length)
        return fail(stream_.errorText());
    std::vector<unsigned char>().swap(collected_);
    return true;
}

int32_t GzipFileWriter::write(const void* data, int32_t length) {
    if (failed_) return -1;
    if (length <= 0) return 0;
    if (!streaming_ && collected_.size() + size_t(length) > wholeFileLimit_ && !switchToStream())
        return -1;
    if (streaming_) {
        const int32_t written = stream_.write(data, length);
        if (written != length) fail(stream_.errorText());
        return written;
    }
    const auto* bytes = static_cast<const unsigned char*>(data);
    try {
        collected_.insert(collected_.end(), bytes, bytes + length);
    } catch (const std::bad_alloc&) {
        fail("there is not enough memory");
        return -1;
    }
    return length;
}

bool GzipFileWriter::finish() {
    if (failed_) return false;
    if (streaming_) return stream_.close() || fail(stream_.errorText());

    libdeflate_compressor* compressor = libdeflate_alloc_compressor(kCompressionLevel);
    if (compressor == nullptr) return fail("the compressor could not be started");
    const size_t bound = libdeflate_gzip_compress_bound(compressor, collected_.size());
    std::unique_ptr<unsigned char[]> packed(new (std::nothrow) unsigned char[bound]);
    size_t packedSize = 0;
    if (packed) {
        packedSize = libdeflate_gzip_compress(compressor, collected_.data(), collected_.size(),
                                              packed.get(), bound);
    }
    libdeflate_free_compressor(compressor);
    if (!packed) return fail("there is not enough memory");
    // Within the bound libdeflate always succeeds; a 0 would mean it did not.
    if (packedSize == 0) return fail("the compressed data could not be finished");
    std::vector<unsigned char>().swap(collected_);
    if (!writeAll(fd_, packed.get(), packedSize)) return fail(std::strerror(errno));
    return true;
}

}  // namespace penwick
