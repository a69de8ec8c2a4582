#pragma once

// Small helpers shared by the rasterizer tests.

#include <cstdint>
#include <string>
#include <vector>

#include "model/path.h"
#include "render/pixel_buffer.h"

namespace penwick::testing {

// A rectangle of four on-curve points, counter-clockwise on the screen
// unless `clockwise`.
inline Path rectanglePath(double x0, double y0, double x1, double y1, bool clockwise = false) {
    Path path;
    path.startContour();
    if (clockwise) {
        path.addOnCurve(x0, y0);
        path.addOnCurve(x1, y0);
        path.addOnCurve(x1, y1);
        path.addOnCurve(x0, y1);
    } else {
        path.addOnCurve(x0, y0);
        path.addOnCurve(x0, y1);
        path.addOnCurve(x1, y1);
        path.addOnCurve(x1, y0);
    }
    return path;
}

inline PixelBuffer filledBuffer(int width, int height, int code, uint32_t value) {
    PixelBuffer buffer;
    buffer.allocate(width, height, PixelFormat::fromCode(code), 0, value);
    return buffer;
}

// Blue channel of pixel (x, y) of a 32-bit buffer.
inline int blueAt(PixelBuffer& buffer, int x, int y) {
    return *buffer.pixelAt(x, y);
}

// All bytes of the visible pixels, row by row.
inline std::vector<uint8_t> pixelBytes(const PixelBuffer& buffer) {
    std::vector<uint8_t> bytes;
    const size_t rowBytes = size_t(buffer.width()) * buffer.format().bytesPerPixel;
    for (int y = 0; y < buffer.height(); ++y)
        bytes.insert(bytes.end(), buffer.row(y), buffer.row(y) + rowBytes);
    return bytes;
}

inline int changedPixels(const PixelBuffer& a, const PixelBuffer& b) {
    int changed = 0;
    const int bpp = a.format().bytesPerPixel;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x)
            if (loadPixel(a.row(y) + x * bpp, bpp) != loadPixel(b.row(y) + x * bpp, bpp)) ++changed;
    return changed;
}

// A readable dump of a path, for failure messages.
inline std::string describe(const Path& path) {
    std::string text;
    for (int32_t c = 0; c < path.contours.count(); ++c) {
        text += "contour:";
        const auto& points = path.contours[c].points;
        for (int32_t i = 0; i < points.count(); ++i) {
            text += " (" + std::to_string(points[i].x) + ", " + std::to_string(points[i].y) +
                    (points[i].onCurve ? ")" : ")~");
        }
        text += "\n";
    }
    return text;
}

}  // namespace penwick::testing
