#pragma once
// The host: everything the program asks of the platform it runs on, in one
// abstract class with one instance per process. host::HostCore
// (host/host_core.h) does all of it that is the same whatever shows the
// windows; host/qt/ puts it on Qt 6 for real use, host/headless/ is a
// deterministic double that tests drive.
//
// Sections: instance; windows; painting and device contexts; messages and the
// queue; timers and clocks; input state; menus; tablet. The clipboard,
// dialogs, printing and the shell are in host/services.h.
//
// Threading: every call comes from the one user-interface thread.
// Text: std::string holds UTF-8 (plain ASCII for everything the program
// itself writes); file paths use "/".

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "host/device_context.h"
#include "host/dialogs.h"
#include "host/menu.h"
#include "host/messages.h"
#include "host/services.h"
#include "host/types.h"

namespace host {

// What createWindow is asked to make; WM_NCCREATE and WM_CREATE carry its
// address in lParam, so a window procedure can find `createParam` there.
struct CreateRequest {
    std::string title;
    std::uint32_t style = 0;    // WS_* (host/window_style.h)
    std::uint32_t exStyle = 0;  // WS_EX_*
    // For a child (WS_CHILD) the parent, whose client coordinates x and y are
    // in; otherwise the owner (or none), and x and y are screen coordinates.
    Window parent{};
    int x = 0;  // CW_USEDEFAULT lets the host choose (top-level windows)
    int y = 0;
    int width = 0;  // the whole window, frame included
    int height = 0;
    int id = 0;  // child id, reported by windowId
    WindowProc proc = nullptr;
    void* createParam = nullptr;
};

// The record a WM_PAINT handler gets from beginPaint and gives to endPaint.
struct PaintRecord {
    DeviceContext* dc = nullptr;  // owned by the host until endPaint
    bool erase = false;           // the background still needs erasing
    Rect paint;                   // what needs painting, client coordinates
};

enum class Cursor { arrow, cross, hand };
enum class StockIcon { application, hand, question, exclamation, asterisk };

// Tablet packet: the five fields the canvas reads.
//   x, y: 0 .. 65536 over the client area widened by 32 pixels on every side,
//         y pointing UP (0 at the bottom edge of that widened area);
//   normalPressure: 0 .. 1024;
//   buttons: bit 0 the tip touching, bits 1 and 2 the barrel buttons;
//   time: the host's millisecond clock.
struct TabletPacket {
    std::uint32_t time = 0;
    std::uint32_t buttons = 0;
    std::uint32_t x = 0;
    std::uint32_t y = 0;
    std::uint32_t normalPressure = 0;
};
inline constexpr int kTabletMargin = 32;
inline constexpr std::uint32_t kTabletExtent = 65536;
inline constexpr std::uint32_t kTabletPressureScale = 1024;

class Host : public ClipboardServices,
             public DialogServices,
             public PrintServices,
             public ShellServices {
  public:
    ~Host() override = default;

    // ---- Windows -------------------------------------------------------
    // Creates a window and sends it, in order: WM_NCCREATE (answer non-zero
    // to go on; defaultProc does), WM_CREATE (answer -1 to fail), WM_SIZE and
    // WM_MOVE; with WS_VISIBLE it is then shown. A failed creation destroys
    // the window again and answers kNoWindow.
    virtual Window createWindow(const CreateRequest& request) = 0;
    // Sends WM_DESTROY, then destroys the children (each the same way), then
    // sends WM_NCDESTROY; the handle is invalid afterwards. Owned popups are
    // destroyed first. Capture, focus and timers of the window end with it.
    virtual bool destroyWindow(Window window) = 0;
    virtual bool isWindow(Window window) const = 0;
    virtual Window parent(Window window) const = 0;  // none for top-level windows
    virtual Window owner(Window window) const = 0;   // the owner a popup was created with
    virtual std::vector<Window> children(Window window) const = 0;  // in creation order

    // The window's procedure and user-data slot. setWindowProc answers the
    // previous procedure.
    virtual WindowProc windowProc(Window window) const = 0;
    virtual WindowProc setWindowProc(Window window, WindowProc proc) = 0;
    virtual void* userData(Window window) const = 0;
    virtual void setUserData(Window window, void* data) = 0;
    virtual int windowId(Window window) const = 0;
    virtual void setWindowId(Window window, int id) = 0;
    virtual std::uint32_t windowStyle(Window window) const = 0;
    // Changes the frame and kind of a top-level window (caption, sizing
    // border...); the client size follows the new frame.
    virtual void setWindowStyle(Window window, std::uint32_t style) = 0;

    // The behaviour of a window nobody handles a message for: WM_CLOSE
    // destroys the window; WM_RBUTTONUP sends WM_CONTEXTMENU; WM_SETCURSOR
    // sets the arrow and answers 1; WM_ERASEBKGND answers 0 (no erasing);
    // WM_QUERYENDSESSION answers 1; everything else answers 0.
    virtual LResult defaultProc(Window window, std::uint32_t message, WParam wParam,
                                LParam lParam) = 0;

    virtual std::string windowText(Window window) const = 0;  // the title
    virtual void setWindowText(Window window, std::string_view text) = 0;
    // Client rectangle: (0, 0, client width, client height).
    virtual Rect clientRect(Window window) const = 0;
    // Window rectangle, frame included: screen coordinates for top-level
    // windows, the parent's client coordinates for children.
    virtual Rect windowRect(Window window) const = 0;
    // Moves and sizes (rectangle as in windowRect); sends WM_SIZE when the
    // client size changed and WM_MOVE when the position did; with `repaint`
    // the window is invalidated.
    virtual void moveWindow(Window window, const Rect& rect, bool repaint) = 0;
    // The frame a top-level window of `style` adds around a client rectangle
    // (with a menu bar when `withMenu`).
    virtual Rect adjustWindowRect(const Rect& client, std::uint32_t style, bool withMenu) const = 0;
    virtual Point clientToScreen(Window window, Point point) const = 0;
    virtual Point screenToClient(Window window, Point point) const = 0;

    // Show commands are SW_*; answers whether the window was visible before.
    virtual bool showWindow(Window window, int showCommand) = 0;
    virtual bool isVisible(Window window) const = 0;  // shown, and its parents too
    virtual bool isMinimised(Window window) const = 0;
    // Answers whether the window was disabled before; sends WM_ENABLE.
    virtual bool enableWindow(Window window, bool enable) = 0;
    virtual bool isEnabled(Window window) const = 0;
    virtual bool setForegroundWindow(Window window) = 0;
    virtual Window foregroundWindow() const = 0;
    // Moves the keyboard focus: WM_KILLFOCUS to the old, WM_SETFOCUS to the
    // new window (sent). Answers the window that had the focus.
    virtual Window setFocus(Window window) = 0;
    virtual Window focusWindow() const = 0;
    // While a window holds the capture it gets every mouse message.
    // Releasing or moving it sends WM_CAPTURECHANGED to the old holder.
    virtual Window setCapture(Window window) = 0;
    virtual void releaseCapture() = 0;
    virtual Window captureWindow() const = 0;
    // The icon shown in the title bar (small) and task switcher (large).
    virtual void setWindowIcon(Window window, Icon icon, bool small) = 0;
    virtual Icon windowIcon(Window window, bool small) const = 0;
    // The full rectangle (screen coordinates) of the screen that shows most
    // of the window; nothing when the host cannot tell.
    virtual std::optional<Rect> monitorRect(Window window) const = 0;
    // With `accept`, files dropped on the window arrive as WM_DROPFILES.
    virtual void acceptFiles(Window window, bool accept) = 0;
    // The files of one drop (full paths, in the order dropped) and the end
    // of the drop, after which its id means nothing.
    virtual std::vector<std::string> droppedFiles(WParam drop) const = 0;
    virtual void finishDrop(WParam drop) = 0;
    // With `on`, the window's client area is measured in the display's own
    // pixels rather than the toolkit's logical units: its client rectangle,
    // sizes, paint rectangles, mouse points and pen samples, so that one
    // pixel of a back buffer is one pixel of a high-density screen. The
    // window rectangle stays in its parent's (or the screen's) units.
    virtual void setDevicePixels(Window window, bool on) = 0;

    // ---- Painting and device contexts ----------------------------------
    // Marks all of the client area (rect null) or a rectangle of it as
    // needing paint; with `erase` the next beginPaint erases first. The paint
    // arrives later as a sent WM_PAINT (when the native toolkit asks for it;
    // in the headless host when the test paints).
    virtual void invalidate(Window window, const Rect* rect, bool erase) = 0;
    // Paints at once (sends WM_PAINT) when anything is invalid.
    virtual void updateWindow(Window window) = 0;
    // Inside WM_PAINT only: sends WM_ERASEBKGND when erasing is due (the
    // record's erase flag then tells whether the handler answered 0), and
    // hands out the paint record; endPaint validates the window and releases
    // the context.
    virtual PaintRecord beginPaint(Window window) = 0;
    virtual void endPaint(Window window, const PaintRecord& record) = 0;
    // A context for drawing on the window outside painting, and for reading
    // the display's properties (deviceCaps) when `window` is none.
    virtual std::unique_ptr<DeviceContext> getDC(Window window) = 0;
    // A context that draws into `pixels`, which must outlive it.
    virtual std::unique_ptr<DeviceContext> createMemoryContext(const PixelView& pixels) = 0;
    // A vector recording of what is drawn on it, in the units of `reference`,
    // to be put on the clipboard (clipboardSetPicture). `frame` is the
    // picture's size in 0.01 mm, or null to take the bounds of what is drawn.
    virtual std::unique_ptr<DeviceContext> createPicture(const DeviceContext& reference,
                                                         const Rect* frame,
                                                         std::string_view description) = 0;

    virtual Brush createSolidBrush(ColourRef colour) = 0;
    virtual void deleteBrush(Brush brush) = 0;
    // Weight 700 when bold, else 400; height in pixels (cell height). Answers
    // kNoFont when the face cannot be had.
    virtual Font createFont(std::string_view face, int height, bool italic, bool bold) = 0;
    virtual void deleteFont(Font font) = 0;
    virtual Icon stockIcon(StockIcon which) = 0;
    // The program's own icon (resource id 128); kNoIcon when there is none.
    virtual Icon programIcon() = 0;

    // ---- Messages and the queue ----------------------------------------
    // Queues a message; `window` none makes it a message for the loop itself.
    virtual bool postMessage(Window window, std::uint32_t message, WParam wParam,
                             LParam lParam) = 0;
    // Calls the window's procedure at once and answers its result; 0 for a
    // window that no longer exists.
    virtual LResult sendMessage(Window window, std::uint32_t message, WParam wParam,
                                LParam lParam) = 0;
    // Looks for a queued message of `window` (none: any) whose number is in
    // [first, last] (both 0: any number), after letting the native toolkit
    // turn its pending events into messages, without waiting. With `remove`
    // the message is taken out of the queue.
    virtual bool peekMessage(Message& message, Window window, std::uint32_t first,
                             std::uint32_t last, bool remove) = 0;
    // Waits for the next message (pumping native events meanwhile, which may
    // send paint and size messages) and takes it. Answers false for WM_QUIT.
    virtual bool getMessage(Message& message) = 0;
    virtual void postQuitMessage(int exitCode) = 0;
    // Queues WM_CHAR (WM_SYSCHAR) for a WM_KEYDOWN (WM_SYSKEYDOWN) that
    // produces a character; answers whether it did.
    virtual bool translateMessage(const Message& message) = 0;
    // Calls the message's window procedure; answers its result.
    virtual LResult dispatchMessage(const Message& message) = 0;

    // ---- Timers and clocks ---------------------------------------------
    // WM_TIMER with `id` every `periodMs` milliseconds to `window`; setting
    // an id again restarts it with the new period.
    virtual bool setTimer(Window window, std::uintptr_t id, std::uint32_t periodMs) = 0;
    virtual bool killTimer(Window window, std::uintptr_t id) = 0;
    // Processor time of this process in milliseconds (the frame time).
    virtual std::int64_t processMilliseconds() const = 0;
    // Milliseconds since the host was made, from a steady clock.
    virtual std::int64_t millisecondsSinceStart() const = 0;
    // Wall time: seconds since 1970-01-01 00:00 UTC, milliseconds in the
    // fraction.
    virtual double wallTime() const = 0;
    // Waits (processing nothing); the programmatic button click uses it.
    virtual void sleep(std::uint32_t milliseconds) = 0;

    // ---- Input state ---------------------------------------------------
    // Whether a key (VK_SHIFT, VK_CONTROL, VK_MENU, a mouse button...) is
    // down as of the message being handled.
    virtual bool isKeyDown(int virtualKey) const = 0;
    virtual Point cursorPos() const = 0;  // screen coordinates
    virtual void setCursorPos(Point screen) = 0;
    virtual void setCursor(Cursor cursor) = 0;
    // Whether the mouse message being handled was made by the system from a
    // touch of the screen (a finger or a palm) rather than by a mouse or pen.
    virtual bool mouseFromTouch() const = 0;
    // Whether a tablet's pen is near the screen now, or left it less than
    // `milliseconds` ago.
    virtual bool penNearWithin(std::int64_t milliseconds) const = 0;

    // ---- Menus ---------------------------------------------------------
    virtual Menu createMenu(bool popup) = 0;
    virtual void destroyMenu(Menu menu) = 0;  // and its sub-menus
    // Appends an item; MF_POPUP items take `subMenu` (then owned by `menu`),
    // MF_SEPARATOR items take nothing.
    virtual bool appendMenu(Menu menu, std::uint32_t flags, std::uint32_t id, std::string_view text,
                            Menu subMenu) = 0;
    virtual int menuItemCount(Menu menu) const = 0;  // -1 for an invalid menu
    virtual std::optional<MenuItem> menuItem(Menu menu, int position) const = 0;
    virtual bool setMenuItemText(Menu menu, int position, std::string_view text) = 0;
    virtual bool setMenuItemChecked(Menu menu, int position, bool checked) = 0;
    virtual bool setMenuItemEnabled(Menu menu, int position, bool enabled) = 0;
    // The menu bar of a top-level window (kNoMenu removes it; the caller
    // keeps owning a removed menu). WM_INITMENU and then WM_INITMENUPOPUP are
    // sent to the window before a popup of the bar shows.
    virtual bool setWindowMenu(Window window, Menu menu) = 0;
    virtual Menu windowMenu(Window window) const = 0;
    // Shows `menu` at a screen point, after sending WM_INITMENUPOPUP to
    // `owner`, and runs it until it closes. With TPM_RETURNCMD answers the
    // chosen id (0 for none); otherwise queues WM_COMMAND to the owner and
    // answers whether an item was chosen.
    virtual int trackPopupMenu(Menu menu, std::uint32_t flags, Point screen, Window owner) = 0;

    // ---- Tablet --------------------------------------------------------
    // Opens a tablet context for the window: pen samples over it arrive as
    // WT_PACKET messages. Opening succeeds when no tablet is attached (no
    // packets come); kNoTablet only when the host cannot take tablet input.
    virtual TabletContext openTablet(Window window) = 0;
    virtual void closeTablet(TabletContext context) = 0;
    // The packet of a WT_PACKET message's serial number; false when it is no
    // longer known (the host keeps the newest packets only).
    virtual bool tabletPacket(TabletContext context, WParam serial, TabletPacket& packet) = 0;
    virtual void enableTablet(TabletContext context, bool enable) = 0;
};

// The process's one host. The program (or the test) sets it before anything
// else runs and keeps the object alive; instance() is not valid before.
Host& instance();
void setInstance(Host* host);
bool hasInstance();

}  // namespace host
