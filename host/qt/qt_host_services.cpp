// The Qt host: menus, clipboard, the clipboard picture, dialogs, printing,
// shell, system and tablet.
#include <QApplication>
#include <QBuffer>
#include <QClipboard>
#include <QDesktopServices>
#include <QFileDialog>
#include <QFileInfo>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QMimeData>
#include <QPalette>
#include <QPrintDialog>
#include <QPrinter>
#include <QProcess>
#include <QScreen>
#include <QStandardPaths>
#include <QUrl>
#include <cerrno>
#include <cstdlib>
#include <filesystem>

#include "host/qt/painter_context.h"
#include "host/qt/qt_host.h"
#include "host/qt/qt_records.h"
#include "host/qt/svg_recorder.h"
#include "host/window_style.h"

namespace host::qt {

namespace {
QString fromUtf8(std::string_view s) {
    return QString::fromUtf8(s.data(), qsizetype(s.size()));
}
}  // namespace

// ---- Menus ------------------------------------------------------------------

QtHost::MenuRecord* QtHost::findMenu(Menu menu) {
    auto it = menus_.find(std::uintptr_t(menu));
    return it == menus_.end() ? nullptr : it->second.get();
}
const QtHost::MenuRecord* QtHost::findMenu(Menu menu) const {
    auto it = menus_.find(std::uintptr_t(menu));
    return it == menus_.end() ? nullptr : it->second.get();
}

Menu QtHost::createMenu(bool popup) {
    Menu m{nextObject_++};
    auto record = std::make_unique<MenuRecord>();
    record->popup = popup;
    menus_[std::uintptr_t(m)] = std::move(record);
    return m;
}

void QtHost::destroyMenu(Menu menu) {
    MenuRecord* record = findMenu(menu);
    if (!record) return;
    std::vector<Menu> subs;
    for (const MenuItem& item : record->items)
        if (item.subMenu != kNoMenu) subs.push_back(item.subMenu);
    menus_.erase(std::uintptr_t(menu));
    for (Menu s : subs)
        destroyMenu(s);
    for (auto& [handle, w] : windows_)
        if (!w->dead && w->menu == menu) setWindowMenu(w->handle, kNoMenu);
}

bool QtHost::appendMenu(Menu menu, std::uint32_t flags, std::uint32_t id, std::string_view text,
                        Menu subMenu) {
    MenuRecord* record = findMenu(menu);
    if (!record) return false;
    if ((flags & MF_POPUP) && !findMenu(subMenu)) return false;
    MenuItem item;
    item.flags = flags;
    if (flags & MF_POPUP)
        item.subMenu = subMenu;
    else if (!(flags & MF_SEPARATOR))
        item.id = id;
    if (!(flags & MF_SEPARATOR)) item.text = std::string(text);
    record->items.push_back(std::move(item));
    menuChanged(menu);
    return true;
}

int QtHost::menuItemCount(Menu menu) const {
    const MenuRecord* record = findMenu(menu);
    return record ? int(record->items.size()) : -1;
}

std::optional<MenuItem> QtHost::menuItem(Menu menu, int position) const {
    const MenuRecord* record = findMenu(menu);
    if (!record || position < 0 || position >= int(record->items.size())) return std::nullopt;
    return record->items[std::size_t(position)];
}

bool QtHost::setMenuItemText(Menu menu, int position, std::string_view text) {
    MenuRecord* record = findMenu(menu);
    if (!record || position < 0 || position >= int(record->items.size())) return false;
    MenuItem& item = record->items[std::size_t(position)];
    if (item.flags & MF_SEPARATOR) return false;
    item.text = std::string(text);
    menuChanged(menu);
    return true;
}

bool QtHost::setMenuItemChecked(Menu menu, int position, bool checked) {
    MenuRecord* record = findMenu(menu);
    if (!record || position < 0 || position >= int(record->items.size())) return false;
    MenuItem& item = record->items[std::size_t(position)];
    item.flags = checked ? item.flags | MF_CHECKED : item.flags & ~MF_CHECKED;
    menuChanged(menu);
    return true;
}

bool QtHost::setMenuItemEnabled(Menu menu, int position, bool enabled) {
    MenuRecord* record = findMenu(menu);
    if (!record || position < 0 || position >= int(record->items.size())) return false;
    MenuItem& item = record->items[std::size_t(position)];
    item.flags = enabled ? item.flags & ~MF_GRAYED : item.flags | MF_GRAYED;
    menuChanged(menu);
    return true;
}

void QtHost::menuChanged(Menu menu) {
    // Popups are read again whenever they open; only a bar shows its items
    // all the time.
    for (auto& [handle, w] : windows_)
        if (!w->dead && w->menu == menu) rebuildMenuBar(*w);
}

void QtHost::fillQtMenu(QMenu& qmenu, Menu menu, Window owner, bool postCommands) {
    // Sub-menus made by the last filling go with their actions.
    for (QMenu* old : qmenu.findChildren<QMenu*>(Qt::FindDirectChildrenOnly))
        old->deleteLater();
    qmenu.clear();
    const MenuRecord* record = findMenu(menu);
    if (!record) return;
    for (std::size_t i = 0; i < record->items.size(); ++i) {
        const MenuItem& item = record->items[i];
        if (item.flags & MF_SEPARATOR) {
            qmenu.addSeparator();
            continue;
        }
        // "&" marks the mnemonic and "\t" starts the shortcut text, in Qt
        // as in the program's own texts.
        if (item.flags & MF_POPUP) {
            QMenu* sub = qmenu.addMenu(fromUtf8(item.text));
            sub->setEnabled(!(item.flags & MF_GRAYED));
            Menu subMenu = item.subMenu;
            int position = int(i);
            QObject::connect(
                sub, &QMenu::aboutToShow, sub, [this, sub, subMenu, owner, position, postCommands] {
                    sendMessage(owner, WM_INITMENUPOPUP, WParam(subMenu), makeLParam(position, 0));
                    fillQtMenu(*sub, subMenu, owner, postCommands);
                });
            continue;
        }
        QAction* action = qmenu.addAction(fromUtf8(item.text));
        action->setEnabled(!(item.flags & MF_GRAYED));
        action->setCheckable(item.flags & MF_CHECKED);
        action->setChecked(item.flags & MF_CHECKED);
        action->setData(QVariant::fromValue(quint32(item.id)));
        if (postCommands) {
            std::uint32_t id = item.id;
            QObject::connect(action, &QAction::triggered, action, [this, owner, id] {
                postMessage(owner, WM_COMMAND, makeWParam(int(id), 0), 0);
            });
        }
    }
}

void QtHost::rebuildMenuBar(WindowRecord& w) {
    if (!w.menuBar) return;
    const MenuRecord* record = findMenu(w.menu);
    // Texts and states change in place: the bar is updated while one of its
    // popups opens (WM_INITMENU), and that popup must stay.
    QList<QAction*> actions = w.menuBar->actions();
    std::vector<const MenuItem*> shown;
    if (record)
        for (const MenuItem& item : record->items)
            if (!(item.flags & MF_SEPARATOR)) shown.push_back(&item);
    bool same = record && actions.size() == qsizetype(shown.size());
    for (std::size_t i = 0; same && i < shown.size(); ++i)
        same = (actions[qsizetype(i)]->menu() != nullptr) == bool(shown[i]->flags & MF_POPUP);
    if (same) {
        for (std::size_t i = 0; i < shown.size(); ++i) {
            actions[qsizetype(i)]->setText(fromUtf8(shown[i]->text));
            actions[qsizetype(i)]->setEnabled(!(shown[i]->flags & MF_GRAYED));
        }
        return;
    }
    for (QMenu* old : w.menuBar->findChildren<QMenu*>(Qt::FindDirectChildrenOnly))
        old->deleteLater();
    w.menuBar->clear();
    if (!record) return;
    Window owner = w.handle;
    Menu bar = w.menu;
    for (std::size_t i = 0; i < record->items.size(); ++i) {
        const MenuItem& item = record->items[i];
        if (item.flags & MF_SEPARATOR) continue;
        if (!(item.flags & MF_POPUP)) {
            QAction* action = w.menuBar->addAction(fromUtf8(item.text));
            action->setEnabled(!(item.flags & MF_GRAYED));
            std::uint32_t id = item.id;
            QObject::connect(action, &QAction::triggered, w.menuBar, [this, owner, id] {
                postMessage(owner, WM_COMMAND, makeWParam(int(id), 0), 0);
            });
            continue;
        }
        QMenu* popup = w.menuBar->addMenu(fromUtf8(item.text));
        popup->setEnabled(!(item.flags & MF_GRAYED));
        Menu subMenu = item.subMenu;
        int position = int(i);
        QObject::connect(
            popup, &QMenu::aboutToShow, popup, [this, popup, bar, subMenu, owner, position] {
                // The framework updates the items first.
                sendMessage(owner, WM_INITMENU, WParam(bar), 0);
                sendMessage(owner, WM_INITMENUPOPUP, WParam(subMenu), makeLParam(position, 0));
                fillQtMenu(*popup, subMenu, owner, true);
            });
        // Filled now too, so that the bar can be looked through before use.
        fillQtMenu(*popup, subMenu, owner, true);
    }
}

bool QtHost::setWindowMenu(Window window, Menu menu) {
    WindowRecord* w = find(window);
    if (!w || (w->style & WS_CHILD) || !w->outer) return false;
    if (menu != kNoMenu && !findMenu(menu)) return false;
    w->menu = menu;
    if (menu == kNoMenu) {
        delete w->menuBar.data();
    } else {
        if (!w->menuBar) {
            w->menuBar = new QMenuBar(w->outer);
            // The bar stays inside the window on every desktop, where the
            // client rectangle expects it.
            w->menuBar->setNativeMenuBar(false);
            w->menuBar->setEnabled(w->enabled);
            w->menuBar->show();
        }
        rebuildMenuBar(*w);
    }
    layoutFrame(*w);
    sendSizeIfChanged(*w, false);
    return true;
}

Menu QtHost::windowMenu(Window window) const {
    const WindowRecord* w = find(window);
    return w ? w->menu : kNoMenu;
}

int QtHost::trackPopupMenu(Menu menu, std::uint32_t flags, Point screen, Window owner) {
    if (!findMenu(menu)) return 0;
    sendMessage(owner, WM_INITMENUPOPUP, WParam(menu), 0);
    QMenu qmenu(outerWidget(owner));
    // The chosen item comes back from exec, not as a posted command.
    fillQtMenu(qmenu, menu, owner, false);
    QAction* chosen = qmenu.exec(QPoint(screen.x, screen.y));
    int id = chosen && chosen->data().isValid() ? int(chosen->data().toUInt()) : 0;
    if (flags & TPM_RETURNCMD) return id;
    if (id != 0) postMessage(owner, WM_COMMAND, makeWParam(id, 0), 0);
    return id != 0 ? 1 : 0;
}

// ---- Clipboard --------------------------------------------------------------

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

// ---- Dialogs ----------------------------------------------------------------

int QtHost::messageBox(Window owner, std::string_view text, std::string_view title,
                       std::uint32_t type) {
    QMessageBox box(outerWidget(owner));
    box.setText(fromUtf8(text));
    box.setWindowTitle(fromUtf8(title));
    switch (type & 0xF0) {
        case MB_ICONHAND:
            box.setIcon(QMessageBox::Critical);
            break;
        case MB_ICONQUESTION:
            box.setIcon(QMessageBox::Question);
            break;
        case MB_ICONEXCLAMATION:
            box.setIcon(QMessageBox::Warning);
            break;
        case MB_ICONASTERISK:
            box.setIcon(QMessageBox::Information);
            break;
        default:
            break;
    }
    struct Choice {
        QMessageBox::StandardButton button;
        int answer;
    };
    std::vector<Choice> choices;
    switch (type & 0x0F) {
        case MB_OKCANCEL:
            choices = {{QMessageBox::Ok, IDOK}, {QMessageBox::Cancel, IDCANCEL}};
            break;
        case MB_ABORTRETRYIGNORE:
            choices = {{QMessageBox::Abort, IDABORT},
                       {QMessageBox::Retry, IDRETRY},
                       {QMessageBox::Ignore, IDIGNORE}};
            break;
        case MB_YESNOCANCEL:
            choices = {{QMessageBox::Yes, IDYES},
                       {QMessageBox::No, IDNO},
                       {QMessageBox::Cancel, IDCANCEL}};
            break;
        case MB_YESNO:
            choices = {{QMessageBox::Yes, IDYES}, {QMessageBox::No, IDNO}};
            break;
        case MB_RETRYCANCEL:
            choices = {{QMessageBox::Retry, IDRETRY}, {QMessageBox::Cancel, IDCANCEL}};
            break;
        default:
            choices = {{QMessageBox::Ok, IDOK}};
            break;
    }
    QMessageBox::StandardButtons buttons;
    for (const Choice& c : choices)
        buttons |= c.button;
    box.setStandardButtons(buttons);
    box.setDefaultButton(choices.front().button);
    int result = box.exec();
    for (const Choice& c : choices)
        if (result == c.button) return c.answer;
    // Closed by the window's close box or Escape: Cancel where there is one,
    // else the only button.
    for (const Choice& c : choices)
        if (c.answer == IDCANCEL) return IDCANCEL;
    return choices.size() == 1 ? choices.front().answer : IDCANCEL;
}

namespace {
// "Penwick Files (*.wnk)" with "*.wnk;*.WNK" becomes Qt's
// "Penwick Files (*.wnk *.WNK)".
QString qtFilter(const FileFilter& filter) {
    QString description = fromUtf8(filter.description).trimmed();
    int open = int(description.lastIndexOf(QLatin1Char('(')));
    if (open > 0 && description.endsWith(QLatin1Char(')')))
        description = description.left(open).trimmed();
    QString patterns = fromUtf8(filter.patterns);
    patterns.replace(QLatin1Char(';'), QLatin1Char(' '));
    if (patterns.trimmed().isEmpty()) patterns = QStringLiteral("*");
    return description + QStringLiteral(" (") + patterns.simplified() + QLatin1Char(')');
}
}  // namespace

FileDialogAnswer QtHost::fileDialog(const FileDialogRequest& request) {
    QFileDialog dialog(outerWidget(request.owner));
    dialog.setAcceptMode(request.open ? QFileDialog::AcceptOpen : QFileDialog::AcceptSave);
    if (request.open)
        dialog.setFileMode((request.flags & OFN_ALLOWMULTISELECT) ? QFileDialog::ExistingFiles
                                                                  : QFileDialog::ExistingFile);
    else
        dialog.setFileMode(QFileDialog::AnyFile);
    if (!(request.flags & OFN_OVERWRITEPROMPT)) dialog.setOption(QFileDialog::DontConfirmOverwrite);
    QStringList filters;
    for (const FileFilter& f : request.filters)
        filters << qtFilter(f);
    if (!filters.isEmpty()) dialog.setNameFilters(filters);
    if (!request.defaultExtension.empty())
        dialog.setDefaultSuffix(fromUtf8(request.defaultExtension));
    if (!request.initialName.empty()) {
        QFileInfo initial(fromUtf8(request.initialName));
        if (initial.isAbsolute() || request.initialName.find('/') != std::string::npos)
            dialog.setDirectory(initial.absolutePath());
        if (!initial.isDir()) dialog.selectFile(initial.fileName());
    }
    FileDialogAnswer answer;
    if (dialog.exec() != QDialog::Accepted) return answer;
    for (const QString& file : dialog.selectedFiles())
        answer.files.push_back(file.toStdString());
    if (!(request.flags & OFN_ALLOWMULTISELECT) && answer.files.size() > 1) answer.files.resize(1);
    return answer;
}

bool QtHost::printDialog(Window owner, PrintSettings& settings) {
    QPrinter printer(QPrinter::HighResolution);
    if (!settings.printerName.empty()) printer.setPrinterName(fromUtf8(settings.printerName));
    if (!settings.outputFile.empty()) printer.setOutputFileName(fromUtf8(settings.outputFile));
    printer.setCopyCount(std::max(settings.copies, 1));
    QPrintDialog dialog(&printer, outerWidget(owner));
    dialog.setMinMax(settings.minPage, std::max(settings.minPage, settings.maxPage));
    dialog.setFromTo(settings.fromPage, settings.toPage);
    QAbstractPrintDialog::PrintDialogOptions options = dialog.options();
    options.setFlag(QAbstractPrintDialog::PrintSelection, !(settings.flags & PD_NOSELECTION));
    options.setFlag(QAbstractPrintDialog::PrintPageRange, true);
    dialog.setOptions(options);
    if (settings.flags & PD_PAGENUMS) dialog.setPrintRange(QAbstractPrintDialog::PageRange);
    if (dialog.exec() != QDialog::Accepted) return false;
    settings.printerName = printer.printerName().toStdString();
    settings.outputFile = printer.outputFileName().toStdString();
    settings.copies = printer.copyCount();
    if (dialog.printRange() == QAbstractPrintDialog::PageRange) {
        settings.flags |= PD_PAGENUMS;
        settings.fromPage = dialog.fromPage();
        settings.toPage = dialog.toPage();
    } else {
        settings.flags &= ~PD_PAGENUMS;
    }
    return true;
}

// ---- Printing ---------------------------------------------------------------

namespace {
// A print job on a QPrinter: the pages are the printer's pages in order.
class Printer : public PrinterContext {
  public:
    Printer(const QtHost& host, const PrintSettings& settings)
        : printer_(QPrinter::HighResolution) {
        if (!settings.printerName.empty()) printer_.setPrinterName(fromUtf8(settings.printerName));
        if (!settings.outputFile.empty()) {
            printer_.setOutputFormat(QPrinter::PdfFormat);
            printer_.setOutputFileName(fromUtf8(settings.outputFile));
        }
        printer_.setCopyCount(std::max(settings.copies, 1));
        dc_ = std::make_unique<PainterContext>(host, paintDeviceCaps(printer_));
    }
    ~Printer() override {
        if (dc_->painter().isActive()) dc_->painter().end();
    }
    bool valid() const { return printer_.isValid(); }
    DeviceContext& dc() override { return *dc_; }
    int startDocument(const std::string& name) override {
        if (dc_->painter().isActive()) return errno = EBUSY, 0;
        printer_.setDocName(fromUtf8(name));
        started_ = true;
        pages_ = 0;
        return 1;
    }
    int startPage() override {
        if (!started_ || pageOpen_) return errno = EINVAL, 0;
        // The first page comes with the painter; each further one is asked for.
        if (pages_ == 0) {
            if (!dc_->painter().begin(&printer_)) {
                started_ = false;
                return errno = EIO, 0;
            }
        } else if (!printer_.newPage()) {
            return errno = EIO, 0;
        }
        pageOpen_ = true;
        ++pages_;
        return 1;
    }
    int endPage() override {
        if (!pageOpen_) return errno = EINVAL, 0;
        pageOpen_ = false;
        return 1;
    }
    int endDocument() override {
        if (!started_) return errno = EINVAL, 0;
        started_ = false;
        if (dc_->painter().isActive() && !dc_->painter().end()) return errno = EIO, 0;
        return 1;
    }

