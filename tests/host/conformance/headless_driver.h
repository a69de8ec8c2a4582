#pragma once
// The conformance driver of the headless host: input through its helpers,
// time on its virtual clock.

#include <algorithm>

#include "host/headless/headless_host.h"
#include "host/messages.h"

namespace conformance {

class HeadlessDriver {
  public:
    static constexpr const char* kName = "headless";
    HeadlessDriver() { host::setInstance(&host_); }
    ~HeadlessDriver() { host::setInstance(nullptr); }

    host::HostCore& host() { return host_; }
    void settle() {}
    void letTimePass(int ms) { host_.advance(ms); }
    void key(host::Window, int vk, bool down, bool shift) {
        if (down)
            host_.keyDown(vk, {shift, false, false});
        else
            host_.keyUp(vk, {shift, false, false});
    }
    void mouse(host::Window window, std::uint32_t message, host::Point client) {
        if (message == host::WM_LBUTTONDOWN)
            host_.mousePress(window, host::headless::MouseButton::left, client);
        else if (message == host::WM_LBUTTONUP)
            host_.mouseRelease(window, host::headless::MouseButton::left, client);
        else
            host_.mouseMove(window, client);
    }
    // The headless host takes packets as the tablet reports them: the
    // client area widened by the margin, y up, pressure in 1024 steps.
    void pen(host::Window window, host::TabletContext context, host::Point client, double pressure,
             bool tip) {
        const host::Rect c = host_.clientRect(window);
        const double m = host::kTabletMargin, e = host::kTabletExtent;
        const auto x = std::uint32_t((client.x + m) / (c.width() + 2 * m) * e);
        const auto y = std::uint32_t((c.height() + m - client.y) / (c.height() + 2 * m) * e);
        host_.tabletSample(context, tip ? 1 : 0, x, y,
                           tip ? std::uint32_t(pressure * host::kTabletPressureScale) : 0);
    }

  private:
    host::headless::HeadlessHost host_;
};

}  // namespace conformance
