#pragma once
// The deterministic headless host for tests: the host core on a backend of
// records. Windows are rectangles with a dirty region; nothing paints until
// the test calls paint(); time stands still until the test calls advance(),
// and timers fire from that virtual clock; the clipboard lives in memory;
// message boxes and dialogs answer from what the test scripted and record
// what they were asked; beeps, shell calls and printed pages are recorded;
// every device context records its drawing as DrawOps. Input enters through
// the helpers at the end, which queue the messages a real desktop would.
//
// Frames: a top-level window with a caption has a 24-pixel title bar, a
// sizing border 4 pixels on every side (else a 1-pixel border when it has
// WS_BORDER) and a 20-pixel menu bar when a menu is attached. Screen: 1920 x
// 1080 at 32 bits and 60 Hz, 508 x 286 mm, unless the test sets another.
//
// getMessage never blocks: when the queue is empty it runs the next scripted
// step (whenIdle); with no step left it answers a WM_QUIT with exit code
// kStarvedExitCode, so a test whose loop waits for something that never comes
// ends instead of hanging.

#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "host/headless/recording_context.h"
#include "host/host_core.h"

namespace host::headless {

using host::kStarvedExitCode;

enum class MouseButton { left, right, middle };

// Modifier keys held during a helper's input.
struct Modifiers {
    bool shift = false;
    bool control = false;
    bool alt = false;
    bool touch = false;  // mouse input the system made from a touch
};

struct MessageBoxCall {
    Window owner{};
    std::string text;
    std::string title;
    std::uint32_t type = 0;
    int answer = 0;
};

struct ShellCall {
    std::string file;
    std::string parameters;
    std::string folder;
    int showCommand = 0;
};

// What a picture for the clipboard was asked to be.
struct PictureRequest {
    std::optional<Rect> frame;  // 0.01 mm; none: the bounds of what is drawn
    std::string description;
};

// What a print dialog was offered.
struct PrintDialogCall {
    Window owner{};
    PrintSettings offered;
};

struct PrintedDocument {
    std::string name;
    std::string outputFile;
    std::vector<std::vector<DrawOp>> pages;
    bool ended = false;
};

class HeadlessHost : public HostCore {
  public:
    HeadlessHost();
    ~HeadlessHost() override;

    // ---- Scripting and inspection (tests) ------------------------------
    // Moves the virtual clock on; every timer that falls due gets one
    // pending WM_TIMER (at most one per timer, as on the platform).
    void advance(std::int64_t milliseconds);
    void setWallTimeOrigin(double secondsSince1970) { wallOrigin_ = secondsSince1970; }
    // The processor clock follows the virtual clock unless a test gives its
    // own readings (work that should take time takes none here).
    void setProcessClock(std::function<std::int64_t()> clock) { processClock_ = std::move(clock); }
    // Sends WM_PAINT to every visible window with a dirty region (parents
    // first), or to one window. Answers how many windows painted.
    int paint();
    bool paint(Window window);
    std::optional<Rect> dirtyRect(Window window) const;  // bounds of the dirty region
    std::vector<DrawOp>& drawLog(Window window);         // what paints and getDC drew on it
    void whenIdle(std::function<void()> step) { idleSteps_.push_back(std::move(step)); }

    // Message boxes answer the scripted answers in order; with none left,
    // the first button of the type (IDOK, IDOK, IDABORT, IDYES, IDYES,
    // IDRETRY). A function answers instead when set; it may run messages.
    void scriptMessageBox(int answer) { messageBoxAnswers_.push_back(answer); }
    void setMessageBoxHandler(std::function<int(const MessageBoxCall&)> handler) {
        messageBoxHandler_ = std::move(handler);
    }
    const std::vector<MessageBoxCall>& messageBoxes() const { return messageBoxes_; }
    // File dialogs answer the scripted answers in order (cancel when none).
    void scriptFileDialog(FileDialogAnswer answer) { fileAnswers_.push_back(std::move(answer)); }
    const std::vector<FileDialogRequest>& fileDialogs() const { return fileDialogs_; }
    // Print dialogs answer with the scripted settings (cancel when none).
    // A function answers instead when set: it may change the settings
    // offered and answers whether the user accepted them.
    void scriptPrintDialog(std::optional<PrintSettings> answer) {
        printAnswers_.push_back(std::move(answer));
    }
    void setPrintDialogHandler(std::function<bool(PrintSettings&)> handler) {
        printDialogHandler_ = std::move(handler);
    }
    int printDialogCount() const { return int(printDialogs_.size()); }
    const std::vector<PrintDialogCall>& printDialogs() const { return printDialogs_; }
    // No printer: createPrinterContext answers null with errno ENODEV.
    void setPrinterAvailable(bool available) { printerAvailable_ = available; }
    // Makes every document start fail with errno `error` (0: none fails).
    void setPrintDocumentError(int error) { printDocumentError_ = error; }
    // Runs after each printed page, with the number of pages the document
    // holds so far; it may queue input, as a user acting meanwhile would.
    void setPagePrintedHandler(std::function<void(std::size_t)> handler) {
        pagePrintedHandler_ = std::move(handler);
    }
    const std::vector<PrintedDocument>& printedDocuments() const { return printed_; }
    const std::vector<std::uint32_t>& beeps() const { return beeps_; }
    const std::vector<ShellCall>& shellCalls() const { return shellCalls_; }
    void setShellResult(bool ok) { shellResult_ = ok; }
    // Special folders are empty until set, so nothing a test does writes into
    // the real home folder; the program path is empty until set.
    void setSpecialFolder(int id, std::string path) { specialFolders_[id] = std::move(path); }
    void setModulePath(std::string path) { modulePath_ = std::move(path); }
    void setDisplayMode(std::optional<DisplayMode> mode) { displayMode_ = mode; }
    void setMonitorAvailable(bool available) { monitorAvailable_ = available; }
    // Popup menus answer the scripted command ids in order (0 = dismissed).
    void scriptPopupMenu(int id) { popupAnswers_.push_back(id); }
    const std::vector<Menu>& popupMenusShown() const { return popupsShown_; }
    // Lets a popup of a window's menu bar open: WM_INITMENU, WM_INITMENUPOPUP.
    void openMenuBarPopup(Window window, int position);
    // The picture put on the clipboard, as recorded; the pictures asked for.
    const std::vector<DrawOp>* clipboardPicture() const;
    const std::vector<PictureRequest>& pictureRequests() const { return pictures_; }
    void setPicturesAvailable(bool available) { picturesAvailable_ = available; }
    void setClipboardBusy(bool busy) { clipboardBusy_ = busy; }
    Cursor cursor() const { return cursor_; }
    void setFontAvailable(std::string face, bool available);

