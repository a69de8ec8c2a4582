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

// Asks for huge pages under the whole 2 MiB pages of a fresh buffer of many
// megabytes, before anything touches it: filling it page by page would
// otherwise cost the kernel one fault per 4 KiB, a fifth of a large page's
// load. Only a hint; without it the buffer works the same.
void preferHugePages(unsigned char* buffer, size_t size) {
#ifdef MADV_HUGEPAGE
    constexpr uintptr_t kHugePage = uintptr_t(2) << 20;
    const uintptr_t from = (reinterpret_cast<uintptr_t>(buffer) + kHugePage - 1) & ~(kHugePage - 1);
    const uintptr_t to = (reinterpret_cast<uintptr_t>(buffer) + size) & ~(kHugePage - 1);
    if (from < to) ::madvise(reinterpret_cast<void*>(from), to - from, MADV_HUGEPAGE);
#else
    (void)buffer;
    (void)size;
#endif
}

// The buffer a file is read into, kept for the thread's next load. A fresh
// buffer of many megabytes has the kernel zero every page of it before the
// read can copy into it, a tenth of a large page's load, and page changes
// load one page after another. Only the compressed bytes are kept (less
// than the drawing they hold takes in memory), one buffer per thread and
// only up to a size that is cheap to hold; a larger file gets a buffer of
// its own for the one load.
constexpr size_t kKeptReadBuffer = size_t{64} << 20;

class ReadBuffer {
  public:
    unsigned char* take(size_t size) {
        if (size > kKeptReadBuffer) {
            once_.reset(new (std::nothrow) unsigned char[size]);
            if (once_) preferHugePages(once_.get(), size);
            return once_.get();
        }
        if (capacity_ < size) {
            // The old buffer goes first, so that the two are never held at once.
            kept_.reset();
            kept_.reset(new (std::nothrow) unsigned char[size]);
            capacity_ = kept_ ? size : 0;
            if (kept_) preferHugePages(kept_.get(), size);
        }
        return kept_.get();
    }
    void release() { once_.reset(); }

  private:
    std::unique_ptr<unsigned char[]> kept_;
    size_t capacity_ = 0;
    std::unique_ptr<unsigned char[]> once_;
};

}  // namespace

bool inflateWholeGzip(const unsigned char* data, size_t size, size_t limit, InflatedFile& out) {
    if (size < kSmallestMember || data[0] != 0x1F || data[1] != 0x8B || data[2] != kMethodDeflate ||
        (data[3] & ~(kFlagText | kFlagName)) != 0)
        return false;
    const size_t claimed = littleEndian32(data + size - 4);
    if (claimed > limit || claimed > uint64_t{size} * kMaxExpansion) return false;

    std::unique_ptr<unsigned char[]> bytes(new (std::nothrow) unsigned char[claimed]);
    if (!bytes) return false;
    preferHugePages(bytes.get(), claimed);
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
    thread_local ReadBuffer buffer;
    unsigned char* const file = buffer.take(size);
    if (file == nullptr) return false;
    // pread keeps the file position for zlib, should it have to read instead.
    size_t have = 0;
    bool whole = true;
    while (have < size) {
        const ssize_t got = ::pread(fd, file + have, size - have, off_t(have));
        if (got < 0 && errno == EINTR) continue;
        if (got <= 0) {
            whole = false;
            break;
        }
        have += static_cast<size_t>(got);
    }
    const bool inflated = whole && inflateWholeGzip(file, size, limit, out);
    buffer.release();
    return inflated;
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
