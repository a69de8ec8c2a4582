// The view of a thumbnail: the whole drawing in a square.
#pragma once

#include "model/sketch.h"

namespace penwick {

// Fits the sketch's view to a side x side window and then zooms and pans
// it so that every shape lies inside, centred, with a margin of a
// sixteenth of the side (at least 2 pixels). A drawing without area keeps
// the view it was saved with. The shapes themselves, and any selection,
// stay as they are.
void fitDrawingIntoSquare(Sketch& sketch, int side);

}  // namespace penwick
