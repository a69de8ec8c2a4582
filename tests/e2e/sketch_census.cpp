// Tells what a sketch file holds, for the end-to-end scenarios that check a
// page the program saved: one line for the sketch, one per shape.
//   sketch_census FILE
//   shapes 3
//   shape 0 ink #FF0000 fill none groups 1 strokes 1 points 12 radii 0.5 0.5
// "radii" gives the smallest and the largest radius of the shape's points,
// "box" the bounds of their positions (left top right bottom).
// Exit status 1 (and the reason on standard error) when the file cannot be
// read.
#include <algorithm>
#include <cstdio>
#include <limits>
#include <string>

#include "model/sketch.h"
#include "model/sketch_file.h"

namespace {

std::string colourText(int32_t colour) {
    if (colour < 0) return "none";
    char text[8];
    std::snprintf(text, sizeof text, "#%06X", unsigned(colour) & 0xFFFFFFu);
    return text;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: sketch_census FILE\n");
        return 2;
    }
    penwick::Sketch sketch;
    const penwick::ReadResult read = penwick::loadSketchFile(argv[1], sketch);
    if (!read) {
        std::fprintf(stderr, "%s: %s\n", argv[1], read.error.c_str());
        return 1;
    }
    std::printf("shapes %d\n", sketch.shapes.count());
    for (int32_t i = 0; i < sketch.shapes.count(); ++i) {
        const penwick::Shape& shape = sketch.shapes[i];
        int strokes = 0, points = 0;
        const float inf = std::numeric_limits<float>::infinity();
        float smallest = inf, largest = 0, left = inf, top = inf, right = -inf, bottom = -inf;
        for (const penwick::StrokeGroup& group : shape.groups)
            for (const penwick::Stroke& stroke : group.strokes) {
                ++strokes;
                for (const penwick::StrokePoint& point : stroke.points) {
                    ++points;
                    smallest = std::min(smallest, point.radius);
                    largest = std::max(largest, point.radius);
                    left = std::min(left, point.x), right = std::max(right, point.x);
                    top = std::min(top, point.y), bottom = std::max(bottom, point.y);
                }
            }
        std::printf(
            "shape %d ink %s fill %s groups %d strokes %d points %d radii %.6g %.6g box %.6g %.6g "
            "%.6g "
            "%.6g\n",
            i, colourText(shape.colour).c_str(), colourText(shape.fillColour).c_str(),
            shape.groups.count(), strokes, points, points ? smallest : 0.0f, largest,
            points ? left : 0.0f, points ? top : 0.0f, points ? right : 0.0f,
            points ? bottom : 0.0f);
    }
    return 0;
}
