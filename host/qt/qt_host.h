#pragma once
// The host on Qt 6: native windows, the menu bar, dialogs, printing, the
// clipboard and the pen tablet through Qt's tablet events, on X11 and Wayland
// alike.
//
// Every host window is two widgets: an outer widget (the native top-level
// window, or for a child the window inside its parent's client area) and the
// client widget inside it, below the menu bar when there is one. The client
// widget turns Qt's events into messages: painting and sizing are sent to the
// window procedure at once, inside the Qt event that asks for them; input
// (keys, mouse, wheel, tablet samples, dropped files) is queued in the host's
// own queue, which the framework's message loop empties with getMessage and
// peekMessage. Those two let Qt deliver its pending events first, so Qt's
// event loop never runs on its own.

#include <QByteArray>
#include <QObject>
#include <QString>
#include <chrono>
#include <deque>
#include <map>
#include <memory>

#include "host/frame_drag.h"
#include "host/host.h"
#include "host/message_queue.h"
#include "host/tablet_contexts.h"
#include "host/window_table.h"

class QApplication;
class QWidget;
class QEvent;
class QPaintEvent;
class QMenu;
class QIcon;
class QFont;
class QImage;
class QTimerEvent;

namespace host::qt {

class PainterContext;
class FrameWidget;
class ClientWidget;

// The MIME type a named clipboard format travels under: "KT_BINARY" is
// application/x-kt-binary; a name that already is a MIME type stays itself.
QString mimeTypeForFormat(std::string_view format);

// What isKeyDown answers once a queued message is taken.
struct InputState {
    bool valid = false;
    bool shift = false, control = false, alt = false;
    bool left = false, right = false, middle = false;
    int key = 0;  // the key of a key message, with its new state
    bool keyDown = false;
};

class QtHost : public QObject, public Host {
  public:
    // Makes the QApplication when the process has none yet (the host then
    // owns it); argc and argv are handed to it.
    QtHost(int argc = 0, char** argv = nullptr);
    ~QtHost() override;

    // The widget that shows a window's client area (tests grab and feed it).
    QWidget* clientWidget(Window window) const;
    // The native top-level widget of a window (its own outer widget for
    // children).
    QWidget* outerWidget(Window window) const;

    // ---- Host ----------------------------------------------------------
    Window createWindow(const CreateRequest& request) override;
    bool destroyWindow(Window window) override;
    bool isWindow(Window window) const override;
    Window parent(Window window) const override;
    Window owner(Window window) const override;
    std::vector<Window> children(Window window) const override;
    WindowProc windowProc(Window window) const override;
    WindowProc setWindowProc(Window window, WindowProc proc) override;
    void* userData(Window window) const override;
    void setUserData(Window window, void* data) override;
    int windowId(Window window) const override;
    void setWindowId(Window window, int id) override;
    std::uint32_t windowStyle(Window window) const override;
    void setWindowStyle(Window window, std::uint32_t style) override;
    LResult defaultProc(Window window, std::uint32_t message, WParam wParam,
                        LParam lParam) override;
    std::string windowText(Window window) const override;
    void setWindowText(Window window, std::string_view text) override;
    Rect clientRect(Window window) const override;
    Rect windowRect(Window window) const override;
    void moveWindow(Window window, const Rect& rect, bool repaint) override;
    Rect adjustWindowRect(const Rect& client, std::uint32_t style, bool withMenu) const override;
    Point clientToScreen(Window window, Point point) const override;
    Point screenToClient(Window window, Point point) const override;
    bool showWindow(Window window, int showCommand) override;
    bool isVisible(Window window) const override;
    bool isMinimised(Window window) const override;
    bool enableWindow(Window window, bool enable) override;
    bool isEnabled(Window window) const override;
    bool setForegroundWindow(Window window) override;
    Window foregroundWindow() const override { return foreground_; }
    Window setFocus(Window window) override;
    Window focusWindow() const override { return focus_; }
    Window setCapture(Window window) override;
    void releaseCapture() override;
    Window captureWindow() const override { return capture_; }
    void setWindowIcon(Window window, Icon icon, bool small) override;
    Icon windowIcon(Window window, bool small) const override;
    std::optional<Rect> monitorRect(Window window) const override;
    void acceptFiles(Window window, bool accept) override;
    std::vector<std::string> droppedFiles(WParam drop) const override;
    void finishDrop(WParam drop) override;

