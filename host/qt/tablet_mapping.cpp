#include "host/qt/tablet_mapping.h"

#include <algorithm>
#include <cmath>

namespace host::qt {

namespace {
std::uint32_t scaled(double fraction, std::uint32_t fullScale) {
    double v = std::round(std::clamp(fraction, 0.0, 1.0) * double(fullScale));
    return std::uint32_t(v);
}
}  // namespace

TabletPacket tabletPacketFor(const PenSample& s, int clientWidth, int clientHeight,
                             std::uint32_t time) {
    const double m = kTabletMargin;
    const double spanX = std::max(clientWidth, 0) + 2 * m;
    const double spanY = std::max(clientHeight, 0) + 2 * m;
    TabletPacket p;
    p.time = time;
    p.x = scaled((s.x + m) / spanX, kTabletExtent);
    p.y = scaled((std::max(clientHeight, 0) + m - s.y) / spanY, kTabletExtent);
    p.normalPressure = s.tip ? scaled(s.pressure, kTabletPressureScale) : 0;
    p.buttons = (s.tip ? 1u : 0u) | (s.barrel1 ? 2u : 0u) | (s.barrel2 ? 4u : 0u);
    return p;
}

}  // namespace host::qt
