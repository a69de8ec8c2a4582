#pragma once
// What the headless backend keeps of a window: its rectangle, whether it is
// shown or minimised, the bounds of what needs painting, and the log of what
// was drawn on it.

#include <memory>
#include <optional>
#include <vector>

#include "host/headless/headless_host.h"
#include "host/headless/recording_context.h"

namespace host::headless {

struct HeadlessHost::Surface : NativeWindow {
    Rect rect;  // window rectangle: screen, or the parent's client coordinates
    bool visible = false;
    bool minimised = false;
    std::optional<Rect> dirty;  // bounds of the region that needs paint
    std::vector<DrawOp> drawLog;
    std::unique_ptr<RecordingContext> paintContext;
};

}  // namespace host::headless
