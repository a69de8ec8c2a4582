#include "host/window_table.h"

#include <algorithm>

#include "host/window_style.h"

namespace host {

Rect requestedWindowRect(const CreateRequest& request) {
    const bool child = request.style & WS_CHILD;
    int x = request.x, y = request.y, width = request.width, height = request.height;
    if (!child && x == CW_USEDEFAULT) x = 40, y = 40;
    if (!child && width == CW_USEDEFAULT) width = 800, height = 600;
    if (x == CW_USEDEFAULT) x = y = 0;
    if (width == CW_USEDEFAULT) width = height = 0;
    return {x, y, x + std::max(width, 0), y + std::max(height, 0)};
}

}  // namespace host
