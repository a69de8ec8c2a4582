// The headless host: popup menus, clipboard, dialogs, printing, shell and
// system, each answering from the test's script and recording what it was
// asked.
#include <algorithm>
#include <cerrno>

#include "host/headless/headless_host.h"
#include "host/window_style.h"

namespace host::headless {

// ---- Popup menus -----------------------------------------------------------

void HeadlessHost::openMenuBarPopup(Window window, int position) {
    Menu bar = windowMenu(window);
    std::optional<MenuItem> item = menuItem(bar, position);
    if (!item || item->subMenu == kNoMenu) return;
    sendMessage(window, WM_INITMENU, WParam(bar), 0);
    sendMessage(window, WM_INITMENUPOPUP, WParam(item->subMenu), makeLParam(position, 0));
}

int HeadlessHost::runPopupMenu(Menu menu, Point, Window) {
    popupsShown_.push_back(menu);
    if (popupAnswers_.empty()) return 0;
    const int chosen = popupAnswers_.front();
    popupAnswers_.pop_front();
    return chosen;
}

// ---- Clipboard --------------------------------------------------------------

namespace {
constexpr std::string_view kTextFormat = "text/plain";
}

bool HeadlessHost::openClipboard(Window) {
    if (clipboardOpen_ || clipboardBusy_) return false;
    clipboardOpen_ = true;
    return true;
}
void HeadlessHost::closeClipboard() {
    clipboardOpen_ = false;
}
bool HeadlessHost::emptyClipboard() {
    if (!clipboardOpen_) return false;
    clipboard_.clear();
    clipboardPicture_.reset();
    return true;
}
bool HeadlessHost::setClipboardData(std::string_view format, std::vector<std::uint8_t> bytes) {
    if (!clipboardOpen_ || format.empty()) return false;
    clipboard_[std::string(format)] = std::move(bytes);
    return true;
}
bool HeadlessHost::isClipboardFormatAvailable(std::string_view format) const {
    return clipboard_.find(format) != clipboard_.end();
}
std::optional<std::vector<std::uint8_t>> HeadlessHost::clipboardData(
    std::string_view format) const {
    if (!clipboardOpen_) return std::nullopt;
    auto it = clipboard_.find(format);
    if (it == clipboard_.end()) return std::nullopt;
    return it->second;
}
bool HeadlessHost::setClipboardText(std::string_view text) {
    return setClipboardData(kTextFormat, std::vector<std::uint8_t>(text.begin(), text.end()));
}
std::optional<std::string> HeadlessHost::clipboardText() const {
    auto it = clipboard_.find(kTextFormat);
    if (it == clipboard_.end()) return std::nullopt;
    return std::string(it->second.begin(), it->second.end());
}
bool HeadlessHost::setClipboardPicture(std::unique_ptr<DeviceContext> picture) {
    auto* recording = dynamic_cast<RecordingContext*>(picture.get());
    if (!clipboardOpen_ || !recording) return false;
    clipboardPicture_ = recording->ops();
    clipboard_["image/svg+xml"] = {};
    clipboard_["image/png"] = {};
    return true;
}
const std::vector<DrawOp>* HeadlessHost::clipboardPicture() const {
    return clipboardPicture_ ? &*clipboardPicture_ : nullptr;
}

// ---- Dialogs and printing ---------------------------------------------------

int HeadlessHost::messageBox(Window owner, std::string_view text, std::string_view title,
                             std::uint32_t type) {
    MessageBoxCall call{owner, std::string(text), std::string(title), type, 0};
    if (messageBoxHandler_) {
        call.answer = messageBoxHandler_(call);
    } else if (!messageBoxAnswers_.empty()) {
        call.answer = messageBoxAnswers_.front();
        messageBoxAnswers_.pop_front();
    } else {
        static constexpr int kFirstButton[] = {IDOK, IDOK, IDABORT, IDYES, IDYES, IDRETRY};
        std::uint32_t buttons = type & 0xF;
        call.answer = buttons < 6 ? kFirstButton[buttons] : IDOK;
    }
    messageBoxes_.push_back(call);
    return call.answer;
}

FileDialogAnswer HeadlessHost::fileDialog(const FileDialogRequest& request) {
    fileDialogs_.push_back(request);
    if (fileAnswers_.empty()) return {};
    FileDialogAnswer answer = std::move(fileAnswers_.front());
    fileAnswers_.pop_front();
    return answer;
}

bool HeadlessHost::printDialog(Window owner, PrintSettings& settings) {
    printDialogs_.push_back({owner, settings});
    if (printDialogHandler_) return printDialogHandler_(settings);
    if (printAnswers_.empty()) return false;
    std::optional<PrintSettings> answer = std::move(printAnswers_.front());
    printAnswers_.pop_front();
    if (!answer) return false;
    settings = *answer;
    return true;
}

// A printer whose pages are recorded into printedDocuments(); a 210 x 297 mm
// page at 300 dots per inch.
class HeadlessHost::Printer : public PrinterContext {
  public:
    Printer(HeadlessHost& host, std::string outputFile)
        : host_(host), outputFile_(std::move(outputFile)) {}
    DeviceContext& dc() override { return *dc_; }
    int startDocument(const std::string& name) override {
        if (document_) return errno = EBUSY, 0;
        if (host_.printDocumentError_ != 0) return errno = host_.printDocumentError_, 0;
        host_.printed_.push_back({name, outputFile_, {}, false});
        document_ = host_.printed_.size();
        return int(document_);
    }
    int startPage() override {
        if (!document_ || pageOpen_) return errno = EINVAL, 0;
        pageOpen_ = true;
        page_.clear();
        return 1;
    }
    int endPage() override {
        if (!pageOpen_) return errno = EINVAL, 0;
        pageOpen_ = false;
        std::vector<std::vector<DrawOp>>& pages = host_.printed_[document_ - 1].pages;
        pages.push_back(page_);
        page_.clear();
        if (host_.pagePrintedHandler_) host_.pagePrintedHandler_(pages.size());
        return 1;
    }
    int endDocument() override {
        if (!document_) return errno = EINVAL, 0;
        host_.printed_[document_ - 1].ended = true;
        document_ = 0;
        return 1;
    }

