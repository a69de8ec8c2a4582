// Pen and mouse input: strokes and view gestures.
//
// The tablet, per processed packet (f = the button word's low 16 bits, |2
// with Ctrl, else |4 with Shift; "changed" = the button word differs from
// the previous packet's):
//
//   mode        event                  condition      -> actions                        mode
//   none        changed, f = 1         -              -> undo snapshot, lastPoint = p   draw
//   draw        changed, f = 1         -              -> lastPoint = p                  draw
//   move, zoom  changed, f = 1         -              -> lastPoint = p                  (kept)
//   any         changed, f = 3         was draw       -> "stroke end", lastPoint = p    move
//   any         changed, f = 3         otherwise      -> lastPoint = p                  move
//   any         changed, f = 5         was draw       -> "stroke end", lastPoint = p    zoom
//   any         changed, f = 5         otherwise      -> lastPoint = p                  zoom
//   any         changed, other f       was draw       -> tap dot, "stroke end"          none
//   any         changed, other f       otherwise      -> lastPoint = p                  none
//   any         unchanged, word 0      -              -> -                              none
//   draw        moved beyond dead zone pressure > 0   -> add the sample, fill its piece draw
//   move        moved beyond dead zone -              -> pan by the movement            move
//   zoom        moved beyond dead zone -              -> rotate by dx, zoom by dy       zoom
//
// The mouse (the mode stays as it is after a release):
//
//   event       condition                  -> actions                                 mode  capture
//   press       right or middle held       -> snapshot                                move  taken
//   press       Ctrl                       -> snapshot                                draw  -
//   press       Alt                        -> snapshot, pick the colours under it     draw  -
//   press       Shift                      -> snapshot, a point at lastPoint and one   draw  taken
//                                             here (a straight segment)
//   press       plain                      -> snapshot, a point here                  draw  taken
//   move        no capture                 -> -                                       -     -
//   move        move, middle held          -> rotate and zoom (Shift: stretch)        move  held
//   move        move, otherwise            -> pan                                     move  held
//   move        draw, moved                -> a point here, its piece drawn (Shift:    draw  held
//                                             replaces the last, the shape redrawn)
//   release     -                          -> "stroke end"                            - released
#include <cmath>
#include <numbers>

#include "canvas/canvas_view.h"
#include "host/keys.h"

