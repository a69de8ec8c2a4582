#include "render/svg_export.h"

#include <charconv>
#include <cmath>
#include <limits>

#include "model/outline.h"

namespace penwick {

namespace {

constexpr const char* kPrologue =
    "<?xml version=\"1.0\" encoding=\"iso-8859-1\"?>\n"
    "<!DOCTYPE svg PUBLIC \"-//W3C//DTD SVG 1.1//EN\"  "
    "\"http://www.w3.org/Graphics/SVG/1.1/DTD/svg11.dtd\">\n"
    "<svg version='1.1' ";

// Written coordinates are eighths of a pixel.
constexpr double kScale = 8.0;

// Colours keep their 0xRRGGBB bits; a stray high byte from a damaged file
// would otherwise make "#%06X" print eight digits, which no reader accepts.
constexpr uint32_t kColourMask = 0xFFFFFF;

// A coordinate in eighths, truncated toward zero. Real drawings stay far
// inside the range; the clamp keeps damaged or absurdly zoomed geometry from
// overflowing the integers (NaN becomes 0), and leaves room for the
// differences of relative segments.
int64_t eighths(double v) {
    constexpr double kLimit = 1.0e9;
    if (!(v == v)) return 0;
    if (v > kLimit) v = kLimit;
    if (v < -kLimit) v = -kLimit;
    return static_cast<int64_t>(std::trunc(v));
}

float finiteOrLimit(float v) {
    if (v != v) return 0;
    if (v > std::numeric_limits<float>::max()) return std::numeric_limits<float>::max();
    if (v < -std::numeric_limits<float>::max()) return -std::numeric_limits<float>::max();
    return v;
}

void appendInt(std::string& out, int64_t v) {
    char digits[24];
    const auto [end, ec] = std::to_chars(digits, digits + sizeof digits, v);
    out.append(digits, end);
}

// "%f" of the value as the C locale writes it (six decimals, a point),
// whatever locale the process has: the program's Qt application sets the
// user's, and a decimal comma ("-1856,000000") is no SVG number.
void appendFixed(std::string& out, double v) {
    // Room for any double: 309 digits, a sign, a point and six decimals.
    char digits[330];
    const auto [end, ec] =
        std::to_chars(digits, digits + sizeof digits, v, std::chars_format::fixed, 6);
    out.append(digits, end);
}

void appendColour(std::string& out, uint32_t colour) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    colour &= kColourMask;
    out += '#';
    for (int shift = 20; shift >= 0; shift -= 4)
        out += kHex[(colour >> shift) & 0xF];
}

// Midpoints and scaling are computed in double from the stored floats.
double midEighths(float a, float b) {
    return (double(a) + double(b)) * 0.5 * kScale;
}

// One contour as a subpath: an absolute move to its start, then one relative
// quadratic segment per point.
void appendContour(std::string& out, const PathContour& contour) {
    const auto& p = contour.points;
    const int32_t n = p.count();

    // Current position in eighths; it advances by the integers written, so
    // truncation never accumulates along the contour.
    int64_t cx = eighths(midEighths(p[n - 1].x, p[0].x));
    int64_t cy = eighths(midEighths(p[n - 1].y, p[0].y));
    out += 'M';
    appendInt(out, cx);
    out += ',';
    appendInt(out, cy);

    for (int32_t i = 0; i < n; ++i) {
        const PathPoint& k = p[i];
        const PathPoint& next = p[i + 1 < n ? i + 1 : 0];
        const int64_t qx = eighths(double(k.x) * kScale - double(cx));
        const int64_t qy = eighths(double(k.y) * kScale - double(cy));
        const int64_t dx = eighths(midEighths(k.x, next.x) - double(cx));
        const int64_t dy = eighths(midEighths(k.y, next.y) - double(cy));
        out += 'q';
        appendInt(out, qx);
        out += ',';
        appendInt(out, qy);
        out += ' ';
        appendInt(out, dx);
        out += ',';
        appendInt(out, dy);
        cx += dx;
        cy += dy;
    }
}

void appendBackground(std::string& out, const Sketch& sketch) {
    RectF r = sketch.viewBounds().scaled(kScale);
    // Ten times the drawing's size on every side, measured before the change,
    // so the paper covers the whole view and the border lies outside it.
    const double w = r.width();
    const double h = r.height();
    r.left = static_cast<float>(r.left - 10.0 * w);
    r.top = static_cast<float>(r.top - 10.0 * h);
    r.right = static_cast<float>(r.right + 10.0 * w);
    r.bottom = static_cast<float>(r.bottom + 10.0 * h);
    // Geometry beyond the float range (only from a damaged file) must not
    // print "inf" or "nan", which no SVG reader takes as a number.
    for (float* side : {&r.left, &r.top, &r.right, &r.bottom})
        *side = finiteOrLimit(*side);

    out += "<rect x='";
    appendFixed(out, double(r.left));
    out += "' y='";
    appendFixed(out, double(r.top));
    out += "' width='";
    appendFixed(out, r.width());
    out += "' height='";
    appendFixed(out, r.height());
    out += "' fill='";
    appendColour(out, sketch.background);
    out += "' stroke='#000000' stroke-width='2'/>\n";
}

}  // namespace

void appendSvgPath(std::string& out, const Path& path, uint32_t colour) {
    // All contours of a path go into one element, so that they fill together
    // by the non-zero rule as in the window: the two contours of a closed
    // stroke's outline make a ring, not two discs.
    bool started = false;
    for (const PathContour& c : path.contours) {
        if (c.points.isEmpty()) continue;
        if (!started) out += "<path d='";
        started = true;
        appendContour(out, c);
    }
    if (!started) return;
    out += "' fill='";
    appendColour(out, colour);
    out += "' stroke='none' />\n";
}

std::string svgText(const Sketch& sketch, const ClientRect& client) {
    std::string out = kPrologue;
    // The view box is in eighths of a pixel, like every coordinate below.
    out += "viewBox='";
    appendInt(out, int64_t(client.left) * 8);
    out += ' ';
    appendInt(out, int64_t(client.top) * 8);
    out += ' ';
    appendInt(out, int64_t(client.right) * 8);
    out += ' ';
    appendInt(out, int64_t(client.bottom) * 8);
    out += "' xmlns='http://www.w3.org/2000/svg'>\n";

    appendBackground(out, sketch);

    const int32_t count = sketch.shapes.count();
    for (int32_t i = 0; i <= count; ++i) {
        const Shape s = sketch.shapeForDrawing(i);
        for (const StrokeGroup& g : s.groups) {
            if (s.fillColour >= 0) appendSvgPath(out, centreLine(g), uint32_t(s.fillColour));
            if (s.colour >= 0) appendSvgPath(out, outline(g), uint32_t(s.colour));
        }
    }
    out += "</svg>";
    return out;
}

}  // namespace penwick
