// The Qt host: print jobs on a QPrinter, a PDF file when the settings name
// one.
#include <QPrinter>
#include <algorithm>
#include <cerrno>

#include "host/qt/painter_context.h"
#include "host/qt/qt_conversions.h"
#include "host/qt/qt_host.h"

namespace host::qt {

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
            // A file has no edge a printer cannot reach: the page is the
            // whole paper. A printer's page is the part it can print on.
            printer_.setFullPage(true);
        }
        printer_.setCopyCount(std::max(settings.copies, 1));
        dc_ = std::make_unique<PainterContext>(host, paintDeviceCaps(printer_));
    }
    ~Printer() override {
        if (dc_->painter().isActive()) dc_->painter().end();
    }
    bool valid() const { return printer_.isValid(); }
    DeviceContext& dc() override { return *dc_; }
    // The document opens the output (the PDF file, or the print job) at
    // once, so a file that cannot be written fails the start, as the
    // platform's document start does; the first page comes with it.
    int startDocument(const std::string& name) override {
        if (started_) return errno = EBUSY, 0;
        printer_.setDocName(fromUtf8(name));
        errno = 0;
        if (!dc_->painter().begin(&printer_)) {
            if (errno == 0) errno = EIO;
            return 0;
        }
        started_ = true;
        pages_ = 0;
        return 1;
    }
    int startPage() override {
        if (!started_ || pageOpen_) return errno = EINVAL, 0;
        if (pages_ > 0 && !printer_.newPage()) return errno = EIO, 0;
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

}  // namespace host::qt
