// The Qt host: painting inside Qt's paint events, the device contexts of
// windows, images and the screen, fonts and icons.
#include <QApplication>
#include <QFontMetrics>
#include <QIcon>
#include <QPaintEvent>
#include <QStyle>
#include <algorithm>
#include <functional>
#include <map>

#include "host/qt/painter_context.h"
#include "host/qt/qt_conversions.h"
#include "host/qt/qt_host.h"
#include "host/qt/qt_surface.h"

namespace host::qt {

namespace {

// A context that draws on a window outside painting: into a transparent layer
// that the window shows over its next paint, which is asked for at once.
class OverlayContext : public PainterContext {
  public:
    // `scale`: client pixels per logical unit of the window.
    OverlayContext(QtHost& host, Window window, QSize size, double scale, DeviceCaps caps,
                   std::function<void(Window, const QImage&)> done)
        : PainterContext(host, caps),
          window_(window),
          image_((QSizeF(size) * scale).toSize().expandedTo(QSize(1, 1)),
                 QImage::Format_ARGB32_Premultiplied),
          done_(std::move(done)) {
        image_.setDevicePixelRatio(scale);
        image_.fill(Qt::transparent);
        painter().begin(&image_);
        painter().scale(1 / scale, 1 / scale);
    }
    ~OverlayContext() override {
        painter().end();
        done_(window_, image_);
    }

  private:
    Window window_;
    QImage image_;
    std::function<void(Window, const QImage&)> done_;
};

// A context on the program's own pixels. 32-bit pixels are drawn on in place;
// 8-bit ones through a 32-bit copy that is turned back into the nearest
// colour-table entries when the context goes.
class MemoryContext : public PainterContext {
  public:
    MemoryContext(QtHost& host, const PixelView& pixels)
        : PainterContext(host, {}), pixels_(pixels) {
        if (pixels.bitsPerPixel == 32) {
            image_ = QImage(pixels.bits, pixels.width, pixels.height, pixels.stride,
                            QImage::Format_RGB32);
        } else {
            image_ = imageOf(pixels).convertToFormat(QImage::Format_RGB32);
        }
        // The 96-pixels-per-inch display size, like a memory context of the
        // screen.
        image_.setDotsPerMeterX(3780);
        image_.setDotsPerMeterY(3780);
        DeviceCaps caps = paintDeviceCaps(image_);
        caps.bitsPerPixel = pixels.bitsPerPixel;
        caps.dpiX = caps.dpiY = 96;
        setCaps(caps);
        painter().begin(&image_);
    }
    ~MemoryContext() override {
        painter().end();
        if (pixels_.bitsPerPixel != 8) return;
        QList<QRgb> table = imageOf(pixels_).colorTable();
        std::map<QRgb, std::uint8_t> nearest;
        for (int y = 0; y < pixels_.height; ++y) {
            const QRgb* from = reinterpret_cast<const QRgb*>(image_.constScanLine(y));
            std::uint8_t* to = pixels_.bits + std::size_t(y) * pixels_.stride;
            for (int x = 0; x < pixels_.width; ++x) {
                QRgb c = from[x] & 0xFFFFFF;
                auto it = nearest.find(c);
                if (it == nearest.end()) it = nearest.emplace(c, closest(table, c)).first;
                to[x] = it->second;
            }
        }
    }

