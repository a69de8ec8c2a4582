#include "model/sketch.h"

#include <algorithm>
#include <utility>

#include "model/outline.h"

namespace penwick {

// The shapes are shared with snapshots (see ShapeList): an operation asks for
// write access only to the shapes it really changes, and reads through a
// const view of the list, since the non-const operator[] is a write.

namespace {

// Write access to shape i, asked for the first time a change is made.
class ShapeWriter {
  public:
    ShapeWriter(ShapeList& shapes, int32_t i) : shapes_(shapes), i_(i) {}
    Shape& operator()() {
        if (!shape_) shape_ = &shapes_.edit(i_);
        return *shape_;
    }

  private:
    ShapeList& shapes_;
    int32_t i_;
    Shape* shape_ = nullptr;
};

}  // namespace

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
        for (int32_t i = 0; i < shapes.count(); ++i) {
            if (std::as_const(shapes)[i].selected) transformPoints(shapes.edit(i).groups, t);
        }
        return;
    }
    const Transform3D fitted = Transform3D::compose(fitTransform_, pageTransform_);
    setPageTransform(
        Transform3D::compose(fitTransform_.inverse(), Transform3D::compose(m, fitted)));
}

void Sketch::resetView(bool bake) {
    if (bake) {
        // Even the identity is applied: it turns -0 into +0, and the file
        // bytes must not depend on whether the view was moved.
        for (int32_t i = 0; i < shapes.count(); ++i)
            transformPoints(shapes.edit(i).groups, pageTransform_);
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

Path Sketch::newestPieceForDrawing() const {
    if (current.groups.isEmpty() || current.groups.last().strokes.isEmpty()) return Path{};
    const Stroke& last = current.groups.last().strokes.last();
    // A loop's neighbours wrap around to its start.
    if (last.closed) return lastStrokeOutlinePiece(shapeForDrawing(-1).groups, -2);
    // The piece around point n-2 reaches the edges of n-3 .. n-1, and their
    // directions the points n-4 .. n-1; an open stroke's first point is its
    // own neighbour either way.
    constexpr int32_t kReach = 4;
    const int32_t n = last.points.count();
    StrokeGroup group;
    Stroke& tail = group.strokes[group.strokes.append(Stroke{})];
    for (int32_t i = std::max(0, n - kReach); i < n; ++i)
        tail.points.append(last.points[i]);
    StrokeGroups groups;
    groups.append(std::move(group));
    transformPoints(groups, viewTransform_);
    return outlinePiece(groups.last().strokes.last(), -2);
}

Path Sketch::lassoPath() const {
    if (current.groups.isEmpty()) return Path{};
    return centreLine(current.groups.last());
}

// --- Selection and editing ---

namespace {

bool allMarked(const Shape& shape, uint8_t mark) {
    if (shape.selected != mark) return false;
    for (const StrokeGroup& g : shape.groups) {
        if (g.selected != mark) return false;
        for (const Stroke& s : g.strokes) {
            if (s.selected != mark) return false;
            for (const StrokePoint& p : s.points) {
                if (p.selected != mark) return false;
            }
        }
    }
    return true;
}

void markAll(Shape& shape, uint8_t mark) {
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

}  // namespace

void Sketch::selectAll(bool flag) {
    const uint8_t mark = flag ? 1 : 0;
    for (int32_t i = 0; i < shapes.count(); ++i) {
        if (!allMarked(std::as_const(shapes)[i], mark)) markAll(shapes.edit(i), mark);
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
    // Reads the shape as it was and writes the marks into this sketch's own
    // copy, made at the first mark that is new. The indices of the two agree.
    for (int32_t i = 0; i < shapes.count(); ++i) {
        const Shape& shape = std::as_const(shapes)[i];
        ShapeWriter write(shapes, i);
        const int32_t groupCount = shape.groups.count();
        switch (editLevel) {
            case EditLevel::Shape: {
                bool all = true;
                for (const StrokeGroup& g : shape.groups)
                    all = all && groupInside(g);
                if (all && shape.selected != 1) write().selected = 1;
                break;
            }
            case EditLevel::Group:
                for (int32_t g = 0; g < groupCount; ++g) {
                    const StrokeGroup& group = shape.groups[g];
                    if (group.selected != 1 && groupInside(group)) write().groups[g].selected = 1;
                }
                break;
            case EditLevel::Stroke:
                for (int32_t g = 0; g < groupCount; ++g) {
                    const DynArray<Stroke>& strokes = shape.groups[g].strokes;
                    for (int32_t k = 0; k < strokes.count(); ++k) {
                        if (strokes[k].selected != 1 && strokeInside(strokes[k])) {
                            write().groups[g].strokes[k].selected = 1;
                        }
                    }
                }
                break;
            case EditLevel::Point:
                for (int32_t g = 0; g < groupCount; ++g) {
                    const DynArray<Stroke>& strokes = shape.groups[g].strokes;
                    for (int32_t k = 0; k < strokes.count(); ++k) {
                        const DynArray<StrokePoint>& points = strokes[k].points;
                        for (int32_t j = 0; j < points.count(); ++j) {
                            if (points[j].selected != 1 && inside(points[j])) {
                                write().groups[g].strokes[k].points[j].selected = 1;
                            }
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

namespace {

// Whether deleting at level (finer than Shape) would change the shape: a
// selected element of the level, or an empty one that would be swept up.
bool changedByDelete(const Shape& shape, EditLevel level) {
    for (const StrokeGroup& g : shape.groups) {
        if (level == EditLevel::Group) {
            if (g.selected != 0) return true;
            continue;
        }
        if (g.strokes.isEmpty()) return true;
        for (const Stroke& s : g.strokes) {
            if (level == EditLevel::Stroke) {
                if (s.selected != 0) return true;
                continue;
            }
            if (s.points.isEmpty()) return true;
            for (const StrokePoint& p : s.points) {
                if (p.selected != 0) return true;
            }
        }
    }
    return false;
}

void deleteSelectedIn(Shape& shape, EditLevel level) {
    if (level == EditLevel::Group) {
        shape.groups.removeIf([](const StrokeGroup& g) { return g.selected != 0; });
        return;
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

}  // namespace

void Sketch::deleteSelected() {
    const auto level = editLevel;
    if (level == EditLevel::Shape) {
        shapes.removeIf([](const Shape& s) { return s.selected != 0; });
        return;
    }
    for (int32_t i = 0; i < shapes.count(); ++i) {
        if (changedByDelete(std::as_const(shapes)[i], level))
            deleteSelectedIn(shapes.edit(i), level);
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
        current = shapes.take(taken);
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
    for (int32_t i = 0; i < shapes.count(); ++i) {
        Shape& s = shapes.edit(i);
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
