#pragma once
// The headless device context: it draws nothing and records every drawing
// call as an operation that tests read back. Fills on a memory context are
// also written into its 32-bit pixels, so a back buffer shows what was filled.

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "host/device_context.h"

namespace host::headless {

struct DrawOp {
    enum class Kind {
        fillRect,
        setFillMode,
        beginPath,
        moveTo,
        bezierTo,
        closeFigure,
        endPath,
        fillPath,
        drawPixels,
        drawText,
        drawEdge,
        drawFocusRect,
        drawIcon,
    };
    Kind kind = Kind::fillRect;
    Rect rect;                  // fillRect, drawText, drawEdge, drawFocusRect; drawPixels' area
    std::vector<Point> points;  // moveTo: 1, bezierTo: 3, drawIcon: 1
    ColourRef colour = 0;       // fill colour (current brush) or text colour
    bool hasBrush = false;      // fillRect / fillPath: a brush was selected
    std::string text;           // drawText
    std::uint32_t flags = 0;    // drawText flags, Edge, FillMode, Icon
    Font font{};                // drawText
    bool transparent = false;   // drawText

    friend bool operator==(const DrawOp&, const DrawOp&) = default;
};

// Fixed metrics for text: every character of a font of cell height h is
// h / 2 pixels wide (the default font: 8 wide, 16 high).
struct TextMetrics {
    static int charWidth(int fontHeight) { return fontHeight > 0 ? fontHeight / 2 : 8; }
    static int lineHeight(int fontHeight) { return fontHeight > 0 ? fontHeight : 16; }
};

class RecordingContext : public ContextWithObjects {
  public:
    // `fontHeight` answers the cell height of a font handle; `brushColour`
    // the colour of a brush handle.
    struct Environment {
        std::function<int(Font)> fontHeight;
        std::function<ColourRef(Brush)> brushColour;
    };
    RecordingContext(Environment environment, int width, int height, int widthMm, int heightMm,
                     std::vector<DrawOp>* sink);
    // A memory context: fills also go into the pixels.
    RecordingContext(Environment environment, const PixelView& pixels, std::vector<DrawOp>* sink);

    const std::vector<DrawOp>& ops() const { return *sink_; }

    int deviceCaps(int index) const override;
    ColourRef nearestColour(ColourRef colour) const override { return colour & 0xFFFFFF; }
    void fillRect(const Rect& rect) override;
    void setFillMode(FillMode mode) override;
    void beginPath() override;
    void moveTo(Point to) override;
    void bezierTo(Point control1, Point control2, Point end) override;
    void closeFigure() override;
    void endPath() override;
    void fillPath() override;
    void drawPixels(int x, int y, const PixelView& pixels) override;
    void drawText(std::string_view text, const Rect& rect, std::uint32_t flags) override;
    Rect measureText(std::string_view text, const Rect& rect, std::uint32_t flags) const override;
    void drawEdge(const Rect& rect, Edge edge) override;
    void drawFocusRect(const Rect& rect) override;
    void drawIcon(int x, int y, Icon icon) override;

  private:
    DrawOp& add(DrawOp::Kind kind);
    ColourRef currentBrushColour() const;

    Environment environment_;
    int width_ = 0;
    int height_ = 0;
    int widthMm_ = 0;
    int heightMm_ = 0;
    PixelView pixels_;
    std::vector<DrawOp> ownOps_;
    std::vector<DrawOp>* sink_;
};

// Lines of `text` as drawText lays them out in a box `width` pixels wide:
// "\n" breaks a line, tabs expand to 8 characters with DT_EXPANDTABS, and
// with DT_WORDBREAK a line breaks at the last blank that keeps it inside.
std::vector<std::string> layoutLines(std::string_view text, int width, int charWidth,
                                     std::uint32_t flags);

}  // namespace host::headless
