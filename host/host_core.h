#pragma once
// The host core: everything a host does that is the same whatever shows the
// windows, in one concrete, toolkit-free class. It keeps the window records
// and their creation and destruction order, focus, capture, activation and
// enabling with their messages, the default window behaviour, the message
// queue with its input state and the characters keys make, timers, moving and
// sizing windows with the mouse, menus, and the handles of brushes, fonts,
// drops and tablet contexts.
//
// Under it a backend supplies the native side through the protected
// operations below (a surface per window, its geometry and visibility, the
// mouse grab and native focus, painting, pumping native events, the clocks
// and native timers) and the services of host/services.h. host/qt/ is the
// backend on Qt 6's widgets, host/headless/ the deterministic one the tests
// drive; both run every rule here, so a test that passes on one says
// something about the other.

#include <cstdint>
#include <deque>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "host/frame_drag.h"
#include "host/host.h"
#include "host/input_state.h"
#include "host/menu_store.h"
#include "host/message_queue.h"
#include "host/tablet_contexts.h"
#include "host/window_table.h"

namespace host {

// getMessage's exit code when a backend says no message can come any more
// (the headless host with nothing left to run).
inline constexpr int kStarvedExitCode = -2;

// What a backend keeps of a window: widgets, or a rectangle and a draw log.
struct NativeWindow {
    virtual ~NativeWindow() = default;
};

// A window as the core keeps it.
struct CoreWindow : WindowBasics {
    std::string title;
    Point lastOrigin{-100000, -100000};   // as the last WM_MOVE reported it
    WParam lastSizeType = SIZE_RESTORED;  // as the last WM_SIZE reported it
    bool devicePixels = false;            // the client area in the display's own pixels
    std::unique_ptr<NativeWindow> native;
};

// The font a handle stands for.
struct FontInfo {
    std::string face;
    int height = 0;
    bool italic = false;
    bool bold = false;
};

class HostCore : public Host {
  public:
    ~HostCore() override;

    // ---- Windows -------------------------------------------------------
    Window createWindow(const CreateRequest& request) final;
    bool destroyWindow(Window window) final;
    bool isWindow(Window window) const final;
    Window parent(Window window) const final;
    Window owner(Window window) const final;
    std::vector<Window> children(Window window) const final;
    WindowProc windowProc(Window window) const final;
    WindowProc setWindowProc(Window window, WindowProc proc) final;
    void* userData(Window window) const final;
    void setUserData(Window window, void* data) final;
    int windowId(Window window) const final;
    void setWindowId(Window window, int id) final;
    std::uint32_t windowStyle(Window window) const final;
    void setWindowStyle(Window window, std::uint32_t style) final;
    LResult defaultProc(Window window, std::uint32_t message, WParam wParam, LParam lParam) final;
    std::string windowText(Window window) const final;
    void setWindowText(Window window, std::string_view text) final;
    Rect clientRect(Window window) const final;
    Rect windowRect(Window window) const final;
    void moveWindow(Window window, const Rect& rect, bool repaint) final;
    bool showWindow(Window window, int showCommand) final;
    bool isVisible(Window window) const final;
    bool isMinimised(Window window) const final;
    bool enableWindow(Window window, bool enable) final;
    bool isEnabled(Window window) const final;
    bool setForegroundWindow(Window window) final;
    Window foregroundWindow() const final { return foreground_; }
    Window setFocus(Window window) final;
    Window focusWindow() const final { return focus_; }
    Window setCapture(Window window) final;
    void releaseCapture() final;
    Window captureWindow() const final { return capture_; }
    void setWindowIcon(Window window, Icon icon, bool small) final;
    Icon windowIcon(Window window, bool small) const final;
    void acceptFiles(Window window, bool accept) final;
    std::vector<std::string> droppedFiles(WParam drop) const final;
    void finishDrop(WParam drop) final;
    void setDevicePixels(Window window, bool on) final;

    // ---- Objects -------------------------------------------------------
    Brush createSolidBrush(ColourRef colour) final;
    void deleteBrush(Brush brush) final;
    Font createFont(std::string_view face, int height, bool italic, bool bold) final;
    void deleteFont(Font font) final;
    // The colour of a brush and what a font stands for; none for an unknown
    // handle.
    std::optional<ColourRef> brushColour(Brush brush) const;
    std::optional<FontInfo> fontInfo(Font font) const;