    void invalidate(Window window, const Rect* rect, bool erase) override;
    void updateWindow(Window window) override;
    PaintRecord beginPaint(Window window) override;
    void endPaint(Window window, const PaintRecord& record) override;
    std::unique_ptr<DeviceContext> getDC(Window window) override;
    std::unique_ptr<DeviceContext> createMemoryContext(const PixelView& pixels) override;
    std::unique_ptr<DeviceContext> createPicture(const DeviceContext& reference, const Rect* frame,
                                                 std::string_view description) override;
    Brush createSolidBrush(ColourRef colour) override;
    void deleteBrush(Brush brush) override;
    Font createFont(std::string_view face, int height, bool italic, bool bold) override;
    void deleteFont(Font font) override;
    Icon stockIcon(StockIcon which) override;
    Icon programIcon() override;

    bool postMessage(Window window, std::uint32_t message, WParam wParam, LParam lParam) override;
    LResult sendMessage(Window window, std::uint32_t message, WParam wParam,
                        LParam lParam) override;
    bool peekMessage(Message& message, Window window, std::uint32_t first, std::uint32_t last,
                     bool remove) override;
    bool getMessage(Message& message) override;
    void postQuitMessage(int exitCode) override;
    bool translateMessage(const Message& message) override;
    LResult dispatchMessage(const Message& message) override;

    bool setTimer(Window window, std::uintptr_t id, std::uint32_t periodMs) override;
    bool killTimer(Window window, std::uintptr_t id) override;
    std::int64_t processMilliseconds() const override;
    std::int64_t millisecondsSinceStart() const override;
    double wallTime() const override;
    void sleep(std::uint32_t milliseconds) override;

    bool isKeyDown(int virtualKey) const override;
    Point cursorPos() const override;
    void setCursorPos(Point screen) override;
    void setCursor(Cursor cursor) override;

    Menu createMenu(bool popup) override;
    void destroyMenu(Menu menu) override;
    bool appendMenu(Menu menu, std::uint32_t flags, std::uint32_t id, std::string_view text,
                    Menu subMenu) override;
    int menuItemCount(Menu menu) const override;
    std::optional<MenuItem> menuItem(Menu menu, int position) const override;
    bool setMenuItemText(Menu menu, int position, std::string_view text) override;
    bool setMenuItemChecked(Menu menu, int position, bool checked) override;
    bool setMenuItemEnabled(Menu menu, int position, bool enabled) override;
    bool setWindowMenu(Window window, Menu menu) override;
    Menu windowMenu(Window window) const override;
    int trackPopupMenu(Menu menu, std::uint32_t flags, Point screen, Window owner) override;

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
    void beep(std::uint32_t type) override;
    std::string specialFolder(int id) const override;
    std::string modulePath() const override;
    std::optional<DisplayMode> displayMode() const override;
    ColourRef systemColour(int index) const override;

    TabletContext openTablet(Window window) override;
    void closeTablet(TabletContext context) override;
    bool tabletPacket(TabletContext context, WParam serial, TabletPacket& packet) override;
    void enableTablet(TabletContext context, bool enable) override;

    // ---- From the widgets (not for the program) ------------------------
    // Turns a Qt event of a window's client or outer widget into messages;
    // answers whether the event was consumed.
    bool clientEvent(Window window, QEvent* event);
    bool outerEvent(Window window, QEvent* event);
    // The font a handle stands for (the default font for kNoFont).
    QFont qtFont(Font font) const;
    // The colour of a brush; false for kNoBrush or an unknown handle.
    bool brushColour(Brush brush, ColourRef& colour) const;
    const QIcon* qtIcon(Icon icon) const;

