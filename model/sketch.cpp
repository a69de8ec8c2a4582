#include "model/sketch.h"

#include <utility>

#include "model/outline.h"

namespace penwick {

Sketch::Sketch() {
    reset();
}

// --- Construction and reset ---

void Sketch::reset() {
    pageTransform_ = Transform3D::identity();
    fitTransform_ = Transform3D::identity();
    viewTransform_ = Transform3D::identity();
    insertIndex = -1;
    background = 0xFFFFFF;
    editLevel = EditLevel::Shape;
}

void Sketch::clear() {
    const Transform3D fit = fitTransform_;
    reset();
    shapes.clear();
    current.groups.clear();
    fitTransform_ = fit;
    updateViewTransform();
}

// --- Transforms ---

void Sketch::updateViewTransform() {
    viewTransform_ = Transform3D::compose(fitTransform_, pageTransform_);
}

void Sketch::setPageTransform(const Transform3D& t) {
    pageTransform_ = t;
    updateViewTransform();
}

void Sketch::setFitTransform(const Transform3D& t) {
    fitTransform_ = t;
    updateViewTransform();
}

void Sketch::setWindowFit(double width, double height) {
    Transform3D fit;
    fit.thenScale((width + height) * 0.25).thenTranslate(Vec3d{width * 0.5, height * 0.5, 0});
    setFitTransform(fit);
}

void Sketch::applyWindowTransform(const Transform3D& m) {
    if (selectedShapeCount() > 0) {
        // Into window pixels, the change, and back into sketch space.
        const Transform3D t =
            Transform3D::compose(viewTransform_.inverse(), Transform3D::compose(m, viewTransform_));
        for (Shape& s : shapes) {
            if (s.selected) transformPoints(s.groups, t);
        }
        return;
    }
    const Transform3D fitted = Transform3D::compose(fitTransform_, pageTransform_);
    setPageTransform(
        Transform3D::compose(fitTransform_.inverse(), Transform3D::compose(m, fitted)));
}

void Sketch::resetView(bool bake) {
    if (bake) {
        for (Shape& s : shapes)
            transformPoints(s.groups, pageTransform_);
        transformPoints(current.groups, pageTransform_);
    }
    setPageTransform(Transform3D::identity());
}

// --- Drawing ---

void Sketch::addSample(double x, double y, double radius) {
    const Vec3d p = viewTransform_.inverse().apply(Vec3d{x, y, radius});
    addPoint(current.groups, p.x, p.y, p.z);
}

void Sketch::removeLastPoint() {
    penwick::removeLastPoint(current.groups);
}
void Sketch::startStroke() {
    penwick::startStroke(current.groups);
}
void Sketch::startGroup() {
    penwick::startGroup(current.groups);
}
void Sketch::clearCurrent() {
    current.groups.clear();
}

void Sketch::commitCurrent(int32_t index) {
    if (prune(current.groups)) {
        if (index < 0 && insertIndex < 0) {
            shapes.append(std::move(current));
        } else {
            if (index < 0) index = insertIndex++;
            shapes.insertAt(index, std::move(current));
        }
    }
    current.groups.clear();
}

Shape Sketch::shapeForDrawing(int32_t index) const {
    Shape s = index < 0 || index >= shapes.count() ? current : shapes[index];
    transformPoints(s.groups, viewTransform_);
    return s;
}

Path Sketch::lassoPath() const {
    if (current.groups.isEmpty()) return Path{};
    return centreLine(current.groups.last());
}

// --- Selection and editing ---

void Sketch::selectAll(bool flag) {
    const uint8_t mark = flag ? 1 : 0;
    for (Shape& shape : shapes) {
        shape.selected = mark;
        for (StrokeGroup& g : shape.groups) {
            g.selected = mark;
            for (Stroke& s : g.strokes) {
                s.selected = mark;
                for (StrokePoint& p : s.points)
                    p.selected = mark;
            }
        }
    }
}

void Sketch::lassoSelect(const Path& path) {
    auto inside = [&path](const StrokePoint& p) { return path.windingAt(p.x, p.y) != 0; };
    auto strokeInside = [&](const Stroke& s) {
        for (const StrokePoint& p : s.points) {
            if (!inside(p)) return false;
        }
        return true;
    };
    auto groupInside = [&](const StrokeGroup& g) {
        for (const Stroke& s : g.strokes) {
            if (!strokeInside(s)) return false;
        }
        return true;
    };
    for (Shape& shape : shapes) {
        switch (editLevel) {
            case EditLevel::Shape: {
                bool all = true;
                for (const StrokeGroup& g : shape.groups)
                    all = all && groupInside(g);
                if (all) shape.selected = 1;
                break;
            }
            case EditLevel::Group:
                for (StrokeGroup& g : shape.groups) {
                    if (groupInside(g)) g.selected = 1;
                }
                break;
            case EditLevel::Stroke:
                for (StrokeGroup& g : shape.groups) {
                    for (Stroke& s : g.strokes) {
                        if (strokeInside(s)) s.selected = 1;
                    }
                }
                break;
            case EditLevel::Point:
                for (StrokeGroup& g : shape.groups) {
                    for (Stroke& s : g.strokes) {
                        for (StrokePoint& p : s.points) {
                            if (inside(p)) p.selected = 1;
                        }
                    }
                }
                break;
        }
    }
}

int32_t Sketch::selectedShapeCount() const {
    int32_t n = 0;
    for (const Shape& s : shapes)
        n += s.selected ? 1 : 0;
    return n;
}

void Sketch::deleteSelected() {
    const auto level = editLevel;
    if (level == EditLevel::Shape) {
        shapes.removeIf([](const Shape& s) { return s.selected != 0; });
        return;
    }
    for (Shape& shape : shapes) {
        if (level == EditLevel::Group) {
            shape.groups.removeIf([](const StrokeGroup& g) { return g.selected != 0; });
            continue;
        }
        for (StrokeGroup& g : shape.groups) {
            if (level == EditLevel::Stroke) {
                g.strokes.removeIf([](const Stroke& s) { return s.selected != 0; });
                continue;
            }
            for (Stroke& s : g.strokes) {
                s.points.removeIf([](const StrokePoint& p) { return p.selected != 0; });
            }
            g.strokes.removeIf([](const Stroke& s) { return s.points.isEmpty(); });
        }
        shape.groups.removeIf([](const StrokeGroup& g) { return g.strokes.isEmpty(); });
    }
    shapes.removeIf([](const Shape& s) { return s.groups.isEmpty(); });
}

void Sketch::removeShapeAt(int32_t index) {
    if (index >= shapes.count()) return;
    if (index < 0) {
        if (shapes.isEmpty()) return;
        index = shapes.count() - 1;
    }
    shapes.removeAt(index);
    if (index < insertIndex) --insertIndex;
}

void Sketch::backStep() {
    if (current.groups.isEmpty() && !shapes.isEmpty()) {
        if (insertIndex == 0) return;
        int32_t taken;
        if (insertIndex > 0 && insertIndex < shapes.count()) {
            taken = insertIndex - 1;
            --insertIndex;
        } else {
            taken = shapes.count() - 1;
            insertIndex = -1;
        }
        current = std::move(shapes[taken]);
        shapes.removeAt(taken);
    }
    StrokeGroups& groups = current.groups;
    switch (editLevel) {
        case EditLevel::Shape:
            groups.clear();
            break;
        case EditLevel::Group:
            if (!groups.isEmpty()) groups.removeAt(groups.count() - 1);
            break;
        case EditLevel::Stroke:
            if (!groups.isEmpty() && !groups.last().strokes.isEmpty()) {
                groups.last().strokes.removeAt(groups.last().strokes.count() - 1);
            }
            break;
        case EditLevel::Point:
            penwick::removeLastPoint(groups);
            break;
    }
    prune(groups);
}

void Sketch::invertColours() {
    // The high byte is untouched, so a negative colour stays negative.
    for (Shape& s : shapes) {
        s.colour ^= 0xFFFFFF;
        s.fillColour ^= 0xFFFFFF;
    }
    current.colour ^= 0xFFFFFF;
    current.fillColour ^= 0xFFFFFF;
    background ^= 0xFFFFFFu;
}

int32_t Sketch::reducePoints() {
    return 0;
}

// --- Queries ---

RectF Sketch::viewBounds() const {
    RectF r = RectF::emptyRect();
    for (const Shape& s : shapes)
        r = RectF::unite(r, bounds(s.groups, &viewTransform_));
    return r;
}

}  // namespace penwick
