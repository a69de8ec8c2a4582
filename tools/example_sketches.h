// Small example sketches drawn through the sketch's own pen operations, as
// if a person had drawn them in a 1024 x 768 window.
#pragma once

#include <string>
#include <vector>

#include "model/sketch.h"

namespace penwick {

struct ExampleSketch {
    std::string name;  // file name without folder, ".wnk" included
    Sketch sketch;
};

// Every example: strokes of varying width and colour, filled shapes, a closed
// stroke, a turned and zoomed view on tinted paper. Every stroke is at least
// 2 pixels wide in a 1024 x 768 window.
std::vector<ExampleSketch> exampleSketches();

// A large sketch for measuring: `strokes` wavy strokes of `points` samples
// each spread over a width x height window, one shape per stroke, with
// every tenth shape filled. The same seed gives the same sketch.
Sketch syntheticSketch(int strokes, int points, int width, int height, unsigned seed);

}  // namespace penwick
