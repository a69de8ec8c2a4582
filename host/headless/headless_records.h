#pragma once
// The records behind the headless host's window and menu handles.

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "host/headless/headless_host.h"

namespace host::headless {

struct HeadlessHost::WindowRecord : WindowBasics {
    std::string title;
    Rect rect;  // window rectangle: screen, or the parent's client coordinates
    bool visible = false;
    bool minimised = false;
    std::optional<Rect> dirty;  // bounds of the region that needs paint
    std::vector<DrawOp> drawLog;
    std::unique_ptr<RecordingContext> paintContext;
};

struct HeadlessHost::MenuRecord {
    bool popup = false;
    std::vector<MenuItem> items;
};

}  // namespace host::headless
