// ktWnd: class registration, creation and attaching, the message procedure
// and the base dispatch. The services (back buffer, full screen, menu
// update, focus and contexts) are in window_services.cpp.
#include "framework/window/window.h"

#include <map>
#include <string>
#include <utility>

#include "framework/error/error_report.h"
#include "framework/text/failure.h"
#include "host/messages.h"

namespace penwick {

namespace {

std::map<std::string, host::WindowProc, std::less<>>& windowClasses() {
    static std::map<std::string, host::WindowProc, std::less<>> classes;
    return classes;
}

// Objects that delete themselves with their window, kept here until then.
std::map<ktWnd*, std::unique_ptr<ktWnd>>& selfOwned() {
    static std::map<ktWnd*, std::unique_ptr<ktWnd>> objects;
    return objects;
}

// Set while create() runs, so that a window destroyed during its own failed
// creation does not take a self-owned object with it before the caller
// could discard it.
ktWnd* objectBeingCreated = nullptr;

}  // namespace

host::LResult systemDefaultProc(host::Window window, std::uint32_t message, host::WParam wParam,
                                host::LParam lParam) {
    return host::instance().defaultProc(window, message, wParam, lParam);
}

host::WindowProc windowClassProc(std::string_view name) {
    auto it = windowClasses().find(name);
    return it == windowClasses().end() ? nullptr : it->second;
}

void registerWindowClass(std::string_view name, host::WindowProc proc) {
    windowClasses()[std::string(name)] = proc;
}

// ---- Self-owned objects -----------------------------------------------------

void ktWnd::adoptSelfOwned(std::unique_ptr<ktWnd> object) {
    object->autoDelete_ = true;
    ktWnd* key = object.get();
    selfOwned()[key] = std::move(object);
}

void ktWnd::discard(ktWnd* object) {
    auto node = selfOwned().extract(object);
    // The node's object is deleted here, when `node` goes.
}

ktWnd* ktWnd::fromHandle(host::Window window) {
    host::Host& h = host::instance();
    return h.isWindow(window) ? static_cast<ktWnd*>(h.userData(window)) : nullptr;
}

// ---- Virtual handlers: base behaviour ----------------------------------------

void ktWnd::onHook(void*) {}
int ktWnd::onHookResult(void*) {
    return 0;
}

ktWnd::~ktWnd() {
    if (handle_ != host::kNoWindow && host::hasInstance() && host::instance().isWindow(handle_)) {
        // The object is half gone: the window's last messages go to the
        // procedure it had before, not to this object.
        host::Window window = handle_;
        detach();
        host::instance().destroyWindow(window);
    }
    windowDCs_.clear();
    backBuffer_.reset();
}

void ktWnd::onPaint(host::PaintRecord) {}
void ktWnd::onSize(int, int, int) {}
bool ktWnd::onCreate() {
    return true;
}
void ktWnd::onDestroy() {}
void ktWnd::onClose() {
    destroy();
}
void ktWnd::onKeyDown(int, bool) {}
void ktWnd::onKeyUp(int) {}
void ktWnd::onChar(int) {}

void ktWnd::onException(std::uint32_t message, host::WParam wParam, host::LParam lParam,
                        const char* text) {
    ktString trace = messageTrace(text, message, wParam, lParam);
    reportError(trace.c_str(), isValid() ? handle_ : host::kNoWindow, true);
}

const char* ktWnd::className() {
    static const bool registered = [] {
        registerWindowClass(kWindowClassName, bootstrapProc);
        return true;
    }();
    (void)registered;
    return kWindowClassName;
}

void ktWnd::onInitMenu(host::Menu) {}
void ktWnd::onInitMenuPopup(host::Menu menu) {
    updateMenu(menu, false);
}
int ktWnd::onCommand(int) {
    return 0;
}
int ktWnd::onUpdateCommand(CommandState&) {
    return 0;
}
int ktWnd::onFrameworkMessage2(host::LParam) {
    return 0;
}
int ktWnd::onControlCommand(host::Window, int, int) {
    return 0;
}

host::LResult ktWnd::onNotify(const NotifyHeader& header) {
    host::Window parent = host::instance().parent(handle_);
    if (parent != host::kNoWindow)
        return host::instance().sendMessage(parent, host::WM_NOTIFY, 0, host::LParam(&header));
    return onControlCommand(header.from, int(header.id), int(header.code));
}

int ktWnd::onEraseBackground(host::DeviceContext*) {
    return 0;
}
int ktWnd::onSysKeyDown(int, bool) {
    return 0;
}

// ---- Creation and attaching -------------------------------------------------

bool ktWnd::create(const char* windowClass, std::string_view title, std::uint32_t style,
                   std::uint32_t exStyle, host::Window parent, int x, int y, int width, int height,
                   int id) {
    host::Host& h = host::instance();
    if (handle_ != host::kNoWindow) {
        if (h.isWindow(handle_)) return false;
        handle_ = host::kNoWindow;  // stale
    }
    host::WindowProc proc = windowClassProc(windowClass ? windowClass : className());
    if (!proc) return false;

    host::CreateRequest request;
    request.title = std::string(title);
    request.style = style;
    request.exStyle = exStyle;
    request.parent = parent;
    request.x = x;
    request.y = y;
    request.width = width;
    request.height = height;
    request.id = id;
    request.proc = proc;
    request.createParam = this;

    ktWnd* outer = std::exchange(objectBeingCreated, this);
    host::Window window = h.createWindow(request);
    bool ok = window != host::kNoWindow;
    if (ok) {
        h.setWindowId(window, id);
        attach(window);
        if (!onCreate()) {
            destroy();
            ok = false;
        }
    }
    objectBeingCreated = outer;
    if (!ok) handle_ = host::kNoWindow;
    return ok;
}

host::LResult ktWnd::bootstrapProc(host::Window window, std::uint32_t message, host::WParam wParam,
                                   host::LParam lParam) {
    host::Host& h = host::instance();
    if (message == host::WM_NCCREATE && h.userData(window) == nullptr && lParam != 0) {
        auto* request = reinterpret_cast<const host::CreateRequest*>(lParam);
        if (auto* object = static_cast<ktWnd*>(request->createParam)) {
            object->attach(window);
            return messageProc(window, message, wParam, lParam);
        }
    }
    return h.defaultProc(window, message, wParam, lParam);
}

void ktWnd::attach(host::Window window) {
    host::Host& h = host::instance();
    if (!h.isWindow(window)) return;
    if (handle_ == window && h.userData(window) == this) return;
    if (handle_ != host::kNoWindow && handle_ != window && h.isWindow(handle_)) {
        h.setWindowProc(handle_, previousProc_);
        h.setUserData(handle_, nullptr);
    }
    previousProc_ = h.windowProc(window);
    h.setUserData(window, this);
    h.setWindowProc(window, messageProc);
    handle_ = window;
}

void ktWnd::detach() {
    host::Host& h = host::instance();
    if (handle_ != host::kNoWindow && h.isWindow(handle_) && h.userData(handle_) == this) {
        h.setWindowProc(handle_, previousProc_);
        h.setUserData(handle_, nullptr);
    }
    handle_ = host::kNoWindow;
    previousProc_ = systemDefaultProc;
}

void ktWnd::destroy() {
    host::Window window = handle_;
    if (window == host::kNoWindow) return;
    // A self-owned object is gone once its window is; only others are touched.
    bool mayBeGone = autoDelete_ && objectBeingCreated != this;
    host::instance().destroyWindow(window);
    if (!mayBeGone) handle_ = host::kNoWindow;
}

// ---- The message procedure and the dispatch ---------------------------------

host::LResult ktWnd::messageProc(host::Window window, std::uint32_t message, host::WParam wParam,
                                 host::LParam lParam) {
    ktWnd* object = fromHandle(window);
    if (!object) return host::instance().defaultProc(window, message, wParam, lParam);
    object->handle_ = window;
    try {
        return object->windowProc(message, wParam, lParam);
    } catch (const ktFailure& failure) {
        object->onException(message, wParam, lParam, failure.text());
    } catch (...) {
        object->onException(message, wParam, lParam, nullptr);
    }
    return -1;
}

host::LResult ktWnd::windowProc(std::uint32_t message, host::WParam wParam, host::LParam lParam) {
    using namespace host;
    switch (message) {
        case WM_DESTROY:
            onDestroy();
            return 0;
        case WM_SIZE:
            if (backBuffer_) resizeBackBuffer();
            onSize(int(lowWord(std::uintptr_t(lParam))), int(highWord(std::uintptr_t(lParam))),
                   int(wParam));
            return 0;
        case WM_PAINT:
            paintMessage();
            return 0;
        case WM_CLOSE:
            onClose();
            return 0;
        case WM_ERASEBKGND:
            return backBuffer_ ? 1 : onEraseBackground(reinterpret_cast<DeviceContext*>(wParam));
        case WM_NOTIFY:
            return onNotify(*reinterpret_cast<const NotifyHeader*>(lParam));
        case WM_NCDESTROY:
            finalDestroy();
            return 0;
        case WM_KEYDOWN:
            onKeyDown(int(wParam), (lParam & kKeyPreviouslyDown) != 0);
            return 0;
        case WM_KEYUP:
            onKeyUp(int(wParam));
            return 0;
        case WM_CHAR:
            onChar(int(wParam));
            return 0;
        case WM_SYSKEYDOWN:
            if (onSysKeyDown(int(wParam), (lParam & kKeyPreviouslyDown) != 0) == 0)
                return defaultProc(message, wParam, lParam);
            return 0;
        case WM_COMMAND:
            return commandMessage(wParam, lParam);
        case WM_INITMENU:
            onInitMenu(Menu(wParam));
            return 0;
        case WM_INITMENUPOPUP:
            onInitMenuPopup(Menu(wParam));
            return 0;
        case WM_UPDATE_COMMAND:
        case WM_FRAMEWORK_2: {
            int handled = message == WM_UPDATE_COMMAND
                              ? onUpdateCommand(*reinterpret_cast<CommandState*>(lParam))
                              : onFrameworkMessage2(lParam);
            if (handled) return 0;
            Window parent = instance().parent(handle_);
            return parent != kNoWindow ? instance().sendMessage(parent, message, wParam, lParam)
                                       : 0;
        }
        default:
            return defaultProc(message, wParam, lParam);
    }
}

host::LResult ktWnd::commandMessage(host::WParam wParam, host::LParam lParam) {
    int handled = 0;
    if (wParam > 0xFFFF && lParam != 0)
        handled = onControlCommand(host::Window(lParam), int(host::lowWord(wParam)),
                                   int(host::highWord(wParam)));
    else
        handled = onCommand(int(host::lowWord(wParam)));
    if (handled) return 0;
    host::Window parent = host::instance().parent(handle_);
    if (parent != host::kNoWindow)
        return host::instance().sendMessage(parent, host::WM_COMMAND, wParam, lParam);
    return defaultProc(host::WM_COMMAND, wParam, lParam);
}

void ktWnd::paintMessage() {
    host::Host& h = host::instance();
    host::Window window = handle_;
    host::PaintRecord record = h.beginPaint(window);
    // Painting ends even when a handler throws.
    struct EndPaint {
        host::Host& h;
        host::Window window;
        const host::PaintRecord& record;
        ~EndPaint() { h.endPaint(window, record); }
    } end{h, window, record};
    if (!backBuffer_) {
        onPaint(record);
        return;
    }
    if (!record.dc) return;  // nothing to copy the buffer to
    resizeBackBuffer();
    if (!backBuffer_->dc()) return;
    std::shared_ptr<ktBitmap> buffer = backBuffer_;
    host::PaintRecord inner = record;
    inner.dc = buffer->dc();
    onPaint(inner);
    record.dc->drawPixels(0, 0, buffer->view());
}

void ktWnd::finalDestroy() {
    handle_ = host::kNoWindow;
    previousProc_ = systemDefaultProc;
    if (autoDelete_ && objectBeingCreated != this) {
        auto node = selfOwned().extract(this);
        // This object is deleted when `node` goes; nothing may touch it after.
    }
}

}  // namespace penwick
