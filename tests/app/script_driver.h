#pragma once
// Drives a program on a real host from a timer: a script of steps that
// goes on inside the main loop and inside modal loops alike.

#include <gtest/gtest.h>

#include <cstddef>
#include <functional>
#include <vector>

#include "framework/application/app.h"
#include "framework/window/window.h"
#include "host/host.h"
#include "host/messages.h"
#include "host/window_style.h"

namespace penwick::testing {

// A step answers true when it is done; the script gives up (closing the
// program) after too many ticks.
class ScriptDriver : public ktWnd {
  public:
    std::vector<std::function<bool()>> steps;
    std::size_t next = 0;
    int ticks = 0;
    bool gaveUp = false;

    void start() {
        ASSERT_TRUE(create(nullptr, "driver", host::WS_POPUP, 0, host::kNoWindow, 0, 0, 10, 10, 0));
        host::instance().setTimer(handle(), 1, 30);
    }
    host::LResult windowProc(std::uint32_t message, host::WParam wParam,
                             host::LParam lParam) override {
        if (message != host::WM_TIMER) return ktWnd::windowProc(message, wParam, lParam);
        if (next < steps.size() && steps[next]()) ++next;
        if (++ticks > 600 && !gaveUp) {  // about 18 seconds
            gaveUp = true;
            if (ktApp* app = ktApp::current())
                host::instance().destroyWindow(app->mainWindowHandle());
        }
        return 0;
    }
};

}  // namespace penwick::testing
