#pragma once
// The conversion of a pen sample, as Qt reports it, into the packet the canvas
// reads (see TabletPacket in host/host.h).

#include <cstdint>

#include "host/host.h"

namespace host::qt {

struct PenSample {
    double x = 0;  // client pixels, y down, fractions allowed
    double y = 0;
    double pressure = 0;   // 0 .. 1
    bool tip = false;      // the tip touches
    bool barrel1 = false;  // the lower side switch (Qt reports it as the middle button)
    bool barrel2 = false;  // the upper side switch (Qt reports it as the right button)
};

// X and Y cover the client area widened by kTabletMargin pixels on every side
// with 0 .. kTabletExtent, y pointing up; the canvas inverts it as
//   px = (R + m)·X/E − m·(1 − X/E),   py = (B + m)·(1 − Y/E) − m·Y/E.
// Samples beyond that area are held at its edge; the pressure is rounded to
// the 1024-step scale.
TabletPacket tabletPacketFor(const PenSample& sample, int clientWidth, int clientHeight,
                             std::uint32_t time);

}  // namespace host::qt
