#pragma once
// ktWnd: the framework's window. One object owns one host window, receives
// that window's messages through virtual handlers, and adds an optional
// back buffer (flicker-free painting), a full-screen switch and the
// menu-state update in which each window decides how its commands look.
//
// Sections: the command-state record; ktWnd (fields, virtual handlers in
// their fixed order, the services); windows that own themselves.
//
// Every failure thrown while a message is handled is caught by the one
// message procedure, reported with a trace of the message, and the message
// answers -1; the window lives on.

#include <cstdint>
#include <memory>
#include <vector>

#include "framework/platform/bitmap.h"
#include "framework/text/string.h"
#include "host/host.h"

namespace penwick {

// What a window says about one menu command (sent with WM_UPDATE_COMMAND).
struct CommandState {
    static constexpr std::uint32_t kChecked = 1;
    static constexpr std::uint32_t kEnabled = 4;
    static constexpr std::uint32_t kTextChanged = 8;

    std::uint32_t id = 0;
    std::uint32_t flags = kEnabled;
    ktString text;

    bool checked() const { return flags & kChecked; }
    bool enabled() const { return flags & kEnabled; }
    void setChecked(bool on) { flags = on ? flags | kChecked : flags & ~kChecked; }
    void setEnabled(bool on) { flags = on ? flags | kEnabled : flags & ~kEnabled; }
    void setText(std::string_view newText) {
        text = ktString(newText);
        flags |= kTextChanged;
    }
};

// The notification record WM_NOTIFY carries in lParam.
struct NotifyHeader {
    host::Window from{};
    std::uintptr_t id = 0;
    std::uint32_t code = 0;
};

// The platform's behaviour for a message nobody handles (Host::defaultProc).
host::LResult systemDefaultProc(host::Window window, std::uint32_t message, host::WParam wParam,
                                host::LParam lParam);

// The name every framework window class is registered under.
inline constexpr const char* kWindowClassName = "ktWnd";

class ktWnd {
  public:
    ktWnd() = default;
    ktWnd(const ktWnd&) = delete;
    ktWnd& operator=(const ktWnd&) = delete;

    // ---- Virtual handlers, in their fixed order ------------------------
    // Two spare slots for derived frameworks; the base does nothing.
    virtual void onHook(void* argument);
    virtual int onHookResult(void* argument);
    // Destroys the window (without calling back into this object) and
    // releases the back buffer.
    virtual ~ktWnd();
    virtual bool isFullScreen() const { return savedStyle_ != 0; }
    // Answers whether anything changed.
    virtual bool setFullScreen(bool on);
    // The paint record arrives by value; with a back buffer its context is
    // the buffer's and the whole buffer reaches the window afterwards.
    virtual void onPaint(host::PaintRecord paint);
    virtual host::LResult windowProc(std::uint32_t message, host::WParam wParam,
                                     host::LParam lParam);
    virtual void onSize(int width, int height, int sizeType);
    // False makes creation fail.
    virtual bool onCreate();
    virtual void onDestroy();
    virtual void onClose();
    virtual void onKeyDown(int key, bool isRepeat);
    virtual void onKeyUp(int key);
    virtual void onChar(int code);
    // Reports the failure with the message trace (the user may continue).
    // `text` is null when what was thrown carried none.
    virtual void onException(std::uint32_t message, host::WParam wParam, host::LParam lParam,
                             const char* text);
    // Registers the framework class when needed and answers its name.
    virtual const char* className();
    virtual void onInitMenu(host::Menu menu);
    virtual void onInitMenuPopup(host::Menu menu);
    // Answer non-zero when handled; unhandled commands climb to the parent.
    virtual int onCommand(int id);
    virtual int onUpdateCommand(CommandState& state);
    virtual int onFrameworkMessage2(host::LParam lParam);
    virtual int onControlCommand(host::Window control, int id, int code);
    virtual host::LResult onNotify(const NotifyHeader& header);
    virtual int onEraseBackground(host::DeviceContext* dc);
    virtual int onSysKeyDown(int key, bool contextBit);

