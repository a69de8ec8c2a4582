// The canvas's text commands: every edit that another part of the program
// asks of the canvas arrives here as a line of text.
//
// A token is a run of bytes above 32 (taken as signed, so bytes 0x80..0xFF
// separate tokens like blanks do). Keywords are compared whole and with their
// case; a command followed by further tokens acts as the command alone.
// Nothing fails: text that matches no command does nothing.
#include "canvas/canvas_view.h"
#include "framework/text/tokenizer.h"

namespace penwick {

int CanvasView::execute(std::string_view command) {
    ktTokenizer t(command);
    if (t.expect("stroke")) {
        if (t.expect("end")) strokeEnd();
    } else if (t.expect("show")) {
        if (t.expect("all")) showAll();
    } else if (t.expect("copy")) {
        copyAsMetafile(t.expect("all"));
    } else if (t.expect("cls")) {
        sketch.clear();
        modified = true;
        redrawAll();
    } else if (t.expect("invert")) {
        sketch.invertColours();
        modified = true;
        redrawAll();
    } else if (t.expect("back")) {
        history.takeSnapshot(sketch);
        sketch.backStep();
        modified = true;
        redrawAll();
    } else if (t.expect("delete")) {
        deleteCommand();
    } else if (t.expect("scale")) {
        // The redraw follows at the next tick, as for every view change.
        double f = 0;
        if (t.readReal(f)) scaleBy(f);
    }
    return 1;
}

// Ends the pen stroke. With the Select tool the stroke was a lasso: what it
// encloses becomes the selection and the lasso goes. With the Draw tool the
// edit level decides whether the shape is done (it joins the drawing, and
// the preview that holds it joins the image) or the next stroke continues it.
void CanvasView::strokeEnd() {
    if (sketch.currentGroupCount() < 1) return;
    discardPreview(false);
    if (tool == Tool::select) {
        sketch.selectAll(false);
        sketch.lassoSelect(sketch.lassoPath());
        sketch.clearCurrent();
        redrawAll();
        modified = true;
        return;
    }
    drawShapeToPreview(sketch.shapeForDrawing(-1));
    switch (sketch.editLevel) {
        case EditLevel::Shape:
            sketch.commitCurrent(-1);
            discardPreview(true);
            break;
        case EditLevel::Group:
            sketch.startGroup();
            break;
        case EditLevel::Stroke:
            sketch.startStroke();
            break;
        case EditLevel::Point:
            break;
    }
    modified = true;
}

// Deletes the selection, or else the shape at the insertion point (after the
// shape being drawn has joined the drawing).
void CanvasView::deleteCommand() {
    history.takeSnapshot(sketch);
    if (sketch.selectedShapeCount() != 0) {
        sketch.deleteSelected();
        modified = true;
        redrawAll();
        return;
    }
    sketch.commitCurrent(-1);
    const int32_t at = sketch.insertIndex;
    if (at < 0 || at >= sketch.shapes.count()) return;
    sketch.removeShapeAt(at);
    modified = true;
    redrawAll();
}

}  // namespace penwick