  private:
    QPrinter printer_;
    std::unique_ptr<PainterContext> dc_;
    bool started_ = false;
    bool pageOpen_ = false;
    int pages_ = 0;
};
}  // namespace

std::unique_ptr<PrinterContext> QtHost::createPrinterContext(const PrintSettings& settings) {
    auto printer = std::make_unique<Printer>(*this, settings);
    if (!printer->valid()) {
        errno = ENODEV;
        return nullptr;
    }
    return printer;
}

// ---- Shell and system -------------------------------------------------------

bool QtHost::shellExecute(std::string_view file, std::string_view parameters,
                          std::string_view folder, int) {
    QString path = fromUtf8(file);
    QFileInfo info(path);
    if (info.isFile() && info.isExecutable()) {
        QStringList arguments = QProcess::splitCommand(fromUtf8(parameters));
        return QProcess::startDetached(info.absoluteFilePath(), arguments, fromUtf8(folder));
    }
    // Documents, folders and web addresses open with the desktop's choice.
    QUrl url = info.exists() ? QUrl::fromLocalFile(info.absoluteFilePath())
                             : QUrl::fromUserInput(path, fromUtf8(folder));
    return url.isValid() && QDesktopServices::openUrl(url);
}

void QtHost::beep(std::uint32_t) {
    QApplication::beep();
}

std::string QtHost::specialFolder(int id) const {
    switch (id) {
        case CSIDL_PERSONAL:
            return QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation)
                .toStdString();
        case CSIDL_APPDATA: {
            const char* config = std::getenv("XDG_CONFIG_HOME");
            if (config && config[0] == '/') return config;
            const char* home = std::getenv("HOME");
            return std::string(home ? home : "") + "/.config";
        }
        default:
            return {};
    }
}