    // ---- Input helpers -------------------------------------------------
    // Mouse messages go to the capture window when there is one (with the
    // point converted to its client coordinates), else to `window`. The
    // modifiers and the buttons held are reflected in MK_* flags and, once
    // the message is taken from the queue, in isKeyDown. Like the user's
    // input on a desktop, none of it reaches a disabled window (or a child
    // of one).
    void mousePress(Window window, MouseButton button, Point client, Modifiers mods = {});
    void mouseMove(Window window, Point client, Modifiers mods = {});
    void mouseRelease(Window window, MouseButton button, Point client, Modifiers mods = {});
    // Keys go to the focus window; a key held down again is a repeat.
    void keyDown(int virtualKey, Modifiers mods = {});
    void keyUp(int virtualKey, Modifiers mods = {});
    // One wheel turn of `delta` (120 per notch) to the focus window.
    void wheel(int delta, Point screen, Modifiers mods = {});
    // One tablet sample to the window of an open context; answers the serial.
    WParam tabletSample(TabletContext context, std::uint32_t buttons, std::uint32_t x,
                        std::uint32_t y, std::uint32_t pressure);
    // The pen comes near the screen or leaves it.
    void penNear(bool near) { penProximity(near); }
    // Files dropped on a window that accepts them; false when it does not.
    bool dropFiles(Window window, std::vector<std::string> files);
    // Clicks the close box: sends WM_CLOSE.
    void clickClose(Window window);

    // ---- Host: painting, clocks and the screen -------------------------
    Rect adjustWindowRect(const Rect& client, std::uint32_t style, bool withMenu) const override;
    Point clientToScreen(Window window, Point point) const override;
    Point screenToClient(Window window, Point point) const override;
    std::optional<Rect> monitorRect(Window window) const override;
    void invalidate(Window window, const Rect* rect, bool erase) override;
    void updateWindow(Window window) override;
    PaintRecord beginPaint(Window window) override;
    void endPaint(Window window, const PaintRecord& record) override;
    std::unique_ptr<DeviceContext> getDC(Window window) override;
    std::unique_ptr<DeviceContext> createMemoryContext(const PixelView& pixels) override;
    std::unique_ptr<DeviceContext> createPicture(const DeviceContext& reference, const Rect* frame,
                                                 std::string_view description) override;
    Icon stockIcon(StockIcon which) override;
    Icon programIcon() override;
    std::int64_t processMilliseconds() const override {
        return processClock_ ? processClock_() : now_;
    }
    std::int64_t millisecondsSinceStart() const override { return now_; }
    double wallTime() const override { return wallOrigin_ + double(now_) / 1000.0; }
    void sleep(std::uint32_t milliseconds) override { advance(milliseconds); }
    Point cursorPos() const override { return cursorPos_; }
    void setCursorPos(Point screen) override { cursorPos_ = screen; }
    void setCursor(Cursor cursor) override { cursor_ = cursor; }

