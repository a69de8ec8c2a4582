#include "fuzz/raster_checks.h"

#include <cmath>
#include <cstring>
#include <vector>

#include "render/rasterizer.h"
#include "tests/render/reference_rasterizer.h"

namespace penwick::checks {

namespace {

constexpr uint8_t kGuard = 0xA5;

struct Decoded {
    int width = 1, height = 1, code = 3;
    uint32_t colour = 0, background = 0;
    double opacity = 1;
    Path path;
    bool moderate = true;  // every coordinate finite and within 1e5
};

Decoded decode(const uint8_t* data, size_t size) {
    Decoded d;
    auto byte = [&](size_t i) { return i < size ? data[i] : uint8_t(0); };
    d.width = 1 + byte(0) % 64;
    d.height = 1 + byte(1) % 48;
    d.code = byte(2) % 9;
    d.opacity = byte(3) == 255 ? 2.0 : byte(3) / 254.0;
    d.colour = uint32_t(byte(4)) * 0x010203u;
    d.background = uint32_t(byte(5)) * 0x01030507u;
    // Points: x and y as raw floats, then a flag byte (bit 0 on-curve,
    // bit 1 starts a new contour).
    for (size_t at = 6; at + 9 <= size && at < 6 + 9 * 512; at += 9) {
        float x, y;
        std::memcpy(&x, data + at, 4);
        std::memcpy(&y, data + at + 4, 4);
        const uint8_t flags = data[at + 8];
        if ((flags & 2) != 0) d.path.startContour();
        d.path.addPoint(x, y, (flags & 1) != 0);
        if (!(std::fabs(x) <= 1e5f && std::fabs(y) <= 1e5f)) d.moderate = false;
    }
    return d;
}

}  // namespace

std::string checkRasterInput(const uint8_t* data, size_t size) {
    const Decoded d = decode(data, size);
    const PixelFormat format = PixelFormat::fromCode(d.code);
    const int bytes = format.bytesPerPixel;
    // The buffer sits inside a block with 16 guard bytes before and after
    // every row.
    const int stride = d.width * bytes + 32;
    std::vector<uint8_t> block(size_t(stride) * size_t(d.height + 2), kGuard);
    PixelBuffer buffer;
    buffer.view(block.data() + stride + 16, d.width, d.height, stride, format);
    buffer.fillAll(d.background);

    fillPath(buffer, d.path, d.colour, d.opacity);

    for (int y = 0; y < d.height + 2; ++y)
        for (int x = 0; x < stride; ++x) {
            const bool inside = y >= 1 && y <= d.height && x >= 16 && x < 16 + d.width * bytes;
            if (!inside && block[size_t(y) * stride + x] != kGuard)
                return "a write outside the buffer at row " + std::to_string(y - 1);
        }

    if (d.moderate && d.opacity <= 1) {
        PixelBuffer fast, slow;
        fast.allocate(d.width, d.height, format, 0, d.background);
        slow.allocate(d.width, d.height, format, 0, d.background);
        fillPath(fast, d.path, d.colour, d.opacity);
        reference::fill(slow, d.path, d.colour, d.opacity);
        for (int y = 0; y < d.height; ++y)
            if (std::memcmp(fast.row(y), slow.row(y), size_t(d.width) * bytes) != 0)
                return "pixels differ from the straightforward rasterizer in row " +
                       std::to_string(y);
    }
    return {};
}

}  // namespace penwick::checks
