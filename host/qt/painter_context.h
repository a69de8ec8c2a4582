#pragma once
// The device context of the Qt host: a QPainter on a window, an image, a
// recorded picture or a printer page, holding the current brush, font, text
// colour and background mode the way the program expects of a context.

#include <QPainter>
#include <QPainterPath>
#include <QPicture>

#include "host/device_context.h"

namespace host::qt {

class QtHost;
class SvgRecorder;

// What deviceCaps answers.
struct DeviceCaps {
    int widthPx = 0;
    int heightPx = 0;
    int widthMm = 0;
    int heightMm = 0;
    int bitsPerPixel = 32;
    int dpiX = 96;
    int dpiY = 96;
};

// The screen's properties (primary screen), as window contexts report them.
DeviceCaps screenCaps();
// The properties of any QPaintDevice (images, printers).
DeviceCaps paintDeviceCaps(const QPaintDevice& device);

class PainterContext : public ContextWithObjects {
  public:
    PainterContext(const QtHost& host, DeviceCaps caps) : host_(host), caps_(caps) {}

    // The painter is begun on a device by whoever made the context; drawing
    // while it is not active does nothing.
    QPainter& painter() { return painter_; }
    void setRecorder(SvgRecorder* recorder) { recorder_ = recorder; }

    int deviceCaps(int index) const override;
    ColourRef nearestColour(ColourRef colour) const override { return colour & 0xFFFFFF; }
    void fillRect(const Rect& rect) override;
    void setFillMode(FillMode mode) override { fillMode_ = mode; }
    void beginPath() override;
    void moveTo(Point to) override;
    void bezierTo(Point control1, Point control2, Point end) override;
    void closeFigure() override;
    void endPath() override {}
    void fillPath() override;
    void drawPixels(int x, int y, const PixelView& pixels) override;
    void drawText(std::string_view text, const Rect& rect, std::uint32_t flags) override;
    Rect measureText(std::string_view text, const Rect& rect, std::uint32_t flags) const override;
    void drawEdge(const Rect& rect, Edge edge) override;
    void drawFocusRect(const Rect& rect) override;
    void drawIcon(int x, int y, Icon icon) override;

  protected:
    // For contexts that learn their device only once it is made.
    void setCaps(const DeviceCaps& caps) { caps_ = caps; }

  private:
    bool brushColour(QColor& colour) const;

    const QtHost& host_;
    DeviceCaps caps_;
    QPainter painter_;
    SvgRecorder* recorder_ = nullptr;
    FillMode fillMode_ = FillMode::alternate;
    QPainterPath path_;
};

// A block of the program's pixels as an image Qt can draw: 32-bit pixels are
// copied with the unused fourth byte set to 0xFF (Qt's RGB32 wants it so, or
// a compositing desktop shows the window transparent); 8-bit pixels are
// shown through their colour table. The image does not outlive `pixels`.
QImage imageOf(const PixelView& pixels);
// The same for a part of the block (pixel coordinates of the block).
QImage imageOf(const PixelView& pixels, const QRect& area);

// Text with tabs expanded to the next multiple of 8 characters, per line.
QString expandTabs(const QString& text);

}  // namespace host::qt
