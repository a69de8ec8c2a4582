#pragma once
// The records behind the headless host's window and menu handles.

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "host/headless/headless_host.h"

namespace host::headless {

struct HeadlessHost::WindowRecord {
    Window handle{};
    Window parent{};
    Window owner{};
    std::vector<Window> children;
    WindowProc proc = nullptr;
    void* userData = nullptr;
    int id = 0;
    std::uint32_t style = 0;  // without the visible, disabled and minimised bits
    std::uint32_t exStyle = 0;
    std::string title;
    Rect rect;  // window rectangle: screen, or the parent's client coordinates
    Point lastClientSize{-1, -1};
    bool visible = false;
    bool enabled = true;
    bool minimised = false;
    bool acceptsFiles = false;
    bool destroying = false;
    bool dead = false;  // destroyed; the record stays so that stale handles stay invalid
    Icon smallIcon{};
    Icon largeIcon{};
    Menu menu{};
    std::optional<Rect> dirty;  // bounds of the region that needs paint
    bool eraseDue = false;
    std::vector<DrawOp> drawLog;
    std::unique_ptr<RecordingContext> paintContext;
};

struct HeadlessHost::MenuRecord {
    bool popup = false;
    std::vector<MenuItem> items;
};

}  // namespace host::headless
