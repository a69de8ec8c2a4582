// The sketch as SVG text, exactly as the canvas window shows it.
//
// Coordinates are window pixels after the view transform, multiplied by 8 and
// written as integers, so the picture keeps an eighth of a pixel of precision
// without decimal points. Every contour is a closed quadratic B-spline: each
// point is a control point and the curve runs through the midpoints of
// neighbouring points, written as relative "q" segments.
#pragma once

#include <cstdint>
#include <string>

#include "model/path.h"
#include "model/sketch.h"

namespace penwick {

// The canvas window's client rectangle in pixels; left and top are 0.
struct ClientRect {
    int32_t left = 0;
    int32_t top = 0;
    int32_t right = 0;
    int32_t bottom = 0;
};

// The whole document: prologue, view box (the client rectangle × 8), a
// background rectangle far larger than the drawing, then for every group of
// every shape (the shape being drawn last) its filled centre line and its
// outline as path elements, and the closing tag, with no line feed after it.
std::string svgText(const Sketch& sketch, const ClientRect& client);

// Appends one path element for `path`, filled with `colour` (0xRRGGBB) by
// the non-zero rule; each contour with points is one subpath. A path without
// points writes nothing.
void appendSvgPath(std::string& out, const Path& path, uint32_t colour);

}  // namespace penwick
