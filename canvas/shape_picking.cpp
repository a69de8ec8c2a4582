#include "canvas/shape_picking.h"

#include "model/outline.h"

namespace penwick {

namespace {

// The ink's outline is moved two pixels against its outward normals before
// the test: a pick lands on the body of a line, not on its soft edge.
constexpr double kInkOffset = -2;

bool inside(const Path& path, double x, double y) {
    return path.windingAt(x, y) != 0;
}

}  // namespace

int32_t shapeAt(const Sketch& sketch, double x, double y) {
    for (int32_t i = sketch.shapes.count() - 1; i >= 0; --i) {
        const Shape s = sketch.shapeForDrawing(i);
        if (s.fillColour >= 0)
            for (const StrokeGroup& g : s.groups)
                if (inside(centreLine(g), x, y)) return i;
        if (s.colour >= 0) {
            for (const StrokeGroup& g : s.groups) {
                Path ink = outline(g);
                ink.offsetContours(kInkOffset, kInkOffset, false);
                if (inside(ink, x, y)) return i;
            }
        }
    }
    return -1;
}

}  // namespace penwick
