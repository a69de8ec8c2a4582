#include "framework/platform/bitmap.h"

#include <algorithm>
#include <new>

#include "host/host.h"

namespace penwick {

int ktBitmap::strideFor(int width, int bitsPerPixel) {
    return int((std::int64_t(width) * (bitsPerPixel / 8) + 3) & ~std::int64_t(3));
}

bool ktBitmap::create(int width, int height, int bitsPerPixel) {
    release();
    if (bitsPerPixel != 32 && bitsPerPixel != 8) return false;
    width = std::max(width, 1);
    height = std::max(height, 1);
    std::int64_t stride = (std::int64_t(width) * (bitsPerPixel / 8) + 3) & ~std::int64_t(3);
    std::int64_t size = stride * height;
    if (size > 0x7FFFFFFF) return false;
    try {
        pixels_.assign(std::size_t(size), 0);
        colourTable_.assign(256 * 4, 0);
    } catch (const std::bad_alloc&) {
        release();
        return false;
    }
    for (int i = 0; i < 256; ++i) {
        double level = std::clamp(i / 255.0, 0.004, 0.996);
        auto grey = std::uint8_t(255 * level);
        std::fill_n(colourTable_.begin() + 4 * i, 3, grey);
    }
    header_ = BitmapHeader{};
    header_.width = width;
    header_.height = -height;
    header_.bitCount = std::uint16_t(bitsPerPixel);
    header_.imageSize = std::uint32_t(size);
    stride_ = int(stride);
    dc_ = host::instance().createMemoryContext(view());
    if (!dc_) {
        release();
        return false;
    }
    return true;
}

void ktBitmap::release() {
    dc_.reset();
    pixels_ = {};
    colourTable_ = {};
    header_ = BitmapHeader{};
    stride_ = 0;
}

host::PixelView ktBitmap::view() {
    return {pixels_.data(), width(), height(), stride_, bitsPerPixel(), colourTable_.data()};
}

std::vector<std::uint8_t> ktBitmap::description() const {
    std::vector<std::uint8_t> out;
    auto put = [&](std::uint32_t value, int bytes) {
        for (int i = 0; i < bytes; ++i)
            out.push_back(std::uint8_t(value >> (8 * i)));
    };
    put(header_.size, 4);
    put(std::uint32_t(header_.width), 4);
    put(std::uint32_t(header_.height), 4);
    put(header_.planes, 2);
    put(header_.bitCount, 2);
    put(header_.compression, 4);
    put(header_.imageSize, 4);
    put(std::uint32_t(header_.xPixelsPerMetre), 4);
    put(std::uint32_t(header_.yPixelsPerMetre), 4);
    put(header_.coloursUsed, 4);
    put(header_.coloursImportant, 4);
    out.insert(out.end(), colourTable_.begin(), colourTable_.end());
    return out;
}

PixelBuffer pixelBufferOf(ktBitmap& bitmap) {
    PixelBuffer pixels;
    if (!bitmap.isValid()) return pixels;
    const int bits = bitmap.bitsPerPixel();
    if (bits != 32 && bits != 8) return pixels;
    pixels.view(bitmap.bits(), bitmap.width(), bitmap.height(), bitmap.stride(),
                bits == 32 ? PixelFormat::rgb32() : PixelFormat::grey());
    return pixels;
}

}  // namespace penwick