namespace penwick {

namespace {
constexpr uint32_t kTipOnly = 1;
constexpr uint32_t kPanButtons = 3;
constexpr uint32_t kZoomButtons = 5;
constexpr double kRadiansPerPixel = -std::numbers::pi / 1920;
constexpr double kZoomPerPixel = -0.025;
constexpr double kStretchPerPixel = 0.025;
constexpr float kMousePressure = 1.0f;
constexpr uint32_t kLassoColour = 0xFF0000;
// How long after the pen left touches are still taken for the palm.
constexpr int64_t kPalmMilliseconds = 500;

Vec3 pointOf(host::LParam at) {
    return {float(host::pointX(at)), float(host::pointY(at)), kMousePressure};
}

bool keyDown(int key) {
    return host::instance().isKeyDown(key);
}

// Rotates by dx and zooms by dy pixels of movement about c.
Transform3D rotateAndZoomAbout(Vec3d c, double dx, double dy) {
    Transform3D t = Transform3D::identity();
    t.thenTranslate({-c.x, -c.y, 0});
    t.thenRotate(dx * kRadiansPerPixel);
    t.thenScale(std::exp2(dy * kZoomPerPixel));
    t.thenTranslate(c);
    return t;
}

// Stretches x by dx and y by dy pixels of movement about c.
Transform3D stretchAbout(Vec3d c, double dx, double dy) {
    Transform3D t = Transform3D::identity();
    t.thenTranslate({-c.x, -c.y, 0});
    t.thenScale(Vec3{float(std::exp2(dx * kStretchPerPixel)),
                     float(std::exp2(dy * kStretchPerPixel)), 1.0f});
    t.thenTranslate(c);
    return t;
}

Transform3D scaleAbout(Vec3d c, double s) {
    Transform3D t = Transform3D::identity();
    t.thenTranslate({-c.x, -c.y, 0});
    t.thenScale(s);
    t.thenTranslate(c);
    return t;
}
}  // namespace

Vec3d CanvasView::clientCentre() const {
    const host::Rect client = host::instance().clientRect(handle());
    return {double(client.width() / 2), double(client.height() / 2), 0};
}

void CanvasView::openTablet() {
    tabletContext = host::instance().openTablet(handle());
    // A host without tablet input at all; the mouse still draws. (With no
    // pen attached the context opens all the same, and nothing is said.)
    if (tabletContext == host::kNoTablet)
        host::instance().messageBox(handle(), " Could Not Open Tablet Context.", "", 0);
}

// ---- The tablet ---------------------------------------------------------------

void CanvasView::onTabletPacket(host::WParam serial, host::LParam context) {
    host::Host& h = host::instance();
    // Only the newest queued packet counts: the pen's position now, not its
    // way there, when drawing fell behind.
    host::Message newer;
    while (h.peekMessage(newer, handle(), host::WT_PACKET, host::WT_PACKET, true)) {
        serial = newer.wParam;
        context = newer.lParam;
        ++tabletCounts.coalesced;
    }
    host::TabletPacket packet;
    if (!h.tabletPacket(host::TabletContext(context), serial, packet)) return;
    ++tabletCounts.processed;

    const double x = double(packet.x) / host::kTabletExtent;
    const double y = double(packet.y) / host::kTabletExtent;
    float pressure = float(double(packet.normalPressure) / host::kTabletPressureScale);
    // The tablet's area is the client area widened by the margin, y up.
    const host::Rect client = h.clientRect(handle());
    const double m = host::kTabletMargin;
    const double px = (client.right + m) * x - m * (1 - x);
    const double py = (client.bottom + m) * (1 - y) - m * y;
    if (!(options & kUsePressure)) pressure = 0.5f;
    // The pointer follows the pen by itself on this desktop; no warp.

    if (packet.buttons != previousTabletButtons) {
        uint32_t f = packet.buttons & 0xFFFF;
        if (keyDown(host::VK_CONTROL))
            f |= 2;
        else if (keyDown(host::VK_SHIFT))
            f |= 4;
        InteractionMode mode = InteractionMode::none;
        if (f == kPanButtons) {
            mode = InteractionMode::move;
        } else if (f == kZoomButtons) {
            mode = InteractionMode::zoom;
        } else if (f == kTipOnly) {
            mode = interactionMode;
            if (mode == InteractionMode::none) {
                history.takeSnapshot(sketch);
                mode = InteractionMode::draw;
                tap_ = {tool == Tool::draw, Vec3{float(px), float(py), pressure}};
            }
        }
        if (mode != interactionMode && interactionMode == InteractionMode::draw) {
            // A tap that never moved leaves its dot, as a mouse click does.
            if (tap_.pending && tap_.at.z > 0) {
                sketch.addSample(tap_.at.x, tap_.at.y, (tap_.at.z + 0.05) * penSize);
            }
            tap_.pending = false;
            execute("stroke end");
        }
        interactionMode = mode;
        lastPoint = {float(px), float(py), pressure};
        previousTabletButtons = packet.buttons;
    } else if (packet.buttons == 0) {
        interactionMode = InteractionMode::none;
    }
    if (interactionMode == InteractionMode::draw && tap_.pending)
        tap_.at.z = std::max(tap_.at.z, pressure);

    // The stored point trails the pen by its radius, so a stroke ends where
    // the tip's edge was rather than overshooting it.
    const double r = pressure * penSize;
    double ux = lastPoint.x - px, uy = lastPoint.y - py;
    const double len = std::sqrt(ux * ux + uy * uy);
    if (len > 0) {
        ux /= len;
        uy /= len;
    } else {
        ux = uy = 0;
    }
    Vec3 p{float(px + r * ux), float(py + r * uy), pressure};
    const double dx = p.x - lastPoint.x, dy = p.y - lastPoint.y, dz = p.z - lastPoint.z;
    if (dx * dx + dy * dy + dz * dz < (r / 2) * (r / 2)) p = lastPoint;

    if (interactionMode != InteractionMode::none &&
        !(p.x == lastPoint.x && p.y == lastPoint.y && p.z == lastPoint.z)) {
        if (interactionMode == InteractionMode::move) {
            Transform3D t = Transform3D::identity();
            t.thenTranslate({double(p.x) - lastPoint.x, double(p.y) - lastPoint.y, 0});
            applyView(t);
        } else if (interactionMode == InteractionMode::zoom) {
            applyView(rotateAndZoomAbout(clientCentre(), double(p.x) - lastPoint.x,
                                         double(p.y) - lastPoint.y));
        } else {
            tabletDraw(p);
            p = lastPoint;  // tabletDraw moved it on
        }
    }
    lastPoint = p;
}

// One sample of a tablet stroke: smoothed when asked, added, and only the
// newest piece of the outline drawn.
void CanvasView::tabletDraw(Vec3 p) {
    if (options & kSmooth) {
        const double dx = p.x - lastPoint.x, dy = p.y - lastPoint.y, dz = p.z - lastPoint.z;
        const double d = std::sqrt(dx * dx + dy * dy + dz * dz);
        const double t = std::max(0.25, std::min(1.0, 0.0625 * d));
        p = Vec3{float(lastPoint.x + t * dx), float(lastPoint.y + t * dy),
                 float(lastPoint.z + t * dz)};
    }
    if (p.z > 0) {
        sketch.addSample(p.x, p.y, (double(p.z) + 0.05) * penSize);
        tap_.pending = false;
        const uint32_t colour =
            tool == Tool::draw ? uint32_t(sketch.current.colour) & 0xFFFFFF : kLassoColour;
        fillPathToPreview(sketch.newestPieceForDrawing(), colour);
    }
    lastPoint = p;
}

// ---- The mouse ----------------------------------------------------------------

// While the pen is near the screen, the palm resting on it must not draw:
// mouse input the system made from a touch is not taken then.
bool CanvasView::touchIgnored() const {
    const host::Host& h = host::instance();
    return h.mouseFromTouch() && h.penNearWithin(kPalmMilliseconds);
}

void CanvasView::onMouseDown(host::WParam flags, host::LParam at) {
    host::Host& h = host::instance();
    history.takeSnapshot(sketch);
    const Vec3 p = pointOf(at);
    interactionMode = InteractionMode::draw;
    if (flags & (host::MK_RBUTTON | host::MK_MBUTTON)) {
        interactionMode = InteractionMode::move;
        h.setCapture(handle());
    } else if (flags & host::MK_CONTROL) {
        // Only the snapshot.
    } else if (keyDown(host::VK_MENU)) {
        const int32_t i = shapeAt(p.x, p.y);
        if (i == -1) return;
        sketch.current.colour = sketch.shapes[i].colour;
        sketch.current.fillColour = sketch.shapes[i].fillColour;
        invalidate(h.clientRect(handle()), false);
    } else {
        const double w = penSize * 0.5;
        if (flags & host::MK_SHIFT) sketch.addSample(lastPoint.x, lastPoint.y, w);
        sketch.addSample(p.x, p.y, w);
        discardPreview(false);
        drawShapeToPreview(sketch.shapeForDrawing(-1));
        h.setCapture(handle());
    }
    lastPoint = p;
}

void CanvasView::onMouseMove(host::WParam flags, host::LParam at) {
    if (host::instance().captureWindow() != handle()) return;
    const Vec3 p = pointOf(at);
    const double dx = double(p.x) - lastPoint.x, dy = double(p.y) - lastPoint.y;
    float pressure = p.z;
    if (interactionMode == InteractionMode::move) {
        if (flags & host::MK_MBUTTON) {
            applyView(flags & host::MK_SHIFT ? stretchAbout(clientCentre(), dx, dy)
                                             : rotateAndZoomAbout(clientCentre(), dx, dy));
        } else {
            Transform3D t = Transform3D::identity();
            t.thenTranslate({dx, dy, 0});
            applyView(t);
        }
    } else {
        pressure = float(0.1 * std::sqrt(dx * dx + dy * dy));
        if (pressure > 0) {
            const double w = penSize * 0.5;
            const bool rubberBand = flags & host::MK_SHIFT;
            if (rubberBand) sketch.removeLastPoint();
            sketch.addSample(p.x, p.y, w);
            if (rubberBand || sketch.current.colour < 0) {
                // The segment moved, or only the fill shows: the whole shape.
                const Shape drawn = sketch.shapeForDrawing(-1);
                discardPreview(false);
                drawShapeToPreview(drawn);
            } else {
                // As the pen does: the newest piece, at one cost however
                // long the stroke. The stroke's end draws the whole shape.
                fillPathToPreview(sketch.newestPieceForDrawing(),
                                  uint32_t(sketch.current.colour) & 0xFFFFFF);
            }
        }
    }
    lastPoint = {p.x, p.y, pressure};
}

void CanvasView::onMouseUp() {
    execute("stroke end");
    host::instance().releaseCapture();
}

void CanvasView::onWheel(int delta) {
    applyView(scaleAbout(clientCentre(), std::exp2(delta / 60.0)));
}

}  // namespace penwick
