#include "tools/png_file.h"

#include <png.h>
#include <zlib.h>

#include <csetjmp>
#include <cstdint>
#include <limits>
#include <memory>

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

}  // namespace

PngCompression libpngDefaultCompression() {
    return {Z_DEFAULT_COMPRESSION, Z_FILTERED, PNG_ALL_FILTERS};
}

PngCompression exportCompression() {
    return {1, Z_RLE, PNG_FILTER_UP};
}

std::vector<unsigned char> encodePng(const PixelBuffer& picture) {
    return encodePng(picture, exportCompression());
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