    // ---- Services ------------------------------------------------------
    bool openClipboard(Window owner) override;
    void closeClipboard() override;
    bool emptyClipboard() override;
    bool setClipboardData(std::string_view format, std::vector<std::uint8_t> bytes) override;
    bool isClipboardFormatAvailable(std::string_view format) const override;
    std::optional<std::vector<std::uint8_t>> clipboardData(std::string_view format) const override;
    bool setClipboardText(std::string_view text) override;
    std::optional<std::string> clipboardText() const override;
    bool setClipboardPicture(std::unique_ptr<DeviceContext> picture) override;
    int messageBox(Window owner, std::string_view text, std::string_view title,
                   std::uint32_t type) override;
    FileDialogAnswer fileDialog(const FileDialogRequest& request) override;
    bool printDialog(Window owner, PrintSettings& settings) override;
    std::unique_ptr<PrinterContext> createPrinterContext(const PrintSettings& settings) override;
    bool shellExecute(std::string_view file, std::string_view parameters, std::string_view folder,
                      int showCommand) override;
    void beep(std::uint32_t type) override { beeps_.push_back(type); }
    std::string specialFolder(int id) const override;
    std::string modulePath() const override { return modulePath_; }
    std::optional<DisplayMode> displayMode() const override { return displayMode_; }
    ColourRef systemColour(int index) const override;

  protected:
    // ---- The backend's side of the core --------------------------------
    void createSurface(CoreWindow& window, const CreateRequest& request) override;
    void destroySurface(CoreWindow& window) override;
    void surfaceStyleChanged(CoreWindow&) override {}
    void surfaceTitleChanged(CoreWindow&) override {}
    void surfaceMenuChanged(CoreWindow&) override {}
    void surfaceEnabledChanged(CoreWindow&) override {}
    void surfaceIconChanged(CoreWindow&) override {}
    void surfaceDropsChanged(CoreWindow&) override {}
    void setSurfaceGeometry(CoreWindow& window, const Rect& rect) override;
    Rect surfaceRect(const CoreWindow& window) const override;
    Point surfaceClientSize(const CoreWindow& window) const override;
    Point surfaceClientOrigin(const CoreWindow& window) const override;
    void showSurface(CoreWindow& window, int showCommand) override;
    bool surfaceShown(const CoreWindow& window) const override;
    bool surfaceMinimised(const CoreWindow& window) const override;
    bool surfaceMaximised(const CoreWindow&) const override { return false; }
    void grabMouse(CoreWindow&, bool) override {}
    void nativeFocus(CoreWindow&) override {}
    void raiseSurface(CoreWindow&) override {}
    bool pumpNativeEvents(bool wait) override;
    int startNativeTimer(std::uint32_t periodMs) override;
    void stopNativeTimer(int id) override;
    int runPopupMenu(Menu menu, Point screen, Window owner) override;
    bool fontAvailable(std::string_view face) const override;

  private:
    struct Surface;
    struct NativeTimer {
        std::uint32_t period = 0;
        std::int64_t due = 0;
    };
    class Printer;

    Surface* surface(Window window);
    const Surface* surface(Window window) const;
    Rect frameInsets(std::uint32_t style, bool withMenu) const;
    Point screenOrigin(Window window) const;  // screen position of client (0, 0)
    void postMouse(Window window, std::uint32_t message, Point client, Modifiers mods);
    void postKey(std::uint32_t message, int virtualKey, LParam lParam);
    InputState heldState() const;
    RecordingContext::Environment environment() const;

    std::deque<std::function<void()>> idleSteps_;
    std::map<int, NativeTimer> nativeTimers_;
    int nextTimer_ = 1;
    std::int64_t now_ = 0;
    std::function<std::int64_t()> processClock_;
    double wallOrigin_ = 1767225600.0;  // 2026-01-01 00:00:00 UTC
    bool pendingKeys_[256] = {};        // as of the last queued input
    Point cursorPos_;
    Cursor cursor_ = Cursor::arrow;

    std::deque<int> popupAnswers_;
    std::vector<Menu> popupsShown_;
    std::map<std::string, bool, std::less<>> fontAvailable_;

    bool clipboardOpen_ = false;
    bool clipboardBusy_ = false;
    std::map<std::string, std::vector<std::uint8_t>, std::less<>> clipboard_;
    std::optional<std::vector<DrawOp>> clipboardPicture_;
    std::vector<PictureRequest> pictures_;
    bool picturesAvailable_ = true;

    std::deque<int> messageBoxAnswers_;
    std::function<int(const MessageBoxCall&)> messageBoxHandler_;
    std::vector<MessageBoxCall> messageBoxes_;
    std::deque<FileDialogAnswer> fileAnswers_;
    std::vector<FileDialogRequest> fileDialogs_;
    std::deque<std::optional<PrintSettings>> printAnswers_;
    std::function<bool(PrintSettings&)> printDialogHandler_;
    std::vector<PrintDialogCall> printDialogs_;
    bool printerAvailable_ = true;
    int printDocumentError_ = 0;
    std::function<void(std::size_t)> pagePrintedHandler_;
    std::vector<PrintedDocument> printed_;
    std::vector<std::uint32_t> beeps_;
    std::vector<ShellCall> shellCalls_;
    bool shellResult_ = true;
    std::map<int, std::string> specialFolders_;
    std::string modulePath_;
    std::optional<DisplayMode> displayMode_ = DisplayMode{1920, 1080, 32, 60};
    bool monitorAvailable_ = true;
};

}  // namespace host::headless
