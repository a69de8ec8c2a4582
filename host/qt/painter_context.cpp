#include "host/qt/painter_context.h"
#include "host/qt/qt_conversions.h"

#include <QFontMetrics>
#include <QGuiApplication>
#include <QIcon>
#include <QScreen>
#include <climits>
#include <cstring>
#include <utility>

#include "host/qt/qt_host.h"
#include "host/qt/svg_recorder.h"

namespace host::qt {

namespace {

QColor qtColour(ColourRef c) {
    return QColor(int(c & 0xFF), int((c >> 8) & 0xFF), int((c >> 16) & 0xFF));
}

int qtTextFlags(std::uint32_t flags) {
    int f = 0;
    f |= (flags & DT_CENTER)  ? Qt::AlignHCenter
         : (flags & DT_RIGHT) ? Qt::AlignRight
                              : Qt::AlignLeft;
    f |= ((flags & DT_VCENTER) && (flags & DT_SINGLELINE)) ? Qt::AlignVCenter : Qt::AlignTop;
    if (flags & DT_SINGLELINE)
        f |= Qt::TextSingleLine;
    else if (flags & DT_WORDBREAK)
        f |= Qt::TextWordWrap;
    if (!(flags & DT_NOPREFIX)) f |= Qt::TextShowMnemonic;
    return f;
}

QString layoutText(std::string_view text, std::uint32_t flags) {
    QString s = QString::fromUtf8(text.data(), qsizetype(text.size()));
    s.remove(QLatin1Char('\r'));
    if (flags & DT_EXPANDTABS) s = expandTabs(s);
    return s;
}

}  // namespace

QString expandTabs(const QString& text) {
    QString out;
    int column = 0;
    for (QChar c : text) {
        if (c == QLatin1Char('\t')) {
            do
                out += QLatin1Char(' '), ++column;
            while (column % 8 != 0);
        } else {
            out += c;
            column = c == QLatin1Char('\n') ? 0 : column + 1;
        }
    }
    return out;
}

DeviceCaps screenCaps() {
    DeviceCaps caps;
    QScreen* screen = QGuiApplication::primaryScreen();
    if (!screen) return caps;
    caps.widthPx = screen->geometry().width();
    caps.heightPx = screen->geometry().height();
    caps.widthMm = int(screen->physicalSize().width() + 0.5);
    caps.heightMm = int(screen->physicalSize().height() + 0.5);
    caps.bitsPerPixel = screen->depth();
    caps.dpiX = int(screen->logicalDotsPerInchX() + 0.5);
    caps.dpiY = int(screen->logicalDotsPerInchY() + 0.5);
    return caps;
}

DeviceCaps paintDeviceCaps(const QPaintDevice& d) {
    return {d.width(), d.height(),      d.widthMM(),    d.heightMM(),
            d.depth(), d.logicalDpiX(), d.logicalDpiY()};
}

QImage imageOf(const PixelView& v) {
    return imageOf(v, QRect(0, 0, v.width, v.height));
}

QImage imageOf(const PixelView& v, const QRect& wanted) {
    const QRect area = wanted.intersected(QRect(0, 0, v.width, v.height));
    if (!v.bits || area.isEmpty()) return {};
    if (v.bitsPerPixel == 8) {
        const std::uint8_t* first = v.bits + std::size_t(area.y()) * v.stride + area.x();
        QImage image(first, area.width(), area.height(), v.stride, QImage::Format_Indexed8);
        QList<QRgb> table(256);
        for (int i = 0; i < 256; ++i) {
            const std::uint8_t* e = v.colourTable ? v.colourTable + 4 * i : nullptr;
            table[i] = e ? qRgb(e[2], e[1], e[0]) : qRgb(i, i, i);
        }
        image.setColorTable(table);
        return image;
    }
    QImage image(area.width(), area.height(), QImage::Format_RGB32);
    for (int y = 0; y < area.height(); ++y) {
        const std::uint8_t* from = v.bits + std::size_t(area.y() + y) * v.stride + area.x() * 4;
        auto* to = reinterpret_cast<std::uint32_t*>(image.scanLine(y));
        for (int x = 0; x < area.width(); ++x) {
            std::uint32_t p;
            std::memcpy(&p, from + std::size_t(x) * 4, 4);
            to[x] = p | 0xFF000000u;
        }
    }
    return image;
}

int PainterContext::deviceCaps(int index) const {
    switch (index) {
        case HORZSIZE:
            return caps_.widthMm;
        case VERTSIZE:
            return caps_.heightMm;
        case HORZRES:
            return caps_.widthPx;
        case VERTRES:
            return caps_.heightPx;
        case BITSPIXEL:
            return caps_.bitsPerPixel;
        case LOGPIXELSX:
            return caps_.dpiX;
        case LOGPIXELSY:
            return caps_.dpiY;
        default:
            return 0;
    }
}

bool PainterContext::brushColour(QColor& colour) const {
    const std::optional<ColourRef> c = host_.brushColour(brush());
    if (!c) return false;
    colour = qtColour(*c);
    return true;
}

void PainterContext::fillRect(const Rect& rect) {
    QColor colour;
    if (rect.isEmpty() || !brushColour(colour)) return;
    if (painter_.isActive()) painter_.fillRect(qtRect(rect), colour);
    if (recorder_) recorder_->fillRect(qtRect(rect), colour);
}

void PainterContext::beginPath() {
    path_ = QPainterPath();
}
void PainterContext::moveTo(Point to) {
    path_.moveTo(to.x, to.y);
}
void PainterContext::bezierTo(Point c1, Point c2, Point end) {
    path_.cubicTo(c1.x, c1.y, c2.x, c2.y, end.x, end.y);
}
void PainterContext::closeFigure() {
    path_.closeSubpath();
}

void PainterContext::fillPath() {
    QPainterPath path = std::exchange(path_, QPainterPath());
    QColor colour;
    if (path.isEmpty() || !brushColour(colour)) return;
    path.setFillRule(fillMode_ == FillMode::winding ? Qt::WindingFill : Qt::OddEvenFill);
    if (painter_.isActive()) painter_.fillPath(path, colour);
    if (recorder_) recorder_->fillPath(path, colour);
}

void PainterContext::drawPixels(int x, int y, const PixelView& pixels) {
    if (recorder_) {
        QImage whole = imageOf(pixels);
        if (!whole.isNull())
            recorder_->image(QPoint(x, y), whole.convertToFormat(QImage::Format_RGB32));
    }
    if (!painter_.isActive()) return;
    // Only the part a paint may change is converted: a window's paint is
    // clipped to what needs it, which while drawing is a small box.
    QRect area(0, 0, pixels.width, pixels.height);
    if (painter_.hasClipping())
        area &= painter_.clipBoundingRect().toAlignedRect().translated(-x, -y);
    QImage image = imageOf(pixels, area);
    // Pixels are in the painter's units: logical ones (scaled up on a
    // high-density screen) unless the window works in device pixels, whose
    // painter is scaled so that they land one to one.
    if (!image.isNull()) painter_.drawImage(QPoint(x + area.x(), y + area.y()), image);
}

void PainterContext::drawText(std::string_view text, const Rect& rect, std::uint32_t flags) {
    const QFont face = host_.qtFont(font());
    QString s = layoutText(text, flags);
    QRect box = qtRect(rect);
    QFontMetrics metrics(face);
    if ((flags & DT_END_ELLIPSIS) && !(flags & DT_WORDBREAK))
        s = metrics.elidedText(s, Qt::ElideRight, box.width(),
                               (flags & DT_NOPREFIX) ? 0 : Qt::TextShowMnemonic);
    const int qtFlags = qtTextFlags(flags);
    QRect used = metrics.boundingRect(box, qtFlags, s);
    if (painter_.isActive()) {
        if (!transparentText()) painter_.fillRect(used.intersected(box), Qt::white);
        painter_.setFont(face);
        painter_.setPen(qtColour(textColour()));
        painter_.drawText(box, qtFlags, s);
    }
    if (recorder_) {
        if (!transparentText()) recorder_->fillRect(used.intersected(box), Qt::white);
        QString plain = s;
        if (!(flags & DT_NOPREFIX))
            plain.replace(QLatin1String("&&"), QLatin1String("\x01"))
                .remove(QLatin1Char('&'))
                .replace(QLatin1Char('\x01'), QLatin1Char('&'));
        const QStringList lines = plain.split(QLatin1Char('\n'));
        double baseline = used.top() + metrics.ascent();
        for (const QString& line : lines) {
            recorder_->text(QPointF(used.left(), baseline), line, face.family(),
                            face.pixelSize() > 0 ? face.pixelSize() : metrics.height(), face.bold(),
                            face.italic(), qtColour(textColour()));
            baseline += metrics.lineSpacing();
        }
    }
}

Rect PainterContext::measureText(std::string_view text, const Rect& rect,
                                 std::uint32_t flags) const {
    QFontMetrics metrics(host_.qtFont(font()));
    QString s = layoutText(text, flags);
    const bool wrap = (flags & DT_WORDBREAK) && !(flags & DT_SINGLELINE);
    const int limit = INT_MAX / 4;
    QRect box(rect.left, rect.top, wrap ? std::max(rect.width(), 1) : limit, limit);
    int qtFlags = qtTextFlags(flags) & ~(Qt::AlignHCenter | Qt::AlignRight | Qt::AlignVCenter);
    QRect used = metrics.boundingRect(box, qtFlags | Qt::AlignLeft | Qt::AlignTop, s);
    int height = s.isEmpty() ? metrics.height() : used.height();
    return {rect.left, rect.top, rect.left + used.width(), rect.top + height};
}

void PainterContext::drawEdge(const Rect& rect, Edge edge) {
    if (!painter_.isActive() || rect.width() < 4 || rect.height() < 4) return;
    const QColor light(255, 255, 255), face(227, 227, 227), shadow(160, 160, 160),
        dark(105, 105, 105);
    const bool raised = edge == Edge::raised;
    QRect r = qtRect(rect);
    auto frame = [&](QRect band, const QColor& topLeft, const QColor& bottomRight) {
        painter_.fillRect(QRect(band.left(), band.top(), band.width(), 1), topLeft);
        painter_.fillRect(QRect(band.left(), band.top(), 1, band.height()), topLeft);
        painter_.fillRect(QRect(band.left(), band.bottom(), band.width(), 1), bottomRight);
        painter_.fillRect(QRect(band.right(), band.top(), 1, band.height()), bottomRight);
    };
    frame(r, raised ? light : shadow, raised ? dark : light);
    frame(r.adjusted(1, 1, -1, -1), raised ? face : dark, raised ? shadow : face);
}

void PainterContext::drawFocusRect(const Rect& rect) {
    if (!painter_.isActive() || rect.isEmpty()) return;
    painter_.save();
    painter_.setPen(QPen(Qt::black, 1, Qt::DotLine));
    painter_.setBrush(Qt::NoBrush);
    painter_.drawRect(qtRect(rect).adjusted(0, 0, -1, -1));
    painter_.restore();
}

void PainterContext::drawIcon(int x, int y, Icon icon) {
    const QIcon* q = host_.qtIcon(icon);
    if (!q || !painter_.isActive()) return;
    painter_.drawPixmap(x, y, q->pixmap(32, 32));
}

}  // namespace host::qt
