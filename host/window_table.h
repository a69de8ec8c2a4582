#pragma once
// The window bookkeeping both hosts share: the record part that is the same
// whatever shows a window, the table of records by handle, and the answers
// that only read or write that part.

#include <cstdint>
#include <map>
#include <memory>
#include <utility>
#include <vector>

#include "host/host.h"
#include "host/types.h"

namespace host {

// What a host keeps of every window apart from how it shows it.
struct WindowBasics {
    Window handle{};
    Window parent{};
    Window owner{};
    std::vector<Window> children;
    WindowProc proc = nullptr;
    void* userData = nullptr;
    int id = 0;
    std::uint32_t style = 0;  // without the visible, disabled and minimised bits
    std::uint32_t exStyle = 0;
    Menu menu{};
    Icon smallIcon{};
    Icon largeIcon{};
    bool acceptsFiles = false;
    bool enabled = true;  // the window's own state, whatever its owner's
    bool destroying = false;
    bool dead = false;  // destroyed; the record stays so that stale handles stay invalid
    Point lastClientSize{-1, -1};
    bool eraseDue = false;
};

// The window rectangle a creation asks for, with the defaults for
// CW_USEDEFAULT: screen or parent coordinates, the frame included.
Rect requestedWindowRect(const CreateRequest& request);

// A host's windows by handle. `Record` extends WindowBasics with what the
// host shows the window by.
template <class Record>
class WindowTable {
  public:
    using Records = std::map<std::uintptr_t, std::unique_ptr<Record>>;

    // A live window's record; none for an unknown or destroyed handle.
    Record* find(Window window) {
        auto it = records_.find(std::uintptr_t(window));
        return it == records_.end() || it->second->dead ? nullptr : it->second.get();
    }
    const Record* find(Window window) const {
        auto it = records_.find(std::uintptr_t(window));
        return it == records_.end() || it->second->dead ? nullptr : it->second.get();
    }

    // Handles are never used twice.
    Window newHandle() { return Window(nextHandle_++); }
    // Takes in a record that has its handle.
    void add(std::unique_ptr<Record> record) {
        const std::uintptr_t key = std::uintptr_t(record->handle);
        records_[key] = std::move(record);
    }

    // Every record, destroyed ones included.
    typename Records::iterator begin() { return records_.begin(); }
    typename Records::iterator end() { return records_.end(); }
    typename Records::const_iterator begin() const { return records_.begin(); }
    typename Records::const_iterator end() const { return records_.end(); }

    Window parent(Window window) const {
        const Record* w = find(window);
        return w ? w->parent : kNoWindow;
    }
    // Whether `window` is `ancestor` or lies inside it.
    bool isWithin(Window window, Window ancestor) const {
        for (Window w = window; find(w); w = parent(w))
            if (w == ancestor) return true;
        return false;
    }
    Window owner(Window window) const {
        const Record* w = find(window);
        return w ? w->owner : kNoWindow;
    }
    std::vector<Window> children(Window window) const {
        const Record* w = find(window);
        return w ? w->children : std::vector<Window>{};
    }
    WindowProc proc(Window window) const {
        const Record* w = find(window);
        return w ? w->proc : nullptr;
    }
    WindowProc setProc(Window window, WindowProc proc) {
        Record* w = find(window);
        return w ? std::exchange(w->proc, proc) : nullptr;
    }
    void* userData(Window window) const {
        const Record* w = find(window);
        return w ? w->userData : nullptr;
    }
    void setUserData(Window window, void* data) {
        if (Record* w = find(window)) w->userData = data;
    }
    int id(Window window) const {
        const Record* w = find(window);
        return w ? w->id : 0;
    }
    void setId(Window window, int id) {
        if (Record* w = find(window)) w->id = id;
    }
    // The window's own procedure answers; none answers 0.
    LResult send(Window window, std::uint32_t message, WParam wParam, LParam lParam) const {
        const Record* w = find(window);
        if (!w || !w->proc) return 0;
        return w->proc(window, message, wParam, lParam);
    }

  private:
    Records records_;
    std::uintptr_t nextHandle_ = 0x100;
};

}  // namespace host