  private:
    static std::uint8_t closest(const QList<QRgb>& table, QRgb c) {
        int best = 0, bestDistance = INT32_MAX;
        for (int i = 0; i < table.size(); ++i) {
            int dr = qRed(table[i]) - qRed(c), dg = qGreen(table[i]) - qGreen(c),
                db = qBlue(table[i]) - qBlue(c);
            int d = dr * dr + dg * dg + db * db;
            if (d < bestDistance) best = i, bestDistance = d;
        }
        return std::uint8_t(best);
    }
    PixelView pixels_;
    QImage image_;
};

}  // namespace

// ---- Painting ---------------------------------------------------------------

void QtHost::invalidate(Window window, const Rect* rect, bool erase) {
    CoreWindow* w = find(window);
    if (!w) return;
    Surface& s = surfaceOf(*w);
    if (!s.client) return;
    QRect client = s.client->rect();
    QRect r = rect ? logicalRect(*w, *rect).intersected(client) : client;
    if (r.isEmpty()) return;
    s.dirty += r;
    w->eraseDue = w->eraseDue || erase;
    s.client->update(r);
}

void QtHost::updateWindow(Window window) {
    Surface* s = surface(window);
    if (!s || !s->client || s->dirty.isEmpty() || !isVisible(window)) return;
    if (paintDepth_ > 0) return;  // Qt cannot paint inside a paint
    s->client->repaint(s->dirty);
}

void QtHost::paintClient(CoreWindow& record, QPaintEvent* event) {
    const Window window = record.handle;
    Surface& s = surfaceOf(record);
    // Paints the program did not ask for (first show, uncovered areas) need
    // their background.
    if (!(event->region() - s.dirty).isEmpty()) record.eraseDue = true;
    s.painting = event;
    ++paintDepth_;
    sendMessage(window, WM_PAINT, 0, 0);
    --paintDepth_;
    Surface* again = surface(window);
    if (!again) return;
    again->painting = nullptr;
    again->paintContext.reset();
    again->dirty -= event->region();
    if (!again->overlay.isNull() && again->client) {
        QPainter painter(again->client);
        painter.drawImage(0, 0, again->overlay);
        again->overlay = QImage();
    }
}

PaintRecord QtHost::beginPaint(Window window) {
    CoreWindow* w = find(window);
    if (!w || !surfaceOf(*w).client) return {};
    Surface& s = surfaceOf(*w);
    PaintRecord record;
    QRect painted;  // logical units
    if (s.painting) {
        painted = s.painting->rect();
        s.paintContext = std::make_unique<PainterContext>(*this, screenCaps());
        QPainter& painter = s.paintContext->painter();
        painter.begin(s.client);
        painter.setClipRegion(s.painting->region());
        // A window in device pixels draws in them; its back buffer then
        // reaches the screen pixel for pixel.
        const double k = clientScale(*w);
        if (k != 1.0) painter.scale(1 / k, 1 / k);
        record.dc = s.paintContext.get();
    } else {
        // Painting asked for outside Qt's paint: draw over the window.
        painted = s.dirty.isEmpty() ? s.client->rect() : s.dirty.boundingRect();
        auto overlay = getDC(window);
        s.paintContext.reset(static_cast<PainterContext*>(overlay.release()));
        record.dc = s.paintContext.get();
    }
    record.paint = clientUnits(*w, painted);
    if (w->eraseDue) {
        w->eraseDue = false;
        record.erase = sendMessage(window, WM_ERASEBKGND, WParam(record.dc), 0) == 0;
    }
    if (Surface* again = surface(window)) again->dirty -= painted;
    return record;
}

void QtHost::endPaint(Window window, const PaintRecord&) {
    if (Surface* s = surface(window)) s->paintContext.reset();
}

void QtHost::mergeOverlay(Window window, const QImage& overlay) {
    Surface* s = surface(window);
    if (!s || !s->client) return;
    if (s->overlay.isNull()) {
        s->overlay = overlay;
    } else {
        QPainter painter(&s->overlay);
        painter.drawImage(0, 0, overlay);
    }
    // Shown with the next paint, which comes from the loop like any other;
    // painting here would run the program's paint inside its own drawing.
    invalidate(window, nullptr, false);
}

std::unique_ptr<DeviceContext> QtHost::getDC(Window window) {
    if (window == kNoWindow) return std::make_unique<PainterContext>(*this, screenCaps());
    CoreWindow* w = find(window);
    if (!w || !surfaceOf(*w).client) return nullptr;
    return std::make_unique<OverlayContext>(
        *this, window, surfaceOf(*w).client->size(), clientScale(*w), screenCaps(),
        [this](Window target, const QImage& image) { mergeOverlay(target, image); });
}

std::unique_ptr<DeviceContext> QtHost::createMemoryContext(const PixelView& pixels) {
    if (!pixels.bits || pixels.width <= 0 || pixels.height <= 0) return nullptr;
    if (pixels.bitsPerPixel != 32 && pixels.bitsPerPixel != 8) return nullptr;
    return std::make_unique<MemoryContext>(*this, pixels);
}

// ---- Fonts and icons --------------------------------------------------------

QFont QtHost::qtFont(Font font) const {
    const std::optional<FontInfo> info = fontInfo(font);
    if (!info) return QApplication::font();
    const FontKey key{info->face, info->height, info->italic, info->bold};
    auto cached = qtFonts_.find(key);
    if (cached != qtFonts_.end()) return cached->second;
    QFont q = QApplication::font();
    if (!info->face.empty()) q.setFamily(QString::fromStdString(info->face));
    q.setItalic(info->italic);
    q.setWeight(info->bold ? QFont::Bold : QFont::Normal);
    if (info->height > 0) {
        // The height asked for is the cell (ascent plus descent); Qt sizes
        // fonts by the em, which is smaller.
        q.setPixelSize(info->height);
        const int cell = QFontMetrics(q).height();
        if (cell > info->height) q.setPixelSize(std::max(1, info->height * info->height / cell));
    }
    return qtFonts_.emplace(key, q).first->second;
}

Icon QtHost::stockIcon(StockIcon which) {
    Icon handle = Icon(0x10 + int(which));
    if (icons_.count(std::uintptr_t(handle))) return handle;
    QStyle::StandardPixmap pixmap = QStyle::SP_DesktopIcon;
    switch (which) {
        case StockIcon::application:
            pixmap = QStyle::SP_DesktopIcon;
            break;
        case StockIcon::hand:
            pixmap = QStyle::SP_MessageBoxCritical;
            break;
        case StockIcon::question:
            pixmap = QStyle::SP_MessageBoxQuestion;
            break;
        case StockIcon::exclamation:
            pixmap = QStyle::SP_MessageBoxWarning;
            break;
        case StockIcon::asterisk:
            pixmap = QStyle::SP_MessageBoxInformation;
            break;
    }
    icons_[std::uintptr_t(handle)] =
        std::make_unique<QIcon>(QApplication::style()->standardIcon(pixmap));
    return handle;
}

Icon QtHost::programIcon() {
    // The program's icon is whatever the desktop file or the application set.
    QIcon icon = QApplication::windowIcon();
    if (icon.isNull()) return kNoIcon;
    Icon handle = Icon(128);
    icons_[std::uintptr_t(handle)] = std::make_unique<QIcon>(icon);
    return handle;
}

const QIcon* QtHost::qtIcon(Icon icon) const {
    auto it = icons_.find(std::uintptr_t(icon));
    return it == icons_.end() ? nullptr : it->second.get();
}

}  // namespace host::qt
