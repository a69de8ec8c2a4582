#pragma once
// The sketch drawn onto a device context as filled paths: what the
// clipboard's vector picture, printing and the platform rendering mode show.
// Every shape in order, the shape being drawn last, untinted and unfaded;
// for each group with a stroke its centre line in the fill colour, then its
// outline in the ink colour, as cubic figures at the given scale, filled by
// the non-zero rule.

#include "host/device_context.h"
#include "host/host.h"
#include "model/sketch.h"

namespace penwick {

// The sketch's view must be fitted first. Brushes come from `host`.
void drawSketchVector(host::Host& host, host::DeviceContext& dc, const Sketch& sketch,
                      double scale);

}  // namespace penwick
