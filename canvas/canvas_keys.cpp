// The canvas's keys: the key map as a table, and what each row does.
// Auto-repeated presses act like new ones; Shift and Ctrl are read from the
// key state as the press is handled.
#include "canvas/canvas_keys.h"

#include <algorithm>
#include <cstdint>

#include "canvas/canvas_view.h"
#include "framework/platform/clipboard.h"
#include "framework/text/format.h"
#include "host/dialogs.h"
#include "host/keys.h"
#include "model/memory_stream.h"
#include "model/sketch_file.h"

namespace penwick {

namespace {

using host::MB_ICONHAND;

void beep() {
    host::instance().beep(MB_ICONHAND);
}

host::Rect client(const CanvasView& v) {
    return host::instance().clientRect(v.handle());
}

// The window centre in whole pixels, as the mirrors and zooms turn about it.
Vec3d centre(const CanvasView& v) {
    const host::Rect c = client(v);
    return {double(c.width() / 2), double(c.height() / 2), 0};
}

void translate(CanvasView& v, Vec3d d) {
    Transform3D t = Transform3D::identity();
    t.thenTranslate(d);
    v.applyView(t);
}

void scale(CanvasView& v, Vec3 s) {
    Transform3D t = Transform3D::identity();
    t.thenScale(s);
    v.applyView(t);
}

void scaleAboutCentre(CanvasView& v, Vec3 s) {
    const Vec3d c = centre(v);
    Transform3D t = Transform3D::identity();
    t.thenTranslate({-c.x, -c.y, 0});
    t.thenScale(s);
    t.thenTranslate(c);
    v.applyView(t);
}

void panBy(CanvasView& v, double sx, double sy) {
    const host::Rect c = client(v);
    translate(v, {sx * c.width() / 16.0, sy * c.height() / 16.0, 0});
}

void stepInsertBack(CanvasView& v, bool toFirst) {
    int32_t& at = v.sketch.insertIndex;
    if (at == -1) at = v.sketch.shapes.count();
    if (at != 0) at = toFirst ? 0 : at - 1;
    v.redrawAll();
}

void stepInsertForward(CanvasView& v, bool toEnd) {
    int32_t& at = v.sketch.insertIndex;
    if (at == -1) return;
    const int32_t n = v.sketch.shapes.count();
    at = toEnd ? n : at + 1;
    if (at >= n) at = -1;
    v.redrawAll();
}

void copyShapes(CanvasView& v) {
    MemoryStream bytes;
    if (writeClipboard(bytes, v.sketch) == 0 || !putBinary(bytes.data(), bytes.size())) beep();
}

void pasteShapes(CanvasView& v) {
    MemoryStream bytes;
    if (getBinary(bytes)) {
        bytes.setPosition(0);
        v.sketch.selectAll(false);
        const ReadResult pasted = pasteClipboard(bytes, v.sketch);
        if (!pasted || pasted.shapeCount == 0)
            beep();
        else
            // The pasted shapes are drawing the page's file does not hold yet.
            v.modified = true;
    } else {
        beep();
    }
    v.redrawAll();
}

void stepHistory(CanvasView& v, bool forward) {
    const int32_t done = forward ? v.history.redo(1, v.sketch) : v.history.undo(1, v.sketch);
    if (done) {
        // The page's file holds the drawing before the step: leaving the
        // page must save it.
        v.modified = true;
        v.redrawAll();
    } else {
        beep();
    }
}

void reducePoints(CanvasView& v) {
    const int32_t removed = v.sketch.reducePoints();
    if (removed > 0) v.modified = true;
    v.redrawAll();
    // Until the main window's next idle pass writes its own title.
    host::Host& h = host::instance();
    const host::Window frame = h.parent(v.handle());
    if (frame != host::kNoWindow)
        h.setWindowText(frame, format("%d points removed", removed).view());
}

// The paper steps from white to black, then lighter by 0x202020 up to white.
void cyclePaper(CanvasView& v) {
    uint32_t& paper = v.sketch.background;
    if (paper == 0xFFFFFF) {
        paper = 0;
    } else {
        const int64_t next = int64_t(int32_t(paper)) + 0x202020;
        paper = next > 0xFFFFFF || next < 0 ? 0xFFFFFF : uint32_t(next);
    }
    v.modified = true;
    v.redrawAll();
}

void setLevel(CanvasView& v, EditLevel level) {
    v.sketch.editLevel = level;
}

void setColourAndShow(CanvasView& v, int32_t c) {
    v.setColour(c);
    v.invalidate();
}

using host::VK_ADD;
using host::VK_BACK;
using host::VK_DELETE;
using host::VK_DOWN;
using host::VK_ESCAPE;
using host::VK_F4;
using host::VK_F5;
using host::VK_F7;
using host::VK_F8;
using host::VK_HOME;
using host::VK_LEFT;
using host::VK_RIGHT;
using host::VK_SPACE;
using host::VK_SUBTRACT;
using host::VK_UP;
using V = CanvasView;
constexpr Held any = Held::any;
constexpr Held down = Held::down;
constexpr Held up = Held::up;

// key, Shift, Ctrl, action. Rows of one key that differ by a modifier
// exclude each other, so their order does not matter.
constexpr KeyBinding kKeyMap[] = {
    {VK_BACK, any, any, [](V& v) { v.execute("back"); }},
    {VK_ESCAPE, any, any, [](V& v) { v.sketch.selectAll(false), v.redrawAll(); }},
    {VK_SPACE, any, any,
     [](V& v) {
         v.fillMode = v.fillMode == 1 ? 2 : 1;
         v.setColour(-1);
         v.redrawAll();
     }},
    {VK_HOME, up, any,
     [](V& v) {
         v.resetView(host::instance().isKeyDown(host::VK_CONTROL));
         v.modified = true;
         v.redrawAll();
     }},
    {VK_HOME, down, up, [](V& v) { v.execute("show all"); }},
    {VK_HOME, down, down,
     [](V& v) {
         v.execute("show all");
         v.resetView(true);
     }},
    {VK_LEFT, any, any, [](V& v) { panBy(v, -1, 0); }},
    {VK_RIGHT, any, any, [](V& v) { panBy(v, 1, 0); }},
    {VK_UP, up, any, [](V& v) { panBy(v, 0, -1); }},
    {VK_DOWN, up, any, [](V& v) { panBy(v, 0, 1); }},
    {VK_UP, down, up, [](V& v) { stepInsertBack(v, false); }},
    {VK_UP, down, down, [](V& v) { stepInsertBack(v, true); }},
    {VK_DOWN, down, up, [](V& v) { stepInsertForward(v, false); }},
    {VK_DOWN, down, down, [](V& v) { stepInsertForward(v, true); }},
    {VK_DELETE, any, any, [](V& v) { v.execute("delete"); }},
    {'1', any, any, [](V& v) { setLevel(v, EditLevel::Point); }},
    {'2', any, any, [](V& v) { setLevel(v, EditLevel::Stroke); }},
    {'3', any, any, [](V& v) { setLevel(v, EditLevel::Group); }},
    {'4', any, any, [](V& v) { setLevel(v, EditLevel::Shape); }},
    {'5', any, any, [](V& v) { v.mixColour(0x000000); }},
    {'6', any, any, [](V& v) { v.mixColour(0xFFFFFF); }},
    {'B', any, any, [](V& v) { v.mixColour(0x0000FF); }},
    {'G', any, any, [](V& v) { v.mixColour(0x00FF00); }},
    {'R', any, any, [](V& v) { v.mixColour(0xFF0000); }},
    {'K', any, any, [](V& v) { setColourAndShow(v, 0x000000); }},
    {'W', any, any, [](V& v) { setColourAndShow(v, 0xFFFFFF); }},
    {'N', up, any, [](V& v) { v.sketch.current.colour = -1, v.invalidate(); }},
    {'N', down, any, [](V& v) { v.sketch.current.fillColour = -1, v.invalidate(); }},
    {'A', any, down,
     [](V& v) {
         v.sketch.selectAll(true);
         v.redrawAll();
         v.invalidate();
     }},
    {'A', any, up, [](V& v) { v.penSize -= v.penSizeStep, v.invalidate(); }},
    {'Q', any, any, [](V& v) { v.penSize += v.penSizeStep, v.invalidate(); }},
    {'C', down, down, [](V& v) { v.execute("copy"); }},
    {'C', up, down, copyShapes},
    {'V', any, down, pasteShapes},
    {'V', any, up,
     [](V& v) {
         scaleAboutCentre(v, {1, -1, 1});
     }},
    {'H', any, any,
     [](V& v) {
         scaleAboutCentre(v, {-1, 1, 1});
     }},
    {'D', any, any, [](V& v) { v.setTool(Tool::draw); }},
    {'S', any, any, [](V& v) { v.setTool(Tool::select); }},
    {'E', any, any, [](V& v) { v.sketch.insertIndex = 0, v.redrawAll(); }},
    {'I', any, any, [](V& v) { v.execute("invert"); }},
    {'P', any, any, [](V& v) { v.setOption(kUsePressure, (v.options & kUsePressure) == 0); }},
    {'Y', any, down, [](V& v) { stepHistory(v, true); }},
    {'Z', any, down, [](V& v) { stepHistory(v, false); }},
    {VK_ADD, any, up,
     [](V& v) {
         scaleAboutCentre(v, {2, 2, 2});
     }},
    {VK_ADD, down, down,
     [](V& v) {
         translate(v, {0, 0, 0.05});
     }},
    {VK_ADD, up, down,
     [](V& v) {
         scale(v, {1, 1, 2});
     }},
    {VK_SUBTRACT, any, up,
     [](V& v) {
         scaleAboutCentre(v, {0.5, 0.5, 0.5});
     }},
    {VK_SUBTRACT, down, down,
     [](V& v) {
         translate(v, {0, 0, -0.05});
     }},
    {VK_SUBTRACT, up, down,
     [](V& v) {
         scale(v, {1, 1, 0.5});
     }},
    {VK_F4, any, any, reducePoints},
    {VK_F5, any, down,
     [](V& v) {
         CanvasView::platformRendering = !CanvasView::platformRendering;
         v.redrawAll();
     }},
    {VK_F5, any, up, [](V& v) { v.redrawAll(); }},
    {VK_F7, any, any, [](V& v) { v.repeatCommand = v.repeatCommand.empty() ? "scale 0.995" : ""; }},
    {VK_F8, any, any, cyclePaper},
};

bool matches(Held want, bool isDown) {
    return want == Held::any || (want == Held::down) == isDown;
}

}  // namespace

std::span<const KeyBinding> canvasKeyMap() {
    return kKeyMap;
}

const KeyBinding* findKeyBinding(int key, bool shift, bool control) {
    const auto row = std::find_if(std::begin(kKeyMap), std::end(kKeyMap), [&](const KeyBinding& b) {
        return b.key == key && matches(b.shift, shift) && matches(b.control, control);
    });
    return row == std::end(kKeyMap) ? nullptr : row;
}

void CanvasView::onKeyDown(int key, bool) {
    const host::Host& h = host::instance();
    if (const KeyBinding* row =
            findKeyBinding(key, h.isKeyDown(host::VK_SHIFT), h.isKeyDown(host::VK_CONTROL)))
        row->act(*this);
}

}  // namespace penwick
