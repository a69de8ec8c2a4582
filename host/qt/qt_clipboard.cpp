// The Qt host: the clipboard, shared with other programs through Qt's
// clipboard, and the clipboard picture recorded as SVG with a PNG beside it.
#include <QApplication>
#include <QBuffer>
#include <QClipboard>
#include <QMimeData>
#include <QPicture>
#include <algorithm>

#include "host/qt/painter_context.h"
#include "host/qt/qt_conversions.h"
#include "host/qt/qt_host.h"
#include "host/qt/svg_recorder.h"

namespace host::qt {

QString mimeTypeForFormat(std::string_view format) {
    if (format == kBinaryClipboardFormat) return QStringLiteral("application/x-kt-binary");
    QString name = fromUtf8(format);
    if (name.contains(QLatin1Char('/'))) return name;
    return QStringLiteral("application/x-") +
           name.toLower().replace(QLatin1Char('_'), QLatin1Char('-'));
}

namespace {
// The picture the program draws for the clipboard: a QPicture for the PNG
// rendering and an SVG recording, both of the same drawing.
class PictureContext : public PainterContext {
  public:
    PictureContext(const QtHost& host, const DeviceContext& reference, const Rect* frame,
                   QString description)
        : PainterContext(host,
                         {reference.deviceCaps(HORZRES), reference.deviceCaps(VERTRES),
                          reference.deviceCaps(HORZSIZE), reference.deviceCaps(VERTSIZE), 32,
                          reference.deviceCaps(LOGPIXELSX), reference.deviceCaps(LOGPIXELSY)}),
          description_(std::move(description)) {
        if (frame) frame_ = *frame;
        hasFrame_ = frame != nullptr;
        mmPerPixelX_ = reference.deviceCaps(HORZRES) > 0
                           ? double(reference.deviceCaps(HORZSIZE)) / reference.deviceCaps(HORZRES)
                           : 25.4 / 96;
        mmPerPixelY_ = reference.deviceCaps(VERTRES) > 0
                           ? double(reference.deviceCaps(VERTSIZE)) / reference.deviceCaps(VERTRES)
                           : 25.4 / 96;
        if (mmPerPixelX_ <= 0) mmPerPixelX_ = 25.4 / 96;
        if (mmPerPixelY_ <= 0) mmPerPixelY_ = 25.4 / 96;
        painter().begin(&picture_);
        setRecorder(&svg_);
    }

    // The area the picture shows, in the reference's pixels.
    QRect box() const {
        if (!hasFrame_) return svg_.bounds();
        return QRect(0, 0, int(frame_.width() / 100.0 / mmPerPixelX_ + 0.5),
                     int(frame_.height() / 100.0 / mmPerPixelY_ + 0.5));
    }
    QByteArray svg() const {
        QRect b = box();
        return svg_.document(b, b.width() * mmPerPixelX_, b.height() * mmPerPixelY_, description_);
    }
    // The PNG beside the SVG; at most 4096 pixels on a side.
    QImage image() {
        if (painter().isActive()) painter().end();
        QRect b = box();
        if (b.isEmpty()) return {};
        double scale = std::min(1.0, 4096.0 / std::max(b.width(), b.height()));
        QImage image(std::max(1, int(b.width() * scale)), std::max(1, int(b.height() * scale)),
                     QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::transparent);
        QPainter p(&image);
        p.scale(scale, scale);
        p.translate(-b.topLeft());
        p.drawPicture(0, 0, picture_);
        return image;
    }

  private:
    QPicture picture_;
    SvgRecorder svg_;
    QString description_;
    Rect frame_;
    bool hasFrame_ = false;
    double mmPerPixelX_ = 0;
    double mmPerPixelY_ = 0;
};
}  // namespace

std::unique_ptr<DeviceContext> QtHost::createPicture(const DeviceContext& reference,
                                                     const Rect* frame,
                                                     std::string_view description) {
    // The description holds "application\0title\0\0" by the platform's
    // custom; the parts are shown joined.
    std::string text(description);
    while (!text.empty() && text.back() == '\0')
        text.pop_back();
    for (char& c : text)
        if (c == '\0') c = ' ';
    return std::make_unique<PictureContext>(*this, reference, frame, QString::fromStdString(text));
}

bool QtHost::openClipboard(Window) {
    if (clipboardOpen_) return false;
    clipboardOpen_ = true;
    // What someone else put there since is theirs; ours starts again.
    if (!QApplication::clipboard()->ownsClipboard()) clipboardPending_.clear();
    return true;
}

void QtHost::closeClipboard() {
    clipboardOpen_ = false;
}

bool QtHost::emptyClipboard() {
    if (!clipboardOpen_) return false;
    clipboardPending_.clear();
    QApplication::clipboard()->clear();
    return true;
}

namespace {
void publish(const std::map<QString, QByteArray>& formats, const QImage* image) {
    auto* data = new QMimeData;  // the clipboard takes it over
    for (const auto& [mime, bytes] : formats)
        data->setData(mime, bytes);
    if (image && !image->isNull()) data->setImageData(*image);
    QApplication::clipboard()->setMimeData(data);
}
}  // namespace

bool QtHost::setClipboardData(std::string_view format, std::vector<std::uint8_t> bytes) {
    if (!clipboardOpen_ || format.empty()) return false;
    clipboardPending_[mimeTypeForFormat(format)] =
        QByteArray(reinterpret_cast<const char*>(bytes.data()), qsizetype(bytes.size()));
    publish(clipboardPending_, nullptr);
    return true;
}

bool QtHost::isClipboardFormatAvailable(std::string_view format) const {
    const QMimeData* data = QApplication::clipboard()->mimeData();
    return data && data->hasFormat(mimeTypeForFormat(format));
}

std::optional<std::vector<std::uint8_t>> QtHost::clipboardData(std::string_view format) const {
    if (!clipboardOpen_) return std::nullopt;
    const QMimeData* data = QApplication::clipboard()->mimeData();
    QString mime = mimeTypeForFormat(format);
    if (!data || !data->hasFormat(mime)) return std::nullopt;
    QByteArray bytes = data->data(mime);
    return std::vector<std::uint8_t>(bytes.begin(), bytes.end());
}

bool QtHost::setClipboardText(std::string_view text) {
    if (!clipboardOpen_) return false;
    clipboardPending_[QStringLiteral("text/plain")] = fromUtf8(text).toUtf8();
    clipboardPending_[QStringLiteral("text/plain;charset=utf-8")] = fromUtf8(text).toUtf8();
    publish(clipboardPending_, nullptr);
    return true;
}

std::optional<std::string> QtHost::clipboardText() const {
    const QMimeData* data = QApplication::clipboard()->mimeData();
    if (!data || !data->hasText()) return std::nullopt;
    return data->text().toStdString();
}

bool QtHost::setClipboardPicture(std::unique_ptr<DeviceContext> picture) {
    auto* recording = dynamic_cast<PictureContext*>(picture.get());
    if (!clipboardOpen_ || !recording) return false;
    QImage image = recording->image();
    clipboardPending_[QStringLiteral("image/svg+xml")] = recording->svg();
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    if (!image.isNull()) image.save(&buffer, "PNG");
    clipboardPending_[QStringLiteral("image/png")] = png;
    publish(clipboardPending_, &image);
    return true;
}

}  // namespace host::qt
