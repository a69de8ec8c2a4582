#include "model/stroke.h"

namespace penwick {

int32_t addPoint(StrokeGroups& groups, double x, double y, double radius) {
    if (groups.isEmpty()) groups.append(StrokeGroup{});
    StrokeGroup& group = groups.last();
    if (group.strokes.isEmpty()) group.strokes.append(Stroke{});
    StrokePoint p;
    p.x = float(x);
    p.y = float(y);
    p.radius = float(radius);
    return group.strokes.last().points.append(p);
}

void removeLastPoint(StrokeGroups& groups) {
    if (groups.isEmpty() || groups.last().strokes.isEmpty()) return;
    DynArray<StrokePoint>& points = groups.last().strokes.last().points;
    if (!points.isEmpty()) points.removeAt(points.count() - 1);
}

void startStroke(StrokeGroups& groups) {
    if (groups.isEmpty() || groups.last().strokes.isEmpty()) return;
    StrokeGroup& group = groups.last();
    if (!group.strokes.last().points.isEmpty()) group.strokes.append(Stroke{});
}

void startGroup(StrokeGroups& groups) {
    if (!groups.isEmpty() && !groups.last().strokes.isEmpty()) groups.append(StrokeGroup{});
}

bool prune(StrokeGroups& groups) {
    for (StrokeGroup& g : groups)
        g.strokes.removeIf([](const Stroke& s) { return s.points.isEmpty(); });
    groups.removeIf([](const StrokeGroup& g) { return g.strokes.isEmpty(); });
    return !groups.isEmpty();
}

void transformPoints(StrokeGroups& groups, const Transform3D& t) {
    for (StrokeGroup& g : groups) {
        for (Stroke& s : g.strokes) {
            for (StrokePoint& p : s.points) {
                Vec3 v = t.apply(p.position());
                p.x = v.x;
                p.y = v.y;
                p.radius = v.z;
            }
        }
    }
}

RectF bounds(const StrokeGroups& groups, const Transform3D* t) {
    RectF r = RectF::emptyRect();
    bool first = true;
    for (const StrokeGroup& g : groups) {
        for (const Stroke& s : g.strokes) {
            for (const StrokePoint& p : s.points) {
                Vec3 v = t ? t->apply(p.position()) : p.position();
                RectF disc(float(double(v.x) - v.z), float(double(v.y) - v.z),
                           float(double(v.x) + v.z), float(double(v.y) + v.z));
                if (first) {
                    r = disc;
                    first = false;
                } else {
                    r.left = minOf(r.left, disc.left);
                    r.top = minOf(r.top, disc.top);
                    r.right = maxOf(r.right, disc.right);
                    r.bottom = maxOf(r.bottom, disc.bottom);
                }
            }
        }
    }
    return r;
}

double tabletPressure(double rawPressure, bool usePressure) {
    return usePressure ? rawPressure / 1024 : 0.5;
}

std::optional<double> tabletSampleRadius(double pressure, double penSize) {
    if (!(pressure > 0)) return std::nullopt;
    return (pressure + 0.05) * penSize;
}

double mouseSampleRadius(double penSize) {
    return penSize * 0.5;
}

}  // namespace penwick
