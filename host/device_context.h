#pragma once
// A device context: something to draw on. The host hands one out for a
// window's paint (Host::beginPaint), for a window outside painting
// (Host::getDC), for a block of pixels in memory (Host::createMemoryContext),
// for a vector picture that goes to the clipboard (Host::createPicture) and
// for a printer page (PrinterContext::dc).
//
// Units are the device's pixels (for a printer, its dots; for a picture, the
// reference device's pixels), integer, with (0, 0) at the top-left and y down.
// Colours are ColourRef (0x00BBGGRR). Like the platform's, a context holds a
// current brush, font, text colour and background mode; select* returns what
// was selected before so that the caller can restore it.

#include <cstdint>
#include <string_view>

#include "host/types.h"

namespace host {

// A block of pixels that lives elsewhere (a PixelBuffer, an off-screen
// bitmap). Rows run top-down, `stride` bytes apart. 32-bit pixels hold blue,
// green, red and an unused byte in memory order; 8-bit pixels are indices
// into `colourTable` (256 entries of blue, green, red, 0 in memory order).
struct PixelView {
    std::uint8_t* bits = nullptr;
    int width = 0;
    int height = 0;
    int stride = 0;                             // bytes from one row to the next
    int bitsPerPixel = 32;                      // 32 or 8
    const std::uint8_t* colourTable = nullptr;  // 256 * 4 bytes, 8-bit pixels only
};

// drawText / measureText flags.
inline constexpr std::uint32_t DT_LEFT = 0x0000;
inline constexpr std::uint32_t DT_CENTER = 0x0001;
inline constexpr std::uint32_t DT_RIGHT = 0x0002;
inline constexpr std::uint32_t DT_VCENTER = 0x0004;  // with DT_SINGLELINE
inline constexpr std::uint32_t DT_WORDBREAK = 0x0010;
inline constexpr std::uint32_t DT_SINGLELINE = 0x0020;
inline constexpr std::uint32_t DT_EXPANDTABS = 0x0040;
inline constexpr std::uint32_t DT_NOPREFIX = 0x0800;  // "&" is drawn, not an underline mark
inline constexpr std::uint32_t DT_END_ELLIPSIS = 0x8000;

// deviceCaps indices.
inline constexpr int HORZSIZE = 4;     // width in millimetres
inline constexpr int VERTSIZE = 6;     // height in millimetres
inline constexpr int HORZRES = 8;      // width in pixels
inline constexpr int VERTRES = 10;     // height in pixels
inline constexpr int BITSPIXEL = 12;   // colour depth
inline constexpr int LOGPIXELSX = 88;  // pixels per inch
inline constexpr int LOGPIXELSY = 90;

enum class Edge { raised, sunken };
enum class FillMode { alternate = 1, winding = 2 };

class DeviceContext {
  public:
    virtual ~DeviceContext() = default;

    // Device properties (see the indices above); 0 for an unknown index.
    virtual int deviceCaps(int index) const = 0;
    // The colour the device shows for `colour` (the same on 24-bit devices).
    virtual ColourRef nearestColour(ColourRef colour) const = 0;

    // Current objects. Brushes and fonts come from the Host; selecting
    // kNoBrush selects no brush (fills draw nothing), kNoFont the default font.
    virtual Brush selectBrush(Brush brush) = 0;
    virtual Font selectFont(Font font) = 0;
    virtual ColourRef setTextColour(ColourRef colour) = 0;  // returns the previous colour
    virtual bool setTransparentText(bool transparent) = 0;  // returns the previous mode

    // Fills the rectangle with the current brush (pattern copy).
    virtual void fillRect(const Rect& rect) = 0;

    // Platform path: beginPath, any number of figures (moveTo, then
    // bezierTo segments, then closeFigure), endPath, then fillPath fills the
    // closed figures with the current brush by the fill mode and discards the
    // path. Each bezierTo adds one cubic segment from the current point with
    // two control points and an end point.
    virtual void setFillMode(FillMode mode) = 0;
    virtual void beginPath() = 0;
    virtual void moveTo(Point to) = 0;
    virtual void bezierTo(Point control1, Point control2, Point end) = 0;
    virtual void closeFigure() = 0;
    virtual void endPath() = 0;
    virtual void fillPath() = 0;

    // Copies a block of pixels unscaled with its top-left at (x, y).
    virtual void drawPixels(int x, int y, const PixelView& pixels) = 0;

    // Text in the current font and text colour; with opaque background mode
    // the cell behind it is filled with white. `rect` is the layout box; the
    // DT_* flags choose alignment, wrapping and tab expansion. "&" marks a
    // mnemonic (underlined, not drawn) unless DT_NOPREFIX is given.
    virtual void drawText(std::string_view text, const Rect& rect, std::uint32_t flags) = 0;
    // The box drawText would fill: for DT_WORDBREAK the width stays that of
    // `rect` at most and lines wrap at word boundaries; the result's
    // top-left is rect's.
    virtual Rect measureText(std::string_view text, const Rect& rect,
                             std::uint32_t flags) const = 0;

    // Three-dimensional frames of buttons (two pixels wide, inside `rect`),
    // the dotted focus rectangle (one pixel, inside `rect`), and a 32 x 32
    // icon with its top-left at (x, y).
    virtual void drawEdge(const Rect& rect, Edge edge) = 0;
    virtual void drawFocusRect(const Rect& rect) = 0;
    virtual void drawIcon(int x, int y, Icon icon) = 0;
};

// A context that keeps its current objects itself, as every host's contexts
// do; the drawing reads them back.
class ContextWithObjects : public DeviceContext {
  public:
    Brush selectBrush(Brush brush) override { return exchange(brush_, brush); }
    Font selectFont(Font font) override { return exchange(font_, font); }
    ColourRef setTextColour(ColourRef colour) override { return exchange(textColour_, colour); }
    bool setTransparentText(bool transparent) override {
        return exchange(transparent_, transparent);
    }

  protected:
    Brush brush() const { return brush_; }
    Font font() const { return font_; }
    ColourRef textColour() const { return textColour_; }
    bool transparentText() const { return transparent_; }

  private:
    template <class T>
    static T exchange(T& slot, T value) {
        T old = slot;
        slot = value;
        return old;
    }
    Brush brush_{};
    Font font_{};
    ColourRef textColour_ = 0;
    bool transparent_ = false;
};

}  // namespace host