    // ---- Messages and the queue ----------------------------------------
    bool postMessage(Window window, std::uint32_t message, WParam wParam, LParam lParam) final;
    LResult sendMessage(Window window, std::uint32_t message, WParam wParam, LParam lParam) final;
    bool peekMessage(Message& message, Window window, std::uint32_t first, std::uint32_t last,
                     bool remove) final;
    bool getMessage(Message& message) final;
    void postQuitMessage(int exitCode) final;
    bool translateMessage(const Message& message) final;
    LResult dispatchMessage(const Message& message) final;
    std::size_t queuedMessages() const { return queue_.size(); }

    // ---- Timers and input state ----------------------------------------
    bool setTimer(Window window, std::uintptr_t id, std::uint32_t periodMs) final;
    bool killTimer(Window window, std::uintptr_t id) final;
    bool isKeyDown(int virtualKey) const final { return keys_.isDown(virtualKey); }
    bool mouseFromTouch() const final { return fromTouch_; }
    bool penNearWithin(std::int64_t milliseconds) const final;

    // ---- Menus ---------------------------------------------------------
    Menu createMenu(bool popup) final;
    void destroyMenu(Menu menu) final;
    bool appendMenu(Menu menu, std::uint32_t flags, std::uint32_t id, std::string_view text,
                    Menu subMenu) final;
    int menuItemCount(Menu menu) const final;
    std::optional<MenuItem> menuItem(Menu menu, int position) const final;
    bool setMenuItemText(Menu menu, int position, std::string_view text) final;
    bool setMenuItemChecked(Menu menu, int position, bool checked) final;
    bool setMenuItemEnabled(Menu menu, int position, bool enabled) final;
    bool setWindowMenu(Window window, Menu menu) final;
    Menu windowMenu(Window window) const final;
    int trackPopupMenu(Menu menu, std::uint32_t flags, Point screen, Window owner) final;

    // ---- Tablet --------------------------------------------------------
    TabletContext openTablet(Window window) final;
    void closeTablet(TabletContext context) final;
    bool tabletPacket(TabletContext context, WParam serial, TabletPacket& packet) final;
    void enableTablet(TabletContext context, bool enable) final;

  protected:
    HostCore();

    // ---- The backend's side --------------------------------------------
    // A window's native surface: made with the rectangle the request asks
    // for (host::requestedWindowRect) before the window's first message, and
    // destroyed after its last (WM_NCDESTROY). The backend keeps what it
    // needs in `window.native`.
    virtual void createSurface(CoreWindow& window, const CreateRequest& request) = 0;
    virtual void destroySurface(CoreWindow& window) = 0;
    // The style (frame, caption, buttons), title, menu bar (attached,
    // removed, or its items changed), enabled state, icons and file drops
    // of the window changed.
    virtual void surfaceStyleChanged(CoreWindow& window) = 0;
    virtual void surfaceTitleChanged(CoreWindow& window) = 0;
    virtual void surfaceMenuChanged(CoreWindow& window) = 0;
    virtual void surfaceEnabledChanged(CoreWindow& window) = 0;
    virtual void surfaceIconChanged(CoreWindow& window) = 0;
    virtual void surfaceDropsChanged(CoreWindow& window) = 0;
    // The client area's units changed (devicePixels); a host whose screens
    // have one pixel per unit has nothing to do.
    virtual void surfaceUnitsChanged(CoreWindow&) {}
    // Geometry: the window rectangle (frame included; screen coordinates, or
    // the parent's client coordinates for children), the client size, and
    // the client area's origin in the same coordinates as the rectangle.
    virtual void setSurfaceGeometry(CoreWindow& window, const Rect& rect) = 0;
    virtual Rect surfaceRect(const CoreWindow& window) const = 0;
    virtual Point surfaceClientSize(const CoreWindow& window) const = 0;
    virtual Point surfaceClientOrigin(const CoreWindow& window) const = 0;
    // Showing: SW_* commands; whether the surface itself is shown (its
    // parents aside), minimised, maximised.
    virtual void showSurface(CoreWindow& window, int showCommand) = 0;
    virtual bool surfaceShown(const CoreWindow& window) const = 0;
    virtual bool surfaceMinimised(const CoreWindow& window) const = 0;
    virtual bool surfaceMaximised(const CoreWindow& window) const = 0;
    // The mouse grab of capture, the native keyboard focus, raising and
    // activating a top-level window.
    virtual void grabMouse(CoreWindow& window, bool grab) = 0;
    virtual void nativeFocus(CoreWindow& window) = 0;
    virtual void raiseSurface(CoreWindow& window) = 0;
    // Turns pending native events into messages, waiting for some with
    // `wait`; false when no message can come any more.
    virtual bool pumpNativeEvents(bool wait) = 0;
    // A native timer that calls timerFired(id) every `periodMs`; 0 when
    // none can be made.
    virtual int startNativeTimer(std::uint32_t periodMs) = 0;
    virtual void stopNativeTimer(int id) = 0;
    // Shows a popup menu (WM_INITMENUPOPUP has been sent) until it closes;
    // answers the chosen command id, 0 for none.
    virtual int runPopupMenu(Menu menu, Point screen, Window owner) = 0;
    // Whether a font of this face can be had.
    virtual bool fontAvailable(std::string_view face) const;

