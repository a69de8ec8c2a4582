#include "host/qt/svg_recorder.h"

#include <QBuffer>

namespace host::qt {

namespace {

QByteArray number(double v) {
    return QByteArray::number(v, 'g', 10);
}

QByteArray hexColour(const QColor& c) {
    return c.name(QColor::HexRgb).toLatin1();
}

}  // namespace

QByteArray xmlEscaped(const QString& text) {
    QByteArray out;
    for (QChar c : text) {
        switch (c.unicode()) {
            case '&':
                out += "&amp;";
                break;
            case '<':
                out += "&lt;";
                break;
            case '>':
                out += "&gt;";
                break;
            case '"':
                out += "&quot;";
                break;
            default:
                // Control characters other than tab and line breaks are not
                // allowed in XML at all.
                if (c.unicode() < 0x20 && c != '\t' && c != '\n' && c != '\r') break;
                out += QString(c).toUtf8();
        }
    }
    return out;
}

void SvgRecorder::fillPath(const QPainterPath& path, const QColor& colour) {
    if (path.isEmpty()) return;
    // Every figure ends in "Z": the line Qt adds back to a figure's start
    // when it closes is what "Z" draws.
    QByteArray d;
    QPointF start;
    bool open = false;
    const int count = path.elementCount();
    for (int i = 0; i < count; ++i) {
        QPainterPath::Element e = path.elementAt(i);
        if (e.isMoveTo()) {
            if (open) d += "Z ";
            d += "M" + number(e.x) + " " + number(e.y) + " ";
            start = QPointF(e.x, e.y);
            open = true;
        } else if (e.isLineTo()) {
            const bool last = i + 1 == count || path.elementAt(i + 1).isMoveTo();
            if (last && QPointF(e.x, e.y) == start) continue;
            d += "L" + number(e.x) + " " + number(e.y) + " ";
        } else if (e.isCurveTo() && i + 2 < count) {
            QPainterPath::Element c2 = path.elementAt(i + 1), end = path.elementAt(i + 2);
            d += "C" + number(e.x) + " " + number(e.y) + " " + number(c2.x) + " " + number(c2.y) +
                 " " + number(end.x) + " " + number(end.y) + " ";
            i += 2;
        }
    }
    if (open) d += "Z";
    body_ += "<path d=\"" + d + "\" fill=\"" + hexColour(colour) + "\" fill-rule=\"" +
             (path.fillRule() == Qt::WindingFill ? "nonzero" : "evenodd") + "\"/>\n";
    grow(path.boundingRect().toAlignedRect());
}

void SvgRecorder::fillRect(const QRect& r, const QColor& colour) {
    if (r.isEmpty()) return;
    body_ += "<rect x=\"" + number(r.x()) + "\" y=\"" + number(r.y()) + "\" width=\"" +
             number(r.width()) + "\" height=\"" + number(r.height()) + "\" fill=\"" +
             hexColour(colour) + "\"/>\n";
    grow(r);
}

void SvgRecorder::text(const QPointF& baseline, const QString& text, const QString& family,
                       int pixelSize, bool bold, bool italic, const QColor& colour) {
    if (text.isEmpty()) return;
    body_ += "<text x=\"" + number(baseline.x()) + "\" y=\"" + number(baseline.y()) +
             "\" font-family=\"" + xmlEscaped(family) + "\" font-size=\"" + number(pixelSize) +
             "\"" + (bold ? " font-weight=\"bold\"" : "") +
             (italic ? " font-style=\"italic\"" : "") + " fill=\"" + hexColour(colour) +
             "\" xml:space=\"preserve\">" + xmlEscaped(text) + "</text>\n";
    grow(QRect(int(baseline.x()), int(baseline.y()) - pixelSize, pixelSize * text.size(),
               pixelSize * 5 / 4));
}

void SvgRecorder::image(const QPoint& topLeft, const QImage& image) {
    if (image.isNull()) return;
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    body_ += "<image x=\"" + number(topLeft.x()) + "\" y=\"" + number(topLeft.y()) + "\" width=\"" +
             number(image.width()) + "\" height=\"" + number(image.height()) +
             "\" href=\"data:image/png;base64," + png.toBase64() + "\"/>\n";
    grow(QRect(topLeft, image.size()));
}

QByteArray SvgRecorder::document(const QRect& box, double widthMm, double heightMm,
                                 const QString& description) const {
    QByteArray out = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n";
    out += "<svg xmlns=\"http://www.w3.org/2000/svg\" version=\"1.1\" width=\"" + number(widthMm) +
           "mm\" height=\"" + number(heightMm) + "mm\" viewBox=\"" + number(box.x()) + " " +
           number(box.y()) + " " + number(box.width()) + " " + number(box.height()) + "\">\n";
    if (!description.isEmpty()) out += "<desc>" + xmlEscaped(description) + "</desc>\n";
    out += body_;
    out += "</svg>\n";
    return out;
}

}  // namespace host::qt
