#pragma once
// Small graphics and window helpers over the host: selections that restore
// themselves, a cached solid brush, fonts, window sizes, the display mode and
// popup menus.

#include <optional>
#include <string_view>

#include "host/device_context.h"
#include "host/host.h"

namespace penwick {

// Selects brushes and fonts into a context and, on destruction, puts back
// what the first selection of each kind replaced.
class DCSelection {
  public:
    explicit DCSelection(host::DeviceContext& dc) : dc_(dc) {}
    DCSelection(const DCSelection&) = delete;
    DCSelection& operator=(const DCSelection&) = delete;
    ~DCSelection();

    void select(host::Brush brush);
    void select(host::Font font);

  private:
    host::DeviceContext& dc_;
    std::optional<host::Brush> firstBrush_;
    std::optional<host::Font> firstFont_;
};

// A solid brush that is made again only when asked for another colour.
class SolidBrush {
  public:
    SolidBrush() = default;
    SolidBrush(const SolidBrush&) = delete;
    SolidBrush& operator=(const SolidBrush&) = delete;
    ~SolidBrush();

    // The brush of `colour`, first mapped to the nearest colour `dc` shows
    // unless `exact`.
    host::Brush get(const host::DeviceContext& dc, host::ColourRef colour, bool exact = false);
    host::ColourRef colour() const { return colour_; }

  private:
    host::Brush brush_{};
    host::ColourRef colour_ = 0;
};

// A font owned by its object; weight 700 when bold, else 400.
class ktFont {
  public:
    ktFont() = default;
    ktFont(const ktFont&) = delete;
    ktFont& operator=(const ktFont&) = delete;
    ~ktFont();
    bool create(std::string_view face, int height, bool italic, bool bold);
    host::Font handle() const { return font_; }

  private:
    host::Font font_{};
};
host::Font createFont(std::string_view face, int height, bool italic, bool bold);

int clientWidth(host::Window window);
int clientHeight(host::Window window);
// New size, same top-left corner (the parent's client coordinates for a
// child window).
void resizeWindow(host::Window window, int width, int height);

// The current display mode; nothing when the host cannot tell.
std::optional<host::DisplayMode> displayMode();

// Shows a popup menu at a screen point. A negative x, or one whose low word
// is 0xFFFF, means the top-left of the owner's client area. Without an owner
// a hidden window is made for the time of the menu and brought to the
// foreground. With `returnCommand` answers the chosen id (0: none; the right
// button chooses too) and nothing is posted; otherwise the chosen command is
// posted to the owner as WM_COMMAND. -1 without a menu.
int trackPopupMenu(int x, int y, host::Menu menu, host::Window owner, bool returnCommand);

}  // namespace penwick
