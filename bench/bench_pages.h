// Pages for the snapshot and undo benchmarks: 10,000 shapes of one stroke
// each, and the old way of keeping a snapshot (a whole deep copy) as their
// baseline.
#pragma once

#include <malloc.h>

#include <cstddef>

#include "model/sketch.h"

namespace penwick::bench {

constexpr int kShapes = 10000;

// A page of kShapes shapes of pointsPerShape points each.
inline Sketch pageOf(int pointsPerShape) {
    Sketch sketch;
    sketch.setWindowFit(1920, 1080);
    for (int s = 0; s < kShapes; ++s) {
        Shape shape;
        shape.colour = s & 0xFFFFFF;
        Stroke stroke;
        stroke.points.resize(pointsPerShape);
        for (int i = 0; i < pointsPerShape; ++i)
            stroke.points[i] = StrokePoint{float(s % 100), float(i), 1.5f, 1, 0};
        shape.groups.append(StrokeGroup{});
        shape.groups.last().strokes.append(std::move(stroke));
        sketch.shapes.append(std::move(shape));
    }
    return sketch;
}

// The sketch as it was laid out before its shapes were shared, whose
// snapshot was a plain copy of every field: copying one of these is the old
// snapshot, the baseline.
struct UnsharedSketch {
    explicit UnsharedSketch(const Sketch& sketch)
        : pageTransform(sketch.pageTransform()),
          fitTransform(sketch.fitTransform()),
          viewTransform(sketch.viewTransform()),
          current(sketch.current),
          insertIndex(sketch.insertIndex),
          background(sketch.background),
          editLevel(sketch.editLevel) {
        for (const Shape& shape : sketch.shapes)
            shapes.append(shape);
    }
    Transform3D pageTransform, fitTransform, viewTransform;
    DynArray<Shape> shapes;
    Shape current;
    int32_t insertIndex;
    uint32_t background;
    EditLevel editLevel;
};

// Bytes the allocator has handed out and not yet taken back, both from its
// heap and as whole mapped blocks.
inline size_t heapInUse() {
    const struct mallinfo2 m = mallinfo2();
    return m.uordblks + m.hblkhd;
}

}  // namespace penwick::bench
