// penwick-outline-demo: builds a small sketch the way the pen would, window
// samples through the view transform, and prints the outline of every group
// in window pixels.
#include <cstdio>
#include <cstring>

#include "model/outline.h"
#include "model/sketch.h"

using namespace penwick;

namespace {

constexpr int kWidth = 800;
constexpr int kHeight = 600;

// Three shapes: a pressure-shaped wave, a group of two strokes (one a dot)
// and a stroke pressed in one place.
Sketch buildSketch() {
    Sketch sketch;
    sketch.setWindowFit(kWidth, kHeight);

    sketch.current.colour = 0x202080;
    for (int i = 0; i <= 8; ++i) {
        const double pressure = 0.2 + 0.1 * (i % 4);
        sketch.addSample(100 + i * 40, 200 + (i % 2 ? -30 : 30), (pressure + 0.05) * 12);
    }
    sketch.commitCurrent(-1);

    sketch.current.colour = 0x000000;
    sketch.current.fillColour = 0xFFE0A0;
    sketch.addSample(200, 400, 4);
    sketch.addSample(260, 380, 5);
    sketch.addSample(320, 420, 4);
    sketch.startStroke();
    sketch.addSample(400, 400, 6);
    sketch.commitCurrent(-1);

    sketch.current.fillColour = -1;
    for (double r : {3.0, 5.0, 8.0, 6.0})
        sketch.addSample(600, 300, r);
    sketch.commitCurrent(-1);
    return sketch;
}

void printPath(const Path& path) {
    for (int32_t c = 0; c < path.contours.count(); ++c) {
        const PathContour& contour = path.contours[c];
        std::printf("    contour %d: %d points\n     ", c, contour.points.count());
        for (const PathPoint& p : contour.points) {
            std::printf(" %s(%.2f, %.2f)", p.onCurve ? "on" : "ctl", p.x, p.y);
        }
        std::printf("\n");
    }
}

}  // namespace

int main(int argc, char** argv) {
    if (argc > 1) {
        const bool help = std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0;
        std::fprintf(help ? stdout : stderr,
                     "usage: penwick-outline-demo\n"
                     "Builds a small sketch and prints the outline of every group in window "
                     "pixels (%dx%d).\n",
                     kWidth, kHeight);
        return help ? 0 : 2;
    }
    const Sketch sketch = buildSketch();
    const RectF all = sketch.viewBounds();
    std::printf("Sketch of %d shapes in a %dx%d window, bounds (%.2f, %.2f, %.2f, %.2f)\n",
                sketch.shapes.count(), kWidth, kHeight, all.left, all.top, all.right, all.bottom);
    for (int32_t s = 0; s < sketch.shapes.count(); ++s) {
        const Shape drawn = sketch.shapeForDrawing(s);
        std::printf("shape %d: ink %06X, fill %s\n", s, unsigned(drawn.colour),
                    drawn.fillColour < 0 ? "none" : "set");
        for (int32_t g = 0; g < drawn.groups.count(); ++g) {
            const Path path = outline(drawn.groups[g]);
            const RectF b = path.bounds();
            std::printf("  group %d: %d strokes, outline bounds (%.2f, %.2f, %.2f, %.2f)\n", g,
                        drawn.groups[g].strokes.count(), b.left, b.top, b.right, b.bottom);
            printPath(path);
        }
    }
    return 0;
}