    // ---- Creation and attaching ----------------------------------------
    // A null class name means className(). `parent` is the parent of a
    // WS_CHILD window, else its owner. Fails (false, no handle) when this
    // object already has a live window, the class is unknown, the host
    // refuses, or onCreate() answers false.
    bool create(const char* windowClass, std::string_view title, std::uint32_t style,
                std::uint32_t exStyle, host::Window parent, int x, int y, int width, int height,
                int id);
    // Routes an existing window's messages to this object; the window's own
    // procedure becomes defaultProc().
    void attach(host::Window window);
    void detach();

    // ---- Services ------------------------------------------------------
    host::Window handle() const { return handle_; }
    bool isValid() const;
    void destroy();
    void invalidate();
    void invalidate(const host::Rect& rect, bool erase);
    host::LResult send(std::uint32_t message, host::WParam wParam = 0, host::LParam lParam = 0);
    bool post(std::uint32_t message, host::WParam wParam = 0, host::LParam lParam = 0);
    // The procedure the window had before it was attached; 0 without one.
    host::LResult defaultProc(std::uint32_t message, host::WParam wParam, host::LParam lParam);
    void moveTo(const host::Rect& rect);
    ktString getText() const;
    void setText(std::string_view text);
    // 1 when this window has the keyboard focus, 2 when its child has it,
    // and so on; 0 when the focus is outside.
    int focusDepth() const;
    // With a back buffer, its context (releasing it does nothing); else a
    // context for the window that releaseDC gives back.
    host::DeviceContext* getDC();
    void releaseDC(host::DeviceContext* dc);
    // On: a new buffer of the client size, 8 bits per pixel with the grey
    // table when `lowColour`, else 32. Off: none.
    void setBackBuffer(bool on, bool lowColour = false);
    ktBitmap* backBuffer() { return backBuffer_.get(); }
    // Sends WM_UPDATE_COMMAND for each command item of `menu` and applies
    // the answers (text, check mark, enabled state); sub-menus too with
    // `recurse`.
    void updateMenu(host::Menu menu, bool recurse);

    host::Window owner() const { return owner_; }
    void setOwner(host::Window owner) { owner_ = owner; }
    bool autoDelete() const { return autoDelete_; }

    // The object attached to a window, or null.
    static ktWnd* fromHandle(host::Window window);

    // ---- Windows that own themselves -----------------------------------
    // Makes a window object that deletes itself when its window is finally
    // destroyed (the framework keeps it until then). Call discard() on it
    // when its window was never made.
    template <typename T, typename... Args>
    static T* makeSelfOwned(Args&&... args) {
        auto object = std::make_unique<T>(std::forward<Args>(args)...);
        T* raw = object.get();
        adoptSelfOwned(std::move(object));
        return raw;
    }
    // Drops a self-owned object whose window does not exist.
    static void discard(ktWnd* object);

  protected:
    // The one procedure of every attached window.
    static host::LResult messageProc(host::Window window, std::uint32_t message,
                                     host::WParam wParam, host::LParam lParam);
    void resizeBackBuffer();

  private:
    static void adoptSelfOwned(std::unique_ptr<ktWnd> object);
    static host::LResult bootstrapProc(host::Window window, std::uint32_t message,
                                       host::WParam wParam, host::LParam lParam);
    void paintMessage();
    host::LResult commandMessage(host::WParam wParam, host::LParam lParam);
    void finalDestroy();

    host::Window owner_{};
    host::Rect restoreRect_;
    std::uint32_t savedStyle_ = 0;
    host::Menu savedMenu_{};
    host::Window handle_{};
    host::WindowProc previousProc_ = systemDefaultProc;
    std::shared_ptr<ktBitmap> backBuffer_;
    bool autoDelete_ = false;
    // Contexts handed out by getDC when there is no back buffer.
    std::vector<std::unique_ptr<host::DeviceContext>> windowDCs_;
};

// The framework window classes known by name ("ktWnd"), with the procedure
// a window of that class starts with.
host::WindowProc windowClassProc(std::string_view name);
void registerWindowClass(std::string_view name, host::WindowProc proc);

}  // namespace penwick
