// The top-level drawn object of a sketch.
#pragma once

#include <cstdint>

#include "model/stroke.h"

namespace penwick {

// Colours are 0xRRGGBB (blue in the low byte); a negative colour means none.
struct Shape {
    StrokeGroups groups;
    uint8_t selected = 0;
    int32_t colour = 0;       // ink: fills the outlines of the groups
    int32_t fillColour = -1;  // fills the area enclosed by each group's centre line
};

}  // namespace penwick
