#pragma once
// ktBitmap: an off-screen bitmap with a device context drawing into it, the
// back buffer of windows and the pixels a PixelBuffer views.
//
// Layout: rows top-down, `stride` = (width * bytesPerPixel + 3) rounded down
// to a multiple of 4 bytes. Described by the 40-byte header the platform's
// bitmaps carry, followed by a 256-entry grey colour table (used by 8-bit
// bitmaps): entry i has red = green = blue = 255 * clamp(i / 255, 0.004,
// 0.996) truncated, and a zero fourth byte.

#include <cstdint>
#include <memory>
#include <vector>

#include "host/device_context.h"
#include "render/pixel_buffer.h"

namespace penwick {

struct BitmapHeader {
    std::uint32_t size = 40;
    std::int32_t width = 0;
    std::int32_t height = 0;  // minus the height: rows top-down
    std::uint16_t planes = 1;
    std::uint16_t bitCount = 0;
    std::uint32_t compression = 0;
    std::uint32_t imageSize = 0;  // stride * height
    std::int32_t xPixelsPerMetre = 0;
    std::int32_t yPixelsPerMetre = 0;
    std::uint32_t coloursUsed = 0;
    std::uint32_t coloursImportant = 0;
};

class ktBitmap {
  public:
    ktBitmap() = default;
    ktBitmap(const ktBitmap&) = delete;
    ktBitmap& operator=(const ktBitmap&) = delete;

    // Makes (or remakes) the bitmap: 32 or 8 bits per pixel, a width below 1
    // becomes 1 and a height below 1 becomes 1. False, leaving the bitmap
    // empty, for another depth, a size beyond 2 GiB or no memory context.
    bool create(int width, int height, int bitsPerPixel);
    void release();

    bool isValid() const { return dc_ != nullptr; }
    int width() const { return header_.width; }
    int height() const { return -header_.height; }
    int bitsPerPixel() const { return header_.bitCount; }
    int stride() const { return stride_; }
    std::uint8_t* bits() { return pixels_.data(); }
    const std::uint8_t* bits() const { return pixels_.data(); }
    const BitmapHeader& header() const { return header_; }
    const std::uint8_t* colourTable() const { return colourTable_.data(); }
    host::PixelView view();
    host::DeviceContext* dc() { return dc_.get(); }

    // The header and the colour table as they lie in memory (40 + 1024
    // bytes, little-endian).
    std::vector<std::uint8_t> description() const;

    static int strideFor(int width, int bitsPerPixel);

  private:
    BitmapHeader header_;
    int stride_ = 0;
    std::vector<std::uint8_t> colourTable_;
    std::vector<std::uint8_t> pixels_;
    std::unique_ptr<host::DeviceContext> dc_;
};

// The bitmap's pixels as a PixelBuffer that views them in place (drawing
// into it draws into the bitmap): 32 bits per pixel as 32-bit RGB, 8 bits
// as grey (the value is the index into the grey colour table). An invalid
// bitmap gives an empty buffer. The view is good until the bitmap is made
// again or released, so take it afresh for each paint.
PixelBuffer pixelBufferOf(ktBitmap& bitmap);

}  // namespace penwick
