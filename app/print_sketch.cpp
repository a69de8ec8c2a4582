#include "app/print_sketch.h"

#include <algorithm>
#include <cerrno>
#include <memory>

#include "app/program_resources.h"
#include "framework/controls/dialog.h"
#include "framework/controls/modal_loop.h"
#include "framework/error/error_report.h"
#include "host/host.h"
#include "host/messages.h"

namespace penwick {

namespace {

constexpr std::uint32_t kDialogFlags =
    host::PD_PAGENUMS | host::PD_NOSELECTION | host::PD_PRINTSETUP;

host::PrintSettings firstSettings() {
    host::PrintSettings s;
    s.flags = kDialogFlags;
    s.fromPage = 1;
    s.toPage = 1;
    s.minPage = 1;
    s.maxPage = 1000;
    s.copies = 1;
    return s;
}

// Handles every message already waiting, the "Printing" dialog's keys
// (Escape, Enter, Space on Cancel) included, without waiting for more.
// Answers false when the program is asked to quit; the quit message is
// queued again for the main loop.
bool handleWaitingMessages(host::Host& h, host::Window dialog) {
    host::Message message;
    while (h.peekMessage(message, host::kNoWindow, 0, 0, true)) {
        if (message.message == host::WM_QUIT) {
            h.postQuitMessage(int(message.wParam));
            return false;
        }
        if (isDialogMessage(dialog, message)) continue;
        h.translateMessage(message);
        h.dispatchMessage(message);
    }
    return true;
}

// Shows the system's text for the failure of a step, `error` being errno
// as that step left it.
void reportFailure(host::Window owner, int error) {
    errno = error;
    showLastWin32Error(owner);
}

// The pages from max(from, 1) to `to` while the dialog stays; answers
// whether the document is to be ended (Cancel and completion end it, a
// failed page does not).
bool printPages(host::Host& h, host::PrinterContext& printer, CanvasView& canvas,
                host::Window mainWindow, const ktDialog& progress,
                const host::PrintSettings& settings) {
    host::DeviceContext& dc = printer.dc();
    const int pageWidth = dc.deviceCaps(host::HORZRES);
    const int pageHeight = dc.deviceCaps(host::VERTRES);
    // A window without width (never shown) prints at the page's own scale.
    const int windowWidth = std::max(h.clientRect(mainWindow).width(), 1);
    const double scale = double(pageWidth) / windowWidth;
    for (int page = std::max(settings.fromPage, 1); page <= settings.toPage; ++page) {
        if (!handleWaitingMessages(h, progress.handle())) return true;
        if (!progress.isValid() || !h.isVisible(progress.handle())) return true;
        if (!h.isWindow(canvas.handle())) return true;
        if (printer.startPage() < 1) {
            reportFailure(mainWindow, errno);
            return false;
        }
        const host::Brush paper = h.createSolidBrush(host::fromRgbColour(canvas.sketch.background));
        const host::Brush previous = dc.selectBrush(paper);
        dc.fillRect({0, 0, pageWidth, pageHeight});
        dc.selectBrush(previous);
        h.deleteBrush(paper);
        canvas.redrawAll(&dc, scale);
        if (printer.endPage() < 1) {
            reportFailure(mainWindow, errno);
            return false;
        }
    }
    return true;
}

}  // namespace

host::PrintSettings& rememberedPrintSettings() {
    static host::PrintSettings remembered = firstSettings();
    return remembered;
}

void printSketch(CanvasView& canvas, const std::string& documentName) {
    printSketch(canvas, documentName, rememberedPrintSettings());
}

void printSketch(CanvasView& canvas, const std::string& documentName,
                 host::PrintSettings& remembered) {
    host::Host& h = host::instance();
    const host::Window mainWindow = h.parent(canvas.handle());
    host::PrintSettings settings = remembered;
    settings.flags |= kDialogFlags;
    if (!h.printDialog(mainWindow, settings)) return;
    std::unique_ptr<host::PrinterContext> printer = h.createPrinterContext(settings);
    const int printerError = errno;
    remembered = settings;
    if (!printer) {
        reportFailure(mainWindow, printerError);
        h.invalidate(mainWindow, nullptr, true);
        return;
    }

    h.enableWindow(mainWindow, false);
    ktDialog progress(&programResources());
    progress.showModeless(kPrintingDialogResource, mainWindow);
    if (printer->startDocument(documentName) < 1) {
        reportFailure(mainWindow, errno);
    } else if (printPages(h, *printer, canvas, mainWindow, progress, settings) &&
               printer->endDocument() < 1) {
        // The output is only complete once the document is ended.
        reportFailure(mainWindow, errno);
    }
    printer.reset();
    if (progress.isValid()) progress.destroy();
    h.enableWindow(mainWindow, true);
    h.setForegroundWindow(mainWindow);
    h.invalidate(mainWindow, nullptr, true);
}

}  // namespace penwick
