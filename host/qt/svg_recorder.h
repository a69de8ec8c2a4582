#pragma once
// Writes what is drawn on a picture context as an SVG document: the vector
// form of the clipboard picture, for programs that take image/svg+xml.

#include <QByteArray>
#include <QColor>
#include <QImage>
#include <QPainterPath>
#include <QRect>
#include <QString>

namespace host::qt {

class SvgRecorder {
  public:
    void fillPath(const QPainterPath& path, const QColor& colour);  // path's own fill rule
    void fillRect(const QRect& rect, const QColor& colour);
    // One line of text with its top-left at `origin`; `pixelSize` the em size.
    void text(const QPointF& baseline, const QString& text, const QString& family, int pixelSize,
              bool bold, bool italic, const QColor& colour);
    void image(const QPoint& topLeft, const QImage& image);

    // The bounds of everything drawn; empty when nothing was.
    QRect bounds() const { return bounds_; }
    // The whole document: `viewBox` in the picture's units, shown at
    // `widthMm` x `heightMm`.
    QByteArray document(const QRect& viewBox, double widthMm, double heightMm,
                        const QString& description) const;

  private:
    void grow(const QRect& rect) { bounds_ = bounds_.united(rect); }
    QByteArray body_;
    QRect bounds_;
};

// Text made safe for XML character data and attribute values.
QByteArray xmlEscaped(const QString& text);

}  // namespace host::qt