    // ---- For the backend -----------------------------------------------
    CoreWindow* find(Window window) { return windows_.find(window); }
    const CoreWindow* find(Window window) const { return windows_.find(window); }
    const WindowTable<CoreWindow>& windows() const { return windows_; }
    const MenuStore& menus() const { return menus_; }
    // Queues a message with the keys and buttons held at that moment (none
    // for a message the program posts) and the cursor's screen position.
    void postInput(Window window, std::uint32_t message, WParam wParam, LParam lParam,
                   const InputState& state, Point cursor);
    // The character a key-down makes, as the window system said; the next
    // translateMessage of that key queues it.
    void rememberKeyCharacter(Window window, int virtualKey, int character);
    // Keeps dropped files for a WM_DROPFILES; answers the drop's id.
    WParam addDrop(std::vector<std::string> files);
    // A pen sample for an enabled tablet context: kept under a new serial
    // number and posted to the context's window as WT_PACKET. Answers the
    // serial; 0 (nothing posted) for an unknown or disabled context.
    WParam postTabletPacket(TabletContext context, const TabletPacket& packet,
                            const InputState& state, Point cursor);
    TabletContext enabledTablet(Window window) const { return tablets_.enabledFor(window); }
    // The pen came near the screen (entering proximity, or any of its
    // samples) or left it.
    void penProximity(bool near);
    Window tabletWindow(TabletContext context) const { return tablets_.window(context); }
    // The window system moved the focus or (de)activated a top-level window.
    void focusArrived(Window window);
    void activationChanged(Window window, bool active);
    void timerFired(int nativeId);
    // Sends WM_SIZE when the client size or the kind of size (minimised,
    // maximised) changed since the last one, or always with `force`; WM_MOVE
    // when the client origin moved.
    void sendSizeIfChanged(CoreWindow& window, bool force);
    void sendMoveIfChanged(CoreWindow& window, bool force);
    // Whether the user's mouse, keys and pen reach the window: it and its
    // parents are enabled (owned windows are not disabled with their owner).
    bool takesInput(Window window) const;
    std::uintptr_t newObjectHandle() { return nextObject_++; }
    // Lets go of every window's native part, for a backend going away
    // before the core.
    void dropSurfaces();

  private:
    struct Timer {
        int nativeId = 0;
        bool pending = false;
    };
    struct KeyCharacter {
        Window window{};
        int virtualKey = 0;
        int character = 0;
    };
    void destroyTree(Window window);
    void forgetTimersOf(Window window);
    void menuChanged(Menu menu);
    bool take(Message& message, Window window, std::uint32_t first, std::uint32_t last,
              bool remove);

    WindowTable<CoreWindow> windows_;
    FrameDrag frameDrag_;
    MessageQueue<InputState> queue_;
    KeyTable keys_;
    bool fromTouch_ = false;     // of the input message being handled
    bool penNear_ = false;       // in proximity
    std::int64_t penLeft_ = -1;  // when it last left, in millisecondsSinceStart; -1 never
    std::deque<KeyCharacter> keyCharacters_;
    std::map<std::pair<std::uintptr_t, std::uintptr_t>, Timer> timers_;   // (window, id)
    std::map<int, std::pair<std::uintptr_t, std::uintptr_t>> timerKeys_;  // native id -> key
    Window focus_{};
    Window capture_{};
    Window foreground_{};

    MenuStore menus_;
    std::map<std::uintptr_t, ColourRef> brushes_;
    std::map<std::uintptr_t, FontInfo> fonts_;
    std::map<WParam, std::vector<std::string>> drops_;
    WParam nextDrop_ = 1;
    TabletContexts tablets_;
    std::uintptr_t nextObject_ = 0x1000;
};

}  // namespace host
