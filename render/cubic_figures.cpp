#include "render/cubic_figures.h"

namespace penwick {

namespace {

CubicPoint scaledMidpoint(const PathPoint& a, const PathPoint& b, double scale) {
    return {(double(a.x) + double(b.x)) * 0.5 * scale, (double(a.y) + double(b.y)) * 0.5 * scale};
}

// S + 2/3 (Q - S), computed the same way for both control points.
CubicPoint twoThirdsTowards(const CubicPoint& from, const CubicPoint& to) {
    return {from.x + 2.0 / 3.0 * (to.x - from.x), from.y + 2.0 / 3.0 * (to.y - from.y)};
}

}  // namespace

std::vector<CubicFigure> cubicFigures(const Path& path, double scale) {
    std::vector<CubicFigure> figures;
    for (int32_t c = 0; c < path.contours.count(); ++c) {
        const auto& p = path.contours[c].points;
        const int32_t n = p.count();
        if (n <= 2) continue;
        CubicFigure figure;
        figure.start = scaledMidpoint(p[n - 1], p[0], scale);
        figure.segments.reserve(size_t(n));
        CubicPoint s = figure.start;
        for (int32_t i = 0; i < n; ++i) {
            const CubicPoint q{double(p[i].x) * scale, double(p[i].y) * scale};
            const CubicPoint e = scaledMidpoint(p[i], p[i + 1 < n ? i + 1 : 0], scale);
            figure.segments.push_back({twoThirdsTowards(s, q), twoThirdsTowards(e, q), e});
            s = e;
        }
        figures.push_back(std::move(figure));
    }
    return figures;
}

}  // namespace penwick
