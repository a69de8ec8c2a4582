#pragma once
// Plain types shared by every part of the host interface: handles, points,
// rectangles, colours and the queued message record.
//
// Coordinates are integer pixels. A window's client coordinates have (0, 0)
// at the top-left of its client area, x to the right and y down; screen
// coordinates have (0, 0) at the top-left of the primary screen. Rectangles
// are half-open: right and bottom are one past the last pixel.

#include <cstdint>

namespace host {

// Handles are opaque numbers owned by the host; 0 is "none" for every kind.
enum class Window : std::uintptr_t {};
enum class Menu : std::uintptr_t {};
enum class Font : std::uintptr_t {};
enum class Brush : std::uintptr_t {};
enum class Icon : std::uintptr_t {};
enum class TabletContext : std::uintptr_t {};
inline constexpr Window kNoWindow{};
inline constexpr Menu kNoMenu{};
inline constexpr Font kNoFont{};
inline constexpr Brush kNoBrush{};
inline constexpr Icon kNoIcon{};
inline constexpr TabletContext kNoTablet{};

// The two message parameters and a window procedure's result, as wide as a
// pointer so that a parameter can carry an address (the menu-update record,
// a device context, a message being pre-translated).
using WParam = std::uintptr_t;
using LParam = std::intptr_t;
using LResult = std::intptr_t;

// A colour in the platform's order: 0x00BBGGRR, red in the low byte. The
// sketch's own colours (0xRRGGBB) are turned into this order with
// fromRgbColour before they reach a device context.
using ColourRef = std::uint32_t;
constexpr ColourRef rgb(int red, int green, int blue) {
    return ColourRef(red & 0xFF) | ColourRef(green & 0xFF) << 8 | ColourRef(blue & 0xFF) << 16;
}
constexpr ColourRef fromRgbColour(std::uint32_t rrggbb) {
    return rgb(int(rrggbb >> 16), int(rrggbb >> 8), int(rrggbb));
}

struct Point {
    int x = 0;
    int y = 0;
    friend bool operator==(const Point&, const Point&) = default;
};

struct Rect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
    int width() const { return right - left; }
    int height() const { return bottom - top; }
    bool isEmpty() const { return right <= left || bottom <= top; }
    friend bool operator==(const Rect&, const Rect&) = default;
};

// One queued message, as the message loop sees it. `time` is the host's
// millisecond clock when the message was queued; `point` the cursor in
// screen coordinates at that moment.
struct Message {
    Window window{};
    std::uint32_t message = 0;
    WParam wParam = 0;
    LParam lParam = 0;
    std::uint32_t time = 0;
    Point point;
};

// A window procedure: every message of a window goes through the procedure
// stored for it (see Host::setWindowProc). The user-data slot of the window
// tells the procedure which object the window belongs to.
using WindowProc = LResult (*)(Window window, std::uint32_t message, WParam wParam, LParam lParam);

}  // namespace host