std::string QtHost::modulePath() const {
    std::error_code error;
    std::filesystem::path path = std::filesystem::read_symlink("/proc/self/exe", error);
    return error ? std::string() : path.string();
}

std::optional<DisplayMode> QtHost::displayMode() const {
    QScreen* screen = QGuiApplication::primaryScreen();
    if (!screen) return std::nullopt;
    return DisplayMode{screen->geometry().width(), screen->geometry().height(), screen->depth(),
                       int(screen->refreshRate() + 0.5)};
}

ColourRef QtHost::systemColour(int index) const {
    const QPalette palette = QApplication::palette();
    QColor c;
    switch (index) {
        case COLOR_WINDOW:
            c = palette.color(QPalette::Base);
            break;
        case COLOR_WINDOWTEXT:
            c = palette.color(QPalette::Text);
            break;
        case COLOR_HIGHLIGHT:
            c = palette.color(QPalette::Highlight);
            break;
        case COLOR_BTNFACE:
            c = palette.color(QPalette::Button);
            break;
        case COLOR_GRAYTEXT:
            c = palette.color(QPalette::Disabled, QPalette::Text);
            break;
        case COLOR_BTNTEXT:
            c = palette.color(QPalette::ButtonText);
            break;
        default:
            return 0;
    }
    return rgb(c.red(), c.green(), c.blue());
}

// ---- Tablet -----------------------------------------------------------------

TabletContext QtHost::openTablet(Window window) {
    // Qt reports pens through tablet events whether or not one is attached
    // now, so a context always opens; with no pen, no packets come.
    if (!find(window)) return kNoTablet;
    TabletContext context{nextObject_++};
    tablets_.open(context, window);
    return context;
}

void QtHost::closeTablet(TabletContext context) {
    tablets_.close(context);
}

bool QtHost::tabletPacket(TabletContext context, WParam serial, TabletPacket& packet) {
    return tablets_.packet(context, serial, packet);
}

void QtHost::enableTablet(TabletContext context, bool enable) {
    tablets_.enable(context, enable);
}

}  // namespace host::qt
