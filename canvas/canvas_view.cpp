// The canvas: its life as a window, the view and load. The drawing is in
// canvas_drawing.cpp.
#include "canvas/canvas_view.h"

#include <cmath>

#include "model/sketch_file.h"

namespace penwick {

namespace {
constexpr int kShowAllMargin = 8;

double length(const Vec3d& v) {
    return std::sqrt(v.x * v.x + v.y * v.y + v.z * v.z);
}

// Translate by -from, scale uniformly by s, translate by +to.
Transform3D scaleAbout(Vec3d from, double s, Vec3d to) {
    Transform3D t = Transform3D::identity();
    t.thenTranslate({-from.x, -from.y, 0});
    t.thenScale(s);
    t.thenTranslate(to);
    return t;
}
}  // namespace

// ---- The window ---------------------------------------------------------------

CanvasView::~CanvasView() = default;

bool CanvasView::onCreate() {
    // One buffer pixel is one pixel of the screen, however dense it is; the
    // pen size and the pen's samples are in those pixels too.
    host::instance().setDevicePixels(handle(), true);
    setBackBuffer(true);
    if (!backBuffer()) return false;
    openTablet();
    host::instance().setTimer(handle(), kCanvasTimer, kCanvasTimerPeriodMs);
    return true;
}

void CanvasView::onDestroy() {
    host::instance().killTimer(handle(), kCanvasTimer);
    if (tabletContext != host::kNoTablet) host::instance().closeTablet(tabletContext);
    tabletContext = host::kNoTablet;
}

host::LResult CanvasView::windowProc(std::uint32_t message, host::WParam wParam,
                                     host::LParam lParam) {
    using namespace host;
    switch (message) {
        case WT_PACKET:
            onTabletPacket(wParam, lParam);
            return 0;
        case WM_LBUTTONDOWN:
        case WM_RBUTTONDOWN:
        case WM_MBUTTONDOWN:
            if (!touchIgnored()) onMouseDown(wParam, lParam);
            return 0;
        case WM_MOUSEMOVE:
            if (!touchIgnored()) onMouseMove(wParam, lParam);
            return 0;
        case WM_LBUTTONUP:
        case WM_RBUTTONUP:
        case WM_MBUTTONUP:
            // A gesture that was taken ends, whatever made its release.
            if (!touchIgnored() || instance().captureWindow() == handle()) onMouseUp();
            return 0;
        case WM_MOUSEWHEEL:
            onWheel(wheelDelta(wParam));
            return 0;
        case WM_SETCURSOR:
            instance().setCursor(Cursor::cross);
            return 1;
        case WM_TIMER:
            if (wParam != kCanvasTimer) break;
            timerTick();
            return 0;
        case WM_ACTIVATE:
            if (tabletContext != kNoTablet)
                instance().enableTablet(tabletContext, lowWord(wParam) != 0);
            break;
        default:
            break;
    }
    return ktWnd::windowProc(message, wParam, lParam);
}

void CanvasView::timerTick() {
    if (!repeatCommand.empty()) execute(repeatCommand);
    if (!viewChanged) return;
    viewChanged = false;
    redrawAll();
}

void CanvasView::onSize(int width, int height, int) {
    resizeBuffers(width, height);
}

// ---- The view -----------------------------------------------------------------

void CanvasView::applyView(Transform3D change) {
    // No change is exactly no change (composing with a transform and its
    // inverse would not always give the view back to the last bit).
    if (change != Transform3D::identity()) sketch.applyWindowTransform(change);
    // The mean length of the images of the unit x and y axes.
    penSize *= (length(change.col0) + length(change.col1)) / 2;
    modified = true;
    viewChanged = true;
}

void CanvasView::scaleBy(double f) {
    const host::Rect client = host::instance().clientRect(handle());
    const Vec3d centre{double(client.width() / 2), double(client.height() / 2), 0};
    applyView(scaleAbout(centre, f, centre));
}

void CanvasView::resetView(bool bake) {
    sketch.resetView(bake);
}

void CanvasView::showAll() {
    const host::Rect client = host::instance().clientRect(handle());
    const Vec3d centre{double(client.width() / 2), double(client.height() / 2), 0};
    const double shrunkWidth = (client.right - kShowAllMargin) - (client.left + kShowAllMargin);
    const double shrunkHeight = (client.bottom - kShowAllMargin) - (client.top + kShowAllMargin);
    const RectF box = sketch.viewBounds();
    Transform3D change = Transform3D::identity();
    if (box.height() * box.width() == 0) {
        // Nothing, or nothing with an area: there is no size to fit.
        resetView(false);
    } else {
        const Vec3d middle{(double(box.left) + double(box.right)) / 2,
                           (double(box.top) + double(box.bottom)) / 2, 0};
        const double s = std::min(shrunkHeight / box.height(), shrunkWidth / box.width());
        change = scaleAbout(middle, s, centre);
    }
    applyView(change);
    modified = true;
}

// ---- Load ---------------------------------------------------------------------

bool CanvasView::load(const std::string& path, std::string& error) {
    // The reader replaces the sketch only once the whole file was read.
    const ReadResult read = loadSketchFile(path, sketch);
    if (!read) {
        error = read.error;
        return false;
    }
    redrawAll();
    modified = false;
    // The steps led to another page; redo keeps what it has.
    history.clearUndo();
    return true;
}

}  // namespace penwick