  private:
    HeadlessHost& host_;
    std::string outputFile_;
    std::vector<DrawOp> page_;
    std::unique_ptr<RecordingContext> dc_ =
        std::make_unique<RecordingContext>(host_.environment(), 2480, 3508, 210, 297, &page_);
    std::size_t document_ = 0;  // index + 1 into printed_
    bool pageOpen_ = false;
};

std::unique_ptr<PrinterContext> HeadlessHost::createPrinterContext(const PrintSettings& s) {
    if (!printerAvailable_) {
        errno = ENODEV;
        return nullptr;
    }
    return std::make_unique<Printer>(*this, s.outputFile);
}

// ---- Shell and system -------------------------------------------------------

bool HeadlessHost::shellExecute(std::string_view file, std::string_view parameters,
                                std::string_view folder, int showCommand) {
    shellCalls_.push_back(
        {std::string(file), std::string(parameters), std::string(folder), showCommand});
    return shellResult_;
}

std::string HeadlessHost::specialFolder(int id) const {
    auto it = specialFolders_.find(id);
    return it == specialFolders_.end() ? std::string() : it->second;
}

ColourRef HeadlessHost::systemColour(int index) const {
    switch (index) {
        case COLOR_WINDOW:
            return rgb(255, 255, 255);
        case COLOR_WINDOWTEXT:
            return rgb(0, 0, 0);
        case COLOR_HIGHLIGHT:
            return rgb(0, 120, 215);
        case COLOR_BTNFACE:
            return rgb(240, 240, 240);
        case COLOR_GRAYTEXT:
            return rgb(109, 109, 109);
        case COLOR_BTNTEXT:
            return rgb(0, 0, 0);
        default:
            return 0;
    }
}

}  // namespace host::headless
