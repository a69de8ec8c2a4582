#pragma once

#include <array>
#include <cstdint>
#include <memory>

#include "render/pixel_format.h"

namespace penwick {

// A rectangle of pixels in one PixelFormat, owning its memory or viewing
// someone else's (a sub-rectangle of another buffer, or foreign bits such as
// a window's back buffer). Pixel (x, y) lies at firstRow + y * stride +
// x * bytesPerPixel; the stride is negative for bottom-up memory, so every
// routine works row by row without special cases.
//
// A default-constructed buffer is empty and allocates nothing. Buffers move
// but do not copy (a copy of a view would silently alias).
class PixelBuffer {
  public:
    PixelBuffer() = default;
    PixelBuffer(PixelBuffer&&) noexcept = default;
    PixelBuffer& operator=(PixelBuffer&&) noexcept = default;
    PixelBuffer(const PixelBuffer&) = delete;
    PixelBuffer& operator=(const PixelBuffer&) = delete;

    // Frees what the buffer owned and allocates width x height pixels, every
    // one holding fillValue. The stride is minimumStride unless that is
    // smaller than a row, in which case it is the row rounded up to a
    // multiple of 4 bytes. Returns false (leaving the buffer empty) for a
    // non-positive size or one too large to address.
    bool allocate(int width, int height, PixelFormat format, int minimumStride, uint32_t fillValue);

    // Makes the buffer a view of foreign memory. A negative height means the
    // rows lie bottom-up in memory. No memory or a zero height gives an empty
    // buffer.
    void view(void* memory, int width, int height, int stride, PixelFormat format);

    // Makes the buffer a view of the rectangle (x, y, w, h) of `source`,
    // clipped to it; w or h of -1 mean the source's width or height. When the
    // rectangle misses the source entirely the buffer becomes a private
    // 1 x 1 grey buffer, so drawing into it changes nothing visible.
    void subView(PixelBuffer& source, int x, int y, int w, int h);

    // Writes the low bytesPerPixel bytes of `value` into every pixel.
    void fillAll(uint32_t value);

    // The address of pixel (x, y), or of a scratch pixel outside the buffer.
    uint8_t* pixelAt(int x, int y);

    // Fills the clipped rectangle with the colour (an ARGB colour: for code 4
    // its alpha byte is written too).
    void fillRect(uint32_t colour, int x, int y, int w, int h);

    // Draws `source` into the clipped rectangle. Source rows and columns
    // repeat when the rectangle is larger than the source. Mode 0 copies the
    // bytes (formats of equal pixel size); modes 8 ... 263 alpha-composite
    // with global alpha mode - 8. Other modes draw nothing.
    void composite(const PixelBuffer& source, int x, int y, int w, int h, int mode);

    int width() const { return width_; }
    int height() const { return height_; }
    int stride() const { return stride_; }
    const PixelFormat& format() const { return format_; }
    bool isEmpty() const { return firstRow_ == nullptr || width_ <= 0 || height_ <= 0; }
    bool ownsMemory() const { return owned_ != nullptr; }

    uint8_t* row(int y) { return firstRow_ + std::ptrdiff_t(y) * stride_; }
    const uint8_t* row(int y) const { return firstRow_ + std::ptrdiff_t(y) * stride_; }

  private:
    void makeEmpty();

    int height_ = 0;
    int width_ = 0;
    int stride_ = 0;
    PixelFormat format_ = PixelFormat::fromCode(1);
    uint8_t* firstRow_ = nullptr;
    std::unique_ptr<uint8_t[]> owned_;
    std::array<uint8_t, 4> scratch_{};
};

}  // namespace penwick
