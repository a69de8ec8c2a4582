#pragma once
// The host on Qt 6: the host core on a backend of Qt widgets, with the menu
// bar, dialogs, printing, the clipboard and the pen tablet through Qt's
// tablet events, on X11 and Wayland alike.
//
// Every host window is two widgets: an outer widget (the native top-level
// window, or for a child the window inside its parent's client area) and the
// client widget inside it, below the menu bar when there is one. The client
// widget turns Qt's events into messages: painting and sizing are sent to the
// window procedure at once, inside the Qt event that asks for them; input
// (keys, mouse, wheel, tablet samples, dropped files) is queued in the core's
// queue, which the framework's message loop empties with getMessage and
// peekMessage. Those two let Qt deliver its pending events first, so Qt's
// event loop never runs on its own.
//
// Files by job: qt_surfaces.cpp (widgets, geometry, showing, focus, the
// event pump, timers and clocks), qt_input.cpp (Qt events into messages),
// qt_painting.cpp (painting, device contexts, fonts and icons), qt_menus.cpp,
// qt_clipboard.cpp, qt_dialogs.cpp, qt_printing.cpp and qt_shell.cpp.

#include <QByteArray>
#include <QFont>
#include <QString>
#include <chrono>
#include <map>
#include <memory>
#include <tuple>

#include "host/host_core.h"

class QApplication;
class QWidget;
class QEvent;
class QPaintEvent;
class QMenu;
class QIcon;
class QImage;

namespace host::qt {

class PainterContext;

// The MIME type a named clipboard format travels under: "KT_BINARY" is
// application/x-kt-binary; a name that already is a MIME type stays itself.
QString mimeTypeForFormat(std::string_view format);

class QtHost : public HostCore {
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
    // The client widget of the first shown window whose tablet context is
    // enabled, or null (where a replayed pen draws, host/qt/tablet_replay.h).
    QWidget* shownTabletWidget() const;

    // ---- Host: geometry, painting, clocks and the cursor ---------------
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
    std::int64_t processMilliseconds() const override;
    std::int64_t millisecondsSinceStart() const override;
    double wallTime() const override;
    void sleep(std::uint32_t milliseconds) override;
    Point cursorPos() const override;
    void setCursorPos(Point screen) override;
    void setCursor(Cursor cursor) override;

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
    void beep(std::uint32_t type) override;
    std::string specialFolder(int id) const override;
    std::string modulePath() const override;
    std::optional<DisplayMode> displayMode() const override;
    ColourRef systemColour(int index) const override;

    // ---- From the widgets and contexts (not for the program) -----------
    // Turns a Qt event of a window's client or outer widget into messages;
    // answers whether the event was consumed.
    bool clientEvent(Window window, QEvent* event);
    bool outerEvent(Window window, QEvent* event);
    // The Qt font a handle stands for (the default font for kNoFont).
    QFont qtFont(Font font) const;
    const QIcon* qtIcon(Icon icon) const;

  protected:
    // ---- The backend's side of the core --------------------------------
    void createSurface(CoreWindow& window, const CreateRequest& request) override;
    void destroySurface(CoreWindow& window) override;
    void surfaceStyleChanged(CoreWindow& window) override;
    void surfaceTitleChanged(CoreWindow& window) override;
    void surfaceMenuChanged(CoreWindow& window) override;
    void surfaceEnabledChanged(CoreWindow& window) override;
    void surfaceIconChanged(CoreWindow& window) override;
    void surfaceDropsChanged(CoreWindow& window) override;
    void setSurfaceGeometry(CoreWindow& window, const Rect& rect) override;
    Rect surfaceRect(const CoreWindow& window) const override;
    Point surfaceClientSize(const CoreWindow& window) const override;
    Point surfaceClientOrigin(const CoreWindow& window) const override;
    void showSurface(CoreWindow& window, int showCommand) override;
    bool surfaceShown(const CoreWindow& window) const override;
    bool surfaceMinimised(const CoreWindow& window) const override;
    bool surfaceMaximised(const CoreWindow& window) const override;
    void grabMouse(CoreWindow& window, bool grab) override;
    void nativeFocus(CoreWindow& window) override;
    void raiseSurface(CoreWindow& window) override;
    bool pumpNativeEvents(bool wait) override;
    int startNativeTimer(std::uint32_t periodMs) override;
    void stopNativeTimer(int id) override;
    int runPopupMenu(Menu menu, Point screen, Window owner) override;

  private:
    struct Surface;
    class TimerReceiver;
    Surface* surface(Window window);
    const Surface* surface(Window window) const;
    static Surface& surfaceOf(CoreWindow& window);
    static const Surface& surfaceOf(const CoreWindow& window);

    void layoutFrame(Surface& surface, const CoreWindow& window);
    // Client pixels per logical unit: the screen's device pixel ratio for a
    // window in device pixels, else 1.
    double clientScale(const CoreWindow& window) const;
    // A client rectangle in the window's units as Qt's logical one (grown
    // to whole units), and back.
    QRect logicalRect(const CoreWindow& window, const Rect& client) const;
    Rect clientUnits(const CoreWindow& window, const QRect& logical) const;
    void applyTopLevelFlags(CoreWindow& window);
    void paintClient(CoreWindow& window, QPaintEvent* event);
    bool mouseEvent(CoreWindow& window, QEvent* event);
    bool keyEvent(CoreWindow& window, QEvent* event);
    bool wheelEvent(CoreWindow& window, QEvent* event);
    bool tabletEvent(CoreWindow& window, QEvent* event);
    bool dropEvent(CoreWindow& window, QEvent* event);
    void mergeOverlay(Window window, const QImage& overlay);
    // Menus become Qt menus when shown: the items are read again from the
    // core's records after WM_INITMENUPOPUP, so the framework's updates show.
    void fillQtMenu(QMenu& qmenu, Menu menu, Window owner, bool postCommands);
    void rebuildMenuBar(CoreWindow& window);

    std::unique_ptr<QApplication> application_;
    int argc_ = 0;
    const std::chrono::steady_clock::time_point start_ = std::chrono::steady_clock::now();

    std::unique_ptr<TimerReceiver> timerReceiver_;  // Qt's timers arrive at a QObject
    Window cursorWindow_{};
    int paintDepth_ = 0;
    int eventDepth_ = 0;    // Qt events of host widgets being handled
    bool closing_ = false;  // widgets going with the host send nothing

    using FontKey = std::tuple<std::string, int, bool, bool>;
    mutable std::map<FontKey, QFont> qtFonts_;
    std::map<std::uintptr_t, std::unique_ptr<QIcon>> icons_;

    bool clipboardOpen_ = false;
    std::map<QString, QByteArray> clipboardPending_;

    bool penAsMouse_ = false;  // the pen's stroke began as mouse input
};

}  // namespace host::qt
