#include "render/pixel_buffer.h"

#include <algorithm>
#include <cstring>
#include <new>

namespace penwick {

namespace {

// Larger buffers than this (in bytes) are refused rather than attempted; a
// window or an export never needs more.
constexpr int64_t kMaximumBytes = int64_t(1) << 32;

}  // namespace

void PixelBuffer::makeEmpty() {
    owned_.reset();
    firstRow_ = nullptr;
    width_ = height_ = stride_ = 0;
}

bool PixelBuffer::allocate(int width, int height, PixelFormat format, int minimumStride,
                           uint32_t fillValue) {
    makeEmpty();
    format_ = format;
    if (width <= 0 || height <= 0) return false;
    const int64_t rowBytes = int64_t(width) * format.bytesPerPixel;
    int64_t stride = minimumStride;
    if (stride < rowBytes) stride = (rowBytes + 3) & ~int64_t(3);
    if (stride > INT32_MAX || stride * height > kMaximumBytes) return false;
    try {
        owned_ = std::make_unique_for_overwrite<uint8_t[]>(size_t(stride * height));
    } catch (const std::bad_alloc&) {
        return false;
    }
    firstRow_ = owned_.get();
    width_ = width;
    height_ = height;
    stride_ = int(stride);
    fillAll(fillValue);
    return true;
}

void PixelBuffer::view(void* memory, int width, int height, int stride, PixelFormat format) {
    makeEmpty();
    format_ = format;
    if (memory == nullptr || height == 0 || width <= 0) return;
    auto* bytes = static_cast<uint8_t*>(memory);
    if (height < 0) {
        if (height == INT32_MIN) return;
        height = -height;
        bytes += std::ptrdiff_t(height - 1) * stride;
        stride = -stride;
    }
    firstRow_ = bytes;
    width_ = width;
    height_ = height;
    stride_ = stride;
}

void PixelBuffer::subView(PixelBuffer& source, int x, int y, int w, int h) {
    // Work in 64 bits so that far-off rectangles cannot overflow.
    int64_t left = x, top = y;
    int64_t width = w == -1 ? source.width_ : std::max(w, 0);
    int64_t height = h == -1 ? source.height_ : std::max(h, 0);
    if (left < 0) {
        width += left;
        left = 0;
    }
    if (top < 0) {
        height += top;
        top = 0;
    }
    width = std::min(width, source.width_ - left);
    height = std::min(height, source.height_ - top);

    uint8_t* sourceFirstRow = source.firstRow_;
    const int sourceStride = source.stride_;
    const PixelFormat format = source.format_;
    makeEmpty();
    format_ = format;
    if (sourceFirstRow == nullptr || width <= 0 || height <= 0) {
        owned_ = std::make_unique<uint8_t[]>(4);
        firstRow_ = owned_.get();
        width_ = height_ = 1;
        stride_ = 4;
        format_ = PixelFormat::grey();
        return;
    }
    firstRow_ = sourceFirstRow + std::ptrdiff_t(top) * sourceStride + left * format.bytesPerPixel;
    width_ = int(width);
    height_ = int(height);
    stride_ = sourceStride;
}

void PixelBuffer::fillAll(uint32_t value) {
    if (isEmpty()) return;
    const size_t rowBytes = size_t(width_) * format_.bytesPerPixel;
    format_.fillRun(row(0), width_, value);
    for (int y = 1; y < height_; ++y)
        std::memcpy(row(y), row(0), rowBytes);
}

uint8_t* PixelBuffer::pixelAt(int x, int y) {
    if (isEmpty() || x < 0 || y < 0 || x >= width_ || y >= height_) return scratch_.data();
    return row(y) + std::ptrdiff_t(x) * format_.bytesPerPixel;
}

void PixelBuffer::fillRect(uint32_t colour, int x, int y, int w, int h) {
    if (isEmpty()) return;
    PixelBuffer target;
    target.subView(*this, x, y, w, h);
    target.fillAll(target.format_.convert(colour, ColourSource::Argb));
}

}  // namespace penwick
