#include "canvas/vector_drawing.h"

#include <cmath>

#include "model/outline.h"
#include "render/cubic_figures.h"

namespace penwick {

namespace {

host::Point truncated(const CubicPoint& p) {
    return {int(std::trunc(p.x)), int(std::trunc(p.y))};
}

void fillFigures(host::Host& host, host::DeviceContext& dc, const Path& path, int32_t colour,
                 double scale) {
    if (colour < 0 || path.isEmpty()) return;
    const std::vector<CubicFigure> figures = cubicFigures(path, scale);
    const host::Brush brush = host.createSolidBrush(host::fromRgbColour(uint32_t(colour)));
    const host::Brush previous = dc.selectBrush(brush);
    dc.beginPath();
    for (const CubicFigure& figure : figures) {
        dc.moveTo(truncated(figure.start));
        for (const CubicSegment& s : figure.segments)
            dc.bezierTo(truncated(s.control1), truncated(s.control2), truncated(s.end));
        dc.closeFigure();
    }
    dc.endPath();
    dc.fillPath();
    dc.selectBrush(previous);
    host.deleteBrush(brush);
}

}  // namespace

void drawSketchVector(host::Host& host, host::DeviceContext& dc, const Sketch& sketch,
                      double scale) {
    dc.setFillMode(host::FillMode::winding);
    const int32_t count = sketch.shapes.count();
    for (int32_t i = 0; i <= count; ++i) {
        const Shape s = sketch.shapeForDrawing(i);
        for (const StrokeGroup& g : s.groups) {
            if (g.strokes.isEmpty()) continue;
            fillFigures(host, dc, centreLine(g), s.fillColour, scale);
            fillFigures(host, dc, outline(g), s.colour, scale);
        }
    }
}

}  // namespace penwick
