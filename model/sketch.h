// The sketch document: the shapes in drawing order, the shape being drawn,
// the transforms that place the drawing in the window, the paper colour and
// the edit level that sets the granularity of drawing, selecting, deleting
// and stepping back.
//
// Index of sections: EditLevel; construction and reset;
// transforms; drawing; selection and editing; queries; snapshots.
#pragma once

#include <cstdint>

#include "model/geometry.h"
#include "model/path.h"
#include "model/shape.h"
#include "model/shape_list.h"
#include "model/stroke.h"

namespace penwick {

enum class EditLevel : int32_t { Shape = 0, Group = 1, Stroke = 2, Point = 3 };

class Sketch {
  public:
    // A new sketch is empty and reset.
    Sketch();

    // --- Construction and reset ---

    // Transforms to identity, no insertion point, white paper, level Shape.
    // The shapes are not touched.
    void reset();
    // Empties the sketch (the "cls" command): keeps the window fit and the
    // pen colours, drops every shape and the shape being drawn.
    void clear();

    // --- Transforms ---

    // The user's pan, zoom and rotation: sketch space to fitted space.
    const Transform3D& pageTransform() const { return pageTransform_; }
    void setPageTransform(const Transform3D& t);
    // Fitted space to window pixels.
    const Transform3D& fitTransform() const { return fitTransform_; }
    void setFitTransform(const Transform3D& t);
    // Always compose(fitTransform, pageTransform): sketch space to window pixels.
    const Transform3D& viewTransform() const { return viewTransform_; }

    // Puts the origin at the window centre with one unit a quarter of
    // width plus height in pixels.
    void setWindowFit(double width, double height);
    // Applies a change m given in window pixels: to the points of the
    // selected shapes when there are any, otherwise to the view.
    void applyWindowTransform(const Transform3D& m);
    // Returns to the fitted view; with bake the page transform is first
    // applied to every point, so the drawing stays where it is on screen.
    void resetView(bool bake);

    // --- Drawing ---

    // Maps a window-space sample into sketch space and appends it to the
    // shape being drawn.
    void addSample(double x, double y, double radius);
    void removeLastPoint();
    void startStroke();
    void startGroup();
    int32_t currentGroupCount() const { return current.groups.count(); }
    // Drops the shape being drawn; the pen colours stay.
    void clearCurrent();
    // Moves the shape being drawn into the shapes: before shape index, or
    // at the insertion point when index < 0 (which then moves on by one),
    // or at the end. A shape without points is dropped.
    void commitCurrent(int32_t index);
    // A copy of shape index (of the shape being drawn when index is out of
    // range) with every point in window pixels.
    Shape shapeForDrawing(int32_t index) const;
    // outlinePiece(-2) of the last stroke of `current` in window pixels: the
    // newest piece of the stroke being drawn, the same as taken from
    // shapeForDrawing(-1), at one cost however long the stroke.
    Path newestPieceForDrawing() const;
    // The centre line of the last group being drawn, used as the lasso.
    Path lassoPath() const;

    // --- Selection and editing ---

    // Marks or unmarks every shape, group, stroke and point of the shapes.
    void selectAll(bool flag);
    // Marks, at the edit level, every element all of whose points lie
    // inside path; an element without points counts as inside. Marks are
    // only added.
    void lassoSelect(const Path& path);
    int32_t selectedShapeCount() const;
    // Removes the selected elements at the edit level and then every
    // stroke, group and shape left empty by that.
    void deleteSelected();
    // A negative index removes the last shape; an index past the end does
    // nothing.
    void removeShapeAt(int32_t index);
    // Steps back by one element of the edit level, first taking the shape
    // before the insertion point back into the shape being drawn when that
    // is empty.
    void backStep();
    // XORs 0xFFFFFF into every colour; negative colours stay negative.
    void invertColours();
    // Point reduction removes nothing; returns the number removed.
    int32_t reducePoints();

    // --- Queries ---

    // The bounds of all shapes in window pixels; (0, 0, 0, 0) when empty.
    RectF viewBounds() const;

    // --- Snapshots ---

    // A copy of the whole sketch that stays independent: later edits of
    // either never reach the other. The shapes are shared until one side
    // changes them (see ShapeList), so this costs the same for any page;
    // the shape being drawn is copied.
    Sketch snapshot() const { return *this; }
    // Replaces every field by the snapshot's, again sharing the shapes until
    // either side changes them.
    void restore(const Sketch& snapshot) { *this = snapshot; }

  private:
    void updateViewTransform();

    Transform3D pageTransform_;
    Transform3D fitTransform_;
    Transform3D viewTransform_;

  public:
    ShapeList shapes;          // committed, in drawing order (later ones on top)
    Shape current;             // being drawn; its colours are the pen colours
    int32_t insertIndex = -1;  // -1: new shapes go to the end
    uint32_t background = 0xFFFFFF;
    EditLevel editLevel = EditLevel::Shape;
};

}  // namespace penwick
