#pragma once
// The canvas: the drawing window, a child of the main window that fills its
// client area. It owns the sketch being edited, the undo history, the three
// off-screen buffers and the pen settings. A view change (pan, zoom,
// rotation, mirror) only composes matrices and raises `viewChanged`; the
// full redraw follows at the next tick of the 25 ms timer, so gestures at
// the pen's rate cost one redraw per tick at most.
//
// Sections: members; the window's overrides; the view; drawing (the full
// redraw, the preview, painting); load.

#include <cstdint>
#include <string>
#include <string_view>

#include "canvas/canvas_buffers.h"
#include "canvas/undo_history.h"
#include "framework/window/window.h"
#include "host/device_context.h"
#include "model/geometry.h"
#include "model/sketch.h"

namespace penwick {

// What a pointer gesture is doing, by its four-letter code.
enum class InteractionMode : uint32_t {
    none = 0,
    draw = 0x64726177,  // "draw"
    move = 0x6D6F7665,  // "move"
    zoom = 0x7A6F6F6D,  // "zoom"
};

enum class Tool : int32_t { draw = 0, select = 3 };

// Option bits.
inline constexpr uint32_t kUsePressure = 1u << 0;
inline constexpr uint32_t kSmooth = 1u << 1;

// The canvas's repeating timer.
inline constexpr std::uintptr_t kCanvasTimer = 291;
inline constexpr std::uint32_t kCanvasTimerPeriodMs = 25;

class CanvasView : public ktWnd {
  public:
    // ---- Members, in the order the canvas keeps them -------------------
    bool modified = false;  // the sketch differs from its file (the view included)
    InteractionMode interactionMode = InteractionMode::none;
    Vec3 lastPoint{};
    Sketch sketch;
    UndoHistory history;    // the undo and redo stacks
    CanvasBuffers buffers;  // image, preview and faded buffers, the preview's dirty state
    uint32_t options = kUsePressure;
    Tool tool = Tool::draw;
    double penSize = 1.0;  // window pixels
    double penSizeStep = 0.125;
    int32_t fillMode = 1;       // 1: the pen fills nothing; 2: the fill follows the ink
    bool viewChanged = false;   // a full redraw is due at the next timer tick
    std::string repeatCommand;  // run at every timer tick when not empty
    host::TabletContext tabletContext = host::kNoTablet;
    uint32_t previousTabletButtons = 0;  // of the last tablet packet processed

    // What the pen has done: packets processed, and packets passed over
    // because a newer one was already queued.
    struct TabletCounts {
        int64_t processed = 0;
        int64_t coalesced = 0;
    } tabletCounts;

    // ---- The window's overrides ----------------------------------------
    ~CanvasView() override;
    void onPaint(host::PaintRecord paint) override;
    host::LResult windowProc(std::uint32_t message, host::WParam wParam,
                             host::LParam lParam) override;
    void onSize(int width, int height, int sizeType) override;
    bool onCreate() override;
    void onDestroy() override;

    // ---- The view ------------------------------------------------------
    // Applies a change in window pixels: to the selected shapes when there
    // are any, else to the view; the pen keeps its size in drawing units.
    // Marks the sketch modified and the view changed; draws nothing.
    void applyView(Transform3D change);
    // Fits all shapes into the window with a margin of 8 pixels (moving the
    // selection, when there is one, by the same change); a drawing without
    // area resets the view instead.
    void showAll();
    // Scales by f about the window's centre.
    void scaleBy(double f);
    void resetView(bool bake);

    // ---- Drawing -------------------------------------------------------
    // The full redraw: onto `dc` at `scale` (the vector drawing) when one is
    // given, else the raster drawing into the buffers (or, in the platform
    // rendering mode, the vector drawing onto the back buffer), shown at
    // once, its time averaged into the main window's title.
    void redrawAll(host::DeviceContext* dc = nullptr, double scale = 1.0);
    void resizeBuffers(int width, int height);
    void drawShapeToPreview(const Shape& shape);
    void fillPathToPreview(const Path& path, uint32_t colour);
    bool discardPreview(bool commit);
    int32_t shapeAt(double x, double y) const;
    // Puts the visible window, or the whole drawing, on the clipboard as a
    // vector picture; failures are shown in message boxes, and a whole
    // drawing without extent copies nothing but a beep.
    void copyAsMetafile(bool wholeDrawing);

    // The program-wide platform rendering mode (off at start).
    static bool platformRendering;
    // The program-wide smoothed frame time in milliseconds (0 at start).
    static int32_t frameTime;

    // ---- Commands (command_interpreter.cpp) ------------------------------
    // Runs one text command ("stroke end", "show all", "copy" ["all"],
    // "cls", "invert", "back", "delete", "scale" f); anything else does
    // nothing. Always answers 1.
    int execute(std::string_view command);

    // ---- Load ----------------------------------------------------------
    // Reads a sketch file into the canvas: a full redraw, `modified`
    // cleared, the undo stack emptied (the redo stack stays). A file that
    // cannot be read, is damaged or of an unknown version changes nothing;
    // false then, with `error` saying why.
    bool load(const std::string& path, std::string& error);

  private:
    // Pen and mouse (pen_input.cpp).
    void openTablet();
    void onTabletPacket(host::WParam serial, host::LParam context);
    void tabletDraw(Vec3 p);
    void onMouseDown(host::WParam flags, host::LParam at);
    void onMouseMove(host::WParam flags, host::LParam at);
    void onMouseUp();
    void onWheel(int delta);
    Vec3d clientCentre() const;
    // A tablet tap: where the tip touched, and the highest pressure seen,
    // until the gesture adds a point of its own.
    struct PendingTap {
        bool pending = false;
        Vec3 at{};
    } tap_;
    bool touchIgnored() const;

    // Commands.
    void strokeEnd();
    void deleteCommand();

    void timerTick();
    void rasterRedraw();
    void platformRedraw();
};

}  // namespace penwick
