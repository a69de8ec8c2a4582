// The Qt host: the system's message box, file dialogs and print dialog.
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>
#include <algorithm>

#include "host/qt/qt_conversions.h"
#include "host/qt/qt_host.h"

namespace host::qt {

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

}  // namespace host::qt
