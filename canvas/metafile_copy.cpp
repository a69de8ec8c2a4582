// The canvas's vector copy: the visible window, or the whole drawing, as a
// picture on the clipboard (SVG with a PNG beside it on the desktop), drawn
// by the same vector drawing as printing, the larger side of what is copied
// becoming 10000 units of the display.
#include <algorithm>
#include <cmath>
#include <cstdint>

#include "canvas/canvas_view.h"

namespace penwick {

namespace {

constexpr double kCopiedUnits = 10000;
constexpr std::string_view kDescription = "A Meta File";

// e x (v x size x 100 / resolution): a distance in pixels at the copy's
// scale in 0.01 mm, the products formed as integers first.
int hundredthsOfMm(double e, int v, int sizeMm, int resolution) {
    if (resolution <= 0) return 0;
    const int64_t product = int64_t(v) * sizeMm * 100;
    return int(std::trunc(e * double(product) / resolution));
}

void tell(host::Host& h, host::Window owner, std::string_view text) {
    h.messageBox(owner, text, "", 0);
}

}  // namespace

void CanvasView::copyAsMetafile(bool wholeDrawing) {
    host::Host& h = host::instance();
    const std::unique_ptr<host::DeviceContext> reference = h.getDC(handle());
    if (!reference) return tell(h, handle(), "Failed to create meta file!");
    const int sizeX = reference->deviceCaps(host::HORZSIZE);
    const int sizeY = reference->deviceCaps(host::VERTSIZE);
    const int resX = reference->deviceCaps(host::HORZRES);
    const int resY = reference->deviceCaps(host::VERTRES);
    const host::Rect client = h.clientRect(handle());

    double e = 1.0;
    host::Rect frame;
    if (wholeDrawing) {
        const RectF bounds = sketch.viewBounds();
        const double side = std::max(bounds.width(), bounds.height());
        // A drawing without extent has no scale to copy it at.
        if (!(side > 0)) return h.beep(host::MB_ICONHAND);
        e = kCopiedUnits / side;
    } else {
        e = std::max(kCopiedUnits / std::max(client.width(), client.height()), 1.0);
        frame = {hundredthsOfMm(e, client.left, sizeX, resX),
                 hundredthsOfMm(e, client.top, sizeY, resY),
                 hundredthsOfMm(e, client.right, sizeX, resX),
                 hundredthsOfMm(e, client.bottom, sizeY, resY)};
    }

    std::unique_ptr<host::DeviceContext> picture =
        h.createPicture(*reference, wholeDrawing ? nullptr : &frame, kDescription);
    if (!picture) return tell(h, handle(), "Failed to create meta file!");
    if (!wholeDrawing) {
        const host::ColourRef paper =
            picture->nearestColour(host::fromRgbColour(sketch.background));
        const host::Brush brush = h.createSolidBrush(paper);
        const host::Brush previous = picture->selectBrush(brush);
        picture->fillRect({int(std::trunc(client.left * e)), int(std::trunc(client.top * e)),
                           int(std::trunc(client.right * e)), int(std::trunc(client.bottom * e))});
        picture->selectBrush(previous);
        h.deleteBrush(brush);
    }
    // The whole drawing keeps its window coordinates; the picture's frame
    // is the bounds of what is drawn.
    redrawAll(picture.get(), e);

    if (!h.openClipboard(host::kNoWindow)) return tell(h, handle(), "Failed to copy!");
    h.emptyClipboard();
    if (!h.setClipboardPicture(std::move(picture))) tell(h, handle(), "Failed to copy!");
    h.closeClipboard();
}

}  // namespace penwick
