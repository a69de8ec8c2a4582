#include "canvas/pen_swatch.h"

#include "model/path.h"
#include "render/rasterizer.h"

namespace penwick {

namespace {
constexpr int kEllipseSegments = 8;
constexpr double kShadowOpacity = 0.125;
constexpr double kShadowDx = 2, kShadowDy = 4;
}  // namespace

void drawPenSwatch(PixelBuffer& target, double penSize, int32_t colour, int32_t fillColour) {
    Path ellipse;
    ellipse.setEllipse(RectF(0, 0, kSwatchWidth, kSwatchHeight), kEllipseSegments);
    Path band = ellipse;
    band.strokeOutline(penSize, penSize, true);

    // Without a fill there is nothing inside the band to cast a shadow: the
    // moved copy becomes its own band.
    Path shadow = ellipse;
    shadow.translate(kShadowDx, kShadowDy);
    if (fillColour < 0) shadow.strokeOutline(penSize, penSize, true);
    fillPath(target, shadow, 0, kShadowOpacity);
    if (fillColour >= 0) fillPath(target, ellipse, uint32_t(fillColour), 1.0);
    if (colour >= 0) fillPath(target, band, uint32_t(colour), 1.0);
}

}  // namespace penwick