  protected:
    void timerEvent(QTimerEvent* event) override;

  private:
    struct WindowRecord;
    struct MenuRecord;
    struct TimerRecord {
        int qtTimer = 0;
        bool pending = false;
    };
    struct KeyText {
        Window window{};
        int virtualKey = 0;
        int code = 0;  // the 8-bit character the key makes; 0 for none
    };

    WindowRecord* find(Window window);
    const WindowRecord* find(Window window) const;
    void layoutFrame(WindowRecord& record);
    void sendSizeIfChanged(WindowRecord& record, bool force);
    void sendMoveIfChanged(WindowRecord& record, bool force);
    void applyTopLevelFlags(WindowRecord& record);
    void destroyTree(Window window);
    void queue(Window window, std::uint32_t message, WParam wParam, LParam lParam,
               InputState state = {}, const Point* cursor = nullptr);
    bool take(Message& message, Window window, std::uint32_t first, std::uint32_t last,
              bool remove);
    void pumpNativeEvents(bool wait);
    void paintClient(WindowRecord& record, QPaintEvent* event);
    bool mouseEvent(WindowRecord& record, QEvent* event);
    bool keyEvent(WindowRecord& record, QEvent* event);
    bool tabletEvent(WindowRecord& record, QEvent* event);
    bool dropEvent(WindowRecord& record, QEvent* event);
    void focusArrived(Window window);
    // Whether the user's mouse, keys and pen reach the window.
    bool takesInput(Window window) const;
    void activationChanged(Window window, bool active);
    void mergeOverlay(Window window, const QImage& overlay);
    // Menus become Qt menus when shown: the items are read again from the
    // record after WM_INITMENUPOPUP, so the framework's updates show.
    void fillQtMenu(QMenu& qmenu, Menu menu, Window owner, bool postCommands);
    void rebuildMenuBar(WindowRecord& record);
    void menuChanged(Menu menu);
    MenuRecord* findMenu(Menu menu);
    const MenuRecord* findMenu(Menu menu) const;

    std::unique_ptr<QApplication> application_;
    int argc_ = 0;
    const std::chrono::steady_clock::time_point start_ = std::chrono::steady_clock::now();

    WindowTable<WindowRecord> windows_;
    FrameDrag frameDrag_;
    MessageQueue<InputState> queue_;
    std::map<std::pair<std::uintptr_t, std::uintptr_t>, TimerRecord> timers_;
    std::map<int, std::pair<std::uintptr_t, std::uintptr_t>> timerKeys_;  // Qt id -> key
    bool keyTable_[256] = {};
    std::deque<KeyText> keyTexts_;
    Window focus_{};
    Window capture_{};
    Window foreground_{};
    Window cursorWindow_{};
    int paintDepth_ = 0;
    int eventDepth_ = 0;    // Qt events of host widgets being handled
    bool closing_ = false;  // widgets going with the host send nothing

    std::map<std::uintptr_t, std::unique_ptr<MenuRecord>> menus_;
    std::map<std::uintptr_t, ColourRef> brushes_;
    std::map<std::uintptr_t, std::unique_ptr<QFont>> fonts_;
    std::map<std::uintptr_t, std::unique_ptr<QIcon>> icons_;
    std::uintptr_t nextObject_ = 0x1000;

    bool clipboardOpen_ = false;
    std::map<QString, QByteArray> clipboardPending_;
    bool clipboardOurs_ = false;

    std::map<std::uintptr_t, std::vector<std::string>> drops_;
    std::uintptr_t nextDrop_ = 1;
    TabletContexts tablets_;
    bool penAsMouse_ = false;  // the pen's stroke began as mouse input
};

}  // namespace host::qt
