#include "tools/thumbnail_fit.h"

#include <algorithm>

namespace penwick {

void fitDrawingIntoSquare(Sketch& sketch, int side) {
    sketch.setWindowFit(side, side);
    const RectF box = sketch.viewBounds();
    if (!(box.width() * box.height() > 0)) return;
    const double margin = std::max(2, side / 16);
    const double room = side - 2 * margin;
    const double scale = std::max(room, 1.0) / std::max(box.width(), box.height());
    // In window pixels: the drawing's middle to the origin, scaled, then to
    // the square's middle. Only the view moves, never selected shapes.
    Transform3D change = Transform3D::identity();
    change.thenTranslate({-(double(box.left) + double(box.right)) / 2,
                          -(double(box.top) + double(box.bottom)) / 2, 0});
    change.thenScale(scale);
    change.thenTranslate({side / 2.0, side / 2.0, 0});
    const Transform3D& fit = sketch.fitTransform();
    sketch.setPageTransform(Transform3D::compose(
        fit.inverse(),
        Transform3D::compose(change, Transform3D::compose(fit, sketch.pageTransform()))));
}

}  // namespace penwick
