#pragma once
// The posted-message queue both hosts keep: messages in the order they were
// posted, each with what its host applies when it is taken (the key state
// the input left), and the pending timer messages that come behind them.

#include <cstddef>
#include <cstdint>
#include <deque>
#include <utility>

#include "host/messages.h"
#include "host/types.h"

namespace host {

// What a peek or get asks for: one window (kNoWindow: any) and a range of
// message numbers (0 to 0: every message).
struct MessageFilter {
    Window window{};
    std::uint32_t first = 0;
    std::uint32_t last = 0;

    bool matches(const Message& message) const;
};

// `Input` is what a host keeps with each message to apply when it is taken.
template <class Input>
class MessageQueue {
  public:
    void post(const Message& message, Input input = {}) {
        entries_.push_back({message, std::move(input)});
    }
    // Ahead of everything queued (the character a key makes comes next).
    void postFirst(const Message& message, Input input = {}) {
        entries_.push_front({message, std::move(input)});
    }

    // The first message the filter lets through. With `remove` it leaves the
    // queue, and `taken` is handed its input first.
    template <class Taken>
    bool take(Message& message, const MessageFilter& filter, bool remove, Taken&& taken) {
        for (auto it = entries_.begin(); it != entries_.end(); ++it) {
            if (!filter.matches(it->message)) continue;
            message = it->message;
            if (remove) {
                taken(std::as_const(it->input));
                entries_.erase(it);
            }
            return true;
        }
        return false;
    }

    // Drops every message of a window that goes.
    void forget(Window window) {
        std::erase_if(entries_, [&](const Entry& e) { return e.message.window == window; });
    }

    std::size_t size() const { return entries_.size(); }

  private:
    struct Entry {
        Message message;
        Input input;
    };
    std::deque<Entry> entries_;
};

// Timers come last, when nothing else waits, and at most one per timer: the
// first pending timer the filter lets through becomes a WM_TIMER message.
// `timers` maps (window, id) to a record with a `pending` flag; `stamp`
// fills in the time and cursor point of the message taken.
template <class TimerMap, class Stamp>
bool takePendingTimer(TimerMap& timers, const MessageFilter& filter, bool remove, Message& message,
                      Stamp&& stamp) {
    for (auto& [key, timer] : timers) {
        if (!timer.pending) continue;
        Message m{Window(key.first), WM_TIMER, key.second, 0, 0, {}};
        if (!filter.matches(m)) continue;
        stamp(m);
        message = m;
        if (remove) timer.pending = false;
        return true;
    }
    return false;
}

}  // namespace host
