#include "tools/png_file.h"

#include <png.h>
#include <zlib.h>

#include <atomic>
#include <csetjmp>
#include <cstdint>
#include <limits>
#include <memory>
#include <new>

#include "render/band_workers.h"

namespace penwick {

namespace {

void appendBytes(png_structp png, png_bytep data, png_size_t length) {
    auto* out = static_cast<std::vector<unsigned char>*>(png_get_io_ptr(png));
    out->insert(out->end(), data, data + length);
}

void flushNothing(png_structp) {}

constexpr png_size_t kOutputChunk = 1 << 20;

// libpng reports errors by longjmp; the rows are prepared before setjmp so
// that no object with a destructor lives across it.
bool encodeRows(std::vector<png_bytep>& rows, int width, int height,
                const PngCompression& compression, std::vector<unsigned char>& out) {
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    if (png == nullptr) return false;
    png_infop info = png_create_info_struct(png);
    if (info == nullptr || setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        return false;
    }
    png_set_write_fn(png, &out, appendBytes, flushNothing);
    png_set_compression_level(png, compression.level);
    png_set_compression_strategy(png, compression.strategy);
    // One zlib call per 1 MiB of output instead of per 8 KiB.
    png_set_compression_buffer_size(png, kOutputChunk);
    png_set_filter(png, PNG_FILTER_TYPE_BASE, compression.filters);
    png_set_IHDR(png, info, png_uint_32(width), png_uint_32(height), 8, PNG_COLOR_TYPE_RGB,
                 PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    png_write_image(png, rows.data());
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return true;
}

// Rows per piece of the parallel encoding. The pieces depend on the picture
// alone, never on the thread count, so the bytes are the same on any pool.
// A piece of 64 rows at 1920 columns is 360 KiB of filtered bytes: large
// enough that the 5-byte flush marker between pieces costs nothing.
constexpr int kPieceRows = 64;
// IDAT chunks of at most 1 MiB (PNG allows up to 2^31 - 1 bytes each).
constexpr size_t kChunkBytes = size_t(1) << 20;

void appendBigEndian32(std::vector<unsigned char>& out, uint32_t v) {
    const unsigned char bytes[4] = {
        static_cast<unsigned char>(v >> 24), static_cast<unsigned char>(v >> 16),
        static_cast<unsigned char>(v >> 8), static_cast<unsigned char>(v)};
    out.insert(out.end(), bytes, bytes + 4);
}

// A chunk: its length, its type, its data and the CRC of type and data.
void appendChunk(std::vector<unsigned char>& out, const char type[4], const unsigned char* data,
                 size_t length) {
    appendBigEndian32(out, uint32_t(length));
    const auto* typeBytes = reinterpret_cast<const unsigned char*>(type);
    out.insert(out.end(), typeBytes, typeBytes + 4);
    if (length > 0) out.insert(out.end(), data, data + length);
    uLong crc = crc32_z(0, typeBytes, 4);
    if (length > 0) crc = crc32_z(crc, data, length);
    appendBigEndian32(out, uint32_t(crc));
}

// One piece of the image data: rows [top, end) Up-filtered (each byte minus
// the one above it; the first row of the picture has zeros above) in red,
// green, blue, then compressed as raw deflate. Every piece but the last ends
// with a sync flush (an empty stored block that ends on a byte boundary), so
// the pieces' bytes put one after another form a single deflate stream. Run-
// length matching at level 1 looks back only one pixel, so cutting the stream
// loses almost nothing.
struct Piece {
    std::vector<unsigned char> deflated;
    uLong adler = 1;
    size_t filteredBytes = 0;
    bool ok = false;
};

void filterRows(const PixelBuffer& picture, int top, int end, unsigned char* to) {
    const int width = picture.width();
    for (int y = top; y < end; ++y) {
        const uint8_t* from = picture.row(y);
        const uint8_t* above = y > 0 ? picture.row(y - 1) : nullptr;
        *to++ = PNG_FILTER_VALUE_UP;
        if (above == nullptr) {
            for (int x = 0; x < width; ++x, from += 4, to += 3) {
                to[0] = from[2];
                to[1] = from[1];
                to[2] = from[0];
            }
        } else {
            for (int x = 0; x < width; ++x, from += 4, above += 4, to += 3) {
                to[0] = static_cast<unsigned char>(from[2] - above[2]);
                to[1] = static_cast<unsigned char>(from[1] - above[1]);
                to[2] = static_cast<unsigned char>(from[0] - above[0]);
            }
        }
    }
}

void encodePiece(const PixelBuffer& picture, int top, int end, Piece& piece) {
    const size_t rowBytes = 1 + size_t(picture.width()) * 3;
    piece.filteredBytes = rowBytes * size_t(end - top);
    auto filtered = std::make_unique_for_overwrite<unsigned char[]>(piece.filteredBytes);
    filterRows(picture, top, end, filtered.get());
    piece.adler = adler32_z(1, filtered.get(), piece.filteredBytes);

    z_stream z{};
    if (deflateInit2(&z, 1, Z_DEFLATED, -15, 8, Z_RLE) != Z_OK) return;
    const bool last = end == picture.height();
    // The bound of a whole stream, plus the flush marker.
    piece.deflated.resize(deflateBound(&z, uLong(piece.filteredBytes)) + 16);
    z.next_in = filtered.get();
    z.avail_in = uInt(piece.filteredBytes);
    z.next_out = piece.deflated.data();
    z.avail_out = uInt(piece.deflated.size());
    const int status = deflate(&z, last ? Z_FINISH : Z_SYNC_FLUSH);
    piece.ok = z.avail_in == 0 && (last ? status == Z_STREAM_END : status == Z_OK);
    piece.deflated.resize(z.total_out);
    deflateEnd(&z);
}

}  // namespace

std::vector<unsigned char> encodePng(const PixelBuffer& picture, BandWorkers& workers) {
    if (picture.isEmpty() || picture.format().bytesPerPixel != 4) return {};
    const int width = picture.width();
    const int height = picture.height();
    // Each piece must fit zlib's 32-bit counts.
    if ((1 + size_t(width) * 3) * kPieceRows > size_t(std::numeric_limits<uInt>::max()) / 2)
        return {};

    const int pieceCount = (height + kPieceRows - 1) / kPieceRows;
    std::vector<Piece> pieces(static_cast<size_t>(pieceCount));
    try {
        workers.run(pieceCount, [&](int i) {
            encodePiece(picture, i * kPieceRows, std::min(height, (i + 1) * kPieceRows),
                        pieces[size_t(i)]);
        });
    } catch (const std::bad_alloc&) {
        return {};
    }

    // The zlib stream: a header (deflate, 32 KiB window, the "fastest"
    // level flag, check bits making it a multiple of 31), the pieces, and
    // the Adler-32 of all filtered bytes.
    std::vector<unsigned char> stream = {0x78, 0x01};
    uLong adler = 1;
    for (const Piece& piece : pieces) {
        if (!piece.ok) return {};
        stream.insert(stream.end(), piece.deflated.begin(), piece.deflated.end());
        adler = adler32_combine(adler, piece.adler, z_off_t(piece.filteredBytes));
    }
    appendBigEndian32(stream, uint32_t(adler));

    std::vector<unsigned char> out = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    std::vector<unsigned char> header;
    appendBigEndian32(header, uint32_t(width));
    appendBigEndian32(header, uint32_t(height));
    // 8 bits per sample, RGB, deflate, adaptive filtering, no interlace.
    header.insert(header.end(), {8, 2, 0, 0, 0});
    out.reserve(stream.size() + stream.size() / kChunkBytes * 12 + 64);
    appendChunk(out, "IHDR", header.data(), header.size());
    for (size_t at = 0; at < stream.size(); at += kChunkBytes)
        appendChunk(out, "IDAT", stream.data() + at, std::min(kChunkBytes, stream.size() - at));
    appendChunk(out, "IEND", nullptr, 0);
    return out;
}

PngCompression libpngDefaultCompression() {
    return {Z_DEFAULT_COMPRESSION, Z_FILTERED, PNG_ALL_FILTERS};
}

PngCompression exportCompression() {
    return {1, Z_RLE, PNG_FILTER_UP};
}

std::vector<unsigned char> encodePng(const PixelBuffer& picture) {
    return encodePng(picture, BandWorkers::shared());
}

std::vector<unsigned char> encodePng(const PixelBuffer& picture,
                                     const PngCompression& compression) {
    if (picture.isEmpty() || picture.format().bytesPerPixel != 4) return {};
    const int width = picture.width();
    const int height = picture.height();

    // The buffer's pixels lie blue, green, red, unused; PNG wants red, green, blue.
    auto rgb = std::make_unique_for_overwrite<unsigned char[]>(size_t(width) * size_t(height) * 3);
    std::vector<png_bytep> rows(static_cast<size_t>(height));
    for (int y = 0; y < height; ++y) {
        const uint8_t* from = picture.row(y);
        unsigned char* to = rgb.get() + size_t(y) * size_t(width) * 3;
        rows[size_t(y)] = to;
        for (int x = 0; x < width; ++x, from += 4, to += 3) {
            to[0] = from[2];
            to[1] = from[1];
            to[2] = from[0];
        }
    }
    std::vector<unsigned char> out;
    if (!encodeRows(rows, width, height, compression, out)) return {};
    return out;
}

SaveResult savePng(const std::string& path, const PixelBuffer& picture) {
    const std::vector<unsigned char> bytes = encodePng(picture);
    if (bytes.empty())
        return {false, "could not save " + path + ": the picture could not be encoded"};
    if (bytes.size() > size_t(std::numeric_limits<int32_t>::max()))
        return {false, "could not save " + path + ": the picture is too large"};
    return safeSave(path, SaveCompression::None, [&bytes](ByteStream& out) {
        out.write(bytes.data(), static_cast<int32_t>(bytes.size()));
        return true;
    });
}

}  // namespace penwick
