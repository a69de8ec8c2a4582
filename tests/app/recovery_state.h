#pragma once
// What the recovery tests compare a recovery copy with: the number of points
// of a sketch (committed shapes and the shape being drawn) and a checksum of
// their coordinates, colours and the paper colour.

#include <cstdint>
#include <cstring>
#include <string>

#include "model/sketch.h"

namespace penwick::testing {

struct SketchState {
    std::int64_t points = 0;
    std::uint64_t checksum = 14695981039346656037u;  // FNV-1a over the fields below
    bool operator==(const SketchState&) const = default;
    std::string text() const { return std::to_string(points) + " " + std::to_string(checksum); }
};

inline void mix(SketchState& s, const void* data, std::size_t n) {
    const unsigned char* bytes = static_cast<const unsigned char*>(data);
    for (std::size_t i = 0; i < n; ++i)
        s.checksum = (s.checksum ^ bytes[i]) * 1099511628211u;
}

inline void mixShape(SketchState& s, const Shape& shape) {
    mix(s, &shape.colour, sizeof shape.colour);
    for (const auto& group : shape.groups)
        for (const auto& stroke : group.strokes)
            for (const StrokePoint& p : stroke.points) {
                float xyr[3] = {p.x, p.y, p.radius};
                mix(s, xyr, sizeof xyr);
                ++s.points;
            }
}

inline SketchState stateOf(const Sketch& sketch) {
    SketchState s;
    mix(s, &sketch.background, sizeof sketch.background);
    for (const Shape& shape : sketch.shapes)
        mixShape(s, shape);
    mixShape(s, sketch.current);
    return s;
}

}  // namespace penwick::testing
