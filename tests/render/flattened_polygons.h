#pragma once

// The polygons our contour walk flattens a path into, for handing the very
// same geometry to other rasterizers.

#include <cmath>
#include <vector>

#include "model/path.h"
#include "render/contour_walk.h"

namespace penwick::testing {

struct Vertex {
    float x, y;
};
using Polygon = std::vector<Vertex>;

// Records the walk's edges as one polygon per contour (the start point of
// every edge). Valid for paths inside the buffer, where every edge starts
// where the previous one ended; `continuous` turns false otherwise.
class PolygonRecorder {
  public:
    PolygonRecorder(int columns, int rows) : columns_(columns), rows_(rows) {}
    int columns() const { return columns_; }
    int rows() const { return rows_; }
    void addEdge(double x0, double y0, double x1, double y1) {
        Polygon& polygon = polygons.back();
        if (!polygon.empty() && (float(x0) != lastX_ || float(y0) != lastY_)) continuous = false;
        polygon.push_back({float(x0), float(y0)});
        lastX_ = float(x1);
        lastY_ = float(y1);
    }
    void startContour() { polygons.emplace_back(); }
    void endContour() {
        Polygon& polygon = polygons.back();
        if (!polygon.empty() && (polygon.front().x != lastX_ || polygon.front().y != lastY_))
            continuous = false;
    }

    std::vector<Polygon> polygons;
    bool continuous = true;

  private:
    int columns_, rows_;
    float lastX_ = 0, lastY_ = 0;
};

inline std::vector<Polygon> flatten(const Path& path, int columns, int rows,
                                    bool* continuous = nullptr) {
    PolygonRecorder recorder(columns, rows);
    for (int32_t c = 0; c < path.contours.count(); ++c) {
        const auto& points = path.contours[c].points;
        if (points.count() == 0) continue;
        recorder.startContour();
        walkContour(&points[0], points.count(), recorder);
        recorder.endContour();
    }
    if (continuous != nullptr) *continuous = recorder.continuous;
    return recorder.polygons;
}

// Rounds every vertex to 1/64 pixel (exact in floats, in 26.6 and in 24.8).
inline void quantise(std::vector<Polygon>& polygons) {
    for (Polygon& polygon : polygons)
        for (Vertex& v : polygon) {
            v.x = float(std::nearbyint(double(v.x) * 64) / 64);
            v.y = float(std::nearbyint(double(v.y) * 64) / 64);
        }
}

inline Path pathOf(const std::vector<Polygon>& polygons) {
    Path path;
    for (const Polygon& polygon : polygons) {
        path.startContour();
        for (const Vertex& v : polygon)
            path.addOnCurve(v.x, v.y);
    }
    return path;
}

}  // namespace penwick::testing
