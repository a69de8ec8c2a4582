// The host core: the message queue, the characters keys make, dispatching,
// timers and the input state of the message being handled.
#include <algorithm>

#include "host/host_core.h"
#include "host/key_translation.h"

namespace host {

namespace {
// Key characters the window system reported and no translation asked for
// yet; a program that never translates keeps only the newest.
constexpr std::size_t kKeptKeyCharacters = 64;
}  // namespace

void HostCore::postInput(Window window, std::uint32_t message, WParam wParam, LParam lParam,
                         const InputState& state, Point cursor) {
    queue_.post({window, message, wParam, lParam, std::uint32_t(millisecondsSinceStart()), cursor},
                state);
}

bool HostCore::postMessage(Window window, std::uint32_t message, WParam wParam, LParam lParam) {
    if (window != kNoWindow && !find(window)) return false;
    postInput(window, message, wParam, lParam, {}, cursorPos());
    return true;
}

LResult HostCore::sendMessage(Window window, std::uint32_t message, WParam wParam, LParam lParam) {
    return windows_.send(window, message, wParam, lParam);
}

void HostCore::postQuitMessage(int exitCode) {
    postInput(kNoWindow, WM_QUIT, WParam(exitCode), 0, {}, cursorPos());
}

bool HostCore::take(Message& message, Window window, std::uint32_t first, std::uint32_t last,
                    bool remove) {
    const MessageFilter filter{window, first, last};
    // isKeyDown answers as of the message being taken.
    auto applyState = [&](const InputState& state) {
        keys_.apply(state);
        if (state.valid) fromTouch_ = state.fromTouch;
    };
    // A mouse message that belongs to a frame drag is used up on the way.
    while (queue_.take(message, filter, remove, applyState))
        if (!remove || !frameDrag_.consumes(*this, message)) return true;
    return takePendingTimer(timers_, filter, remove, message, [&](Message& m) {
        m.time = std::uint32_t(millisecondsSinceStart());
        m.point = cursorPos();
    });
}

bool HostCore::peekMessage(Message& message, Window window, std::uint32_t first, std::uint32_t last,
                           bool remove) {
    if (take(message, window, first, last, remove)) return true;
    pumpNativeEvents(false);
    return take(message, window, first, last, remove);
}

bool HostCore::getMessage(Message& message) {
    while (!take(message, kNoWindow, 0, 0, true)) {
        if (!pumpNativeEvents(true)) {
            message = Message{kNoWindow,
                              WM_QUIT,
                              WParam(kStarvedExitCode),
                              0,
                              std::uint32_t(millisecondsSinceStart()),
                              cursorPos()};
            return false;
        }
    }
    return message.message != WM_QUIT;
}

void HostCore::rememberKeyCharacter(Window window, int virtualKey, int character) {
    keyCharacters_.push_back({window, virtualKey, character});
    while (keyCharacters_.size() > kKeptKeyCharacters)
        keyCharacters_.pop_front();
}

bool HostCore::translateMessage(const Message& m) {
    if (m.message != WM_KEYDOWN && m.message != WM_SYSKEYDOWN) return false;
    const int vk = int(m.wParam);
    // The window system's word on the character wins (keyboard layouts,
    // dead keys); a key message nobody reported on gets the plain keys.
    std::optional<int> reported;
    auto it = std::find_if(keyCharacters_.begin(), keyCharacters_.end(), [&](const auto& k) {
        return k.window == m.window && k.virtualKey == vk;
    });
    if (it != keyCharacters_.end()) {
        reported = it->character;
        keyCharacters_.erase(keyCharacters_.begin(), it + 1);
    }
    const int code = reported
                         ? *reported
                         : characterForKey(vk, keys_.isDown(VK_SHIFT), keys_.isDown(VK_CONTROL));
    if (code == 0) return false;
    // The character comes next, ahead of anything queued after the key.
    queue_.postFirst({m.window, m.message == WM_SYSKEYDOWN ? WM_SYSCHAR : WM_CHAR, WParam(code),
                      m.lParam, m.time, m.point});
    return true;
}

LResult HostCore::dispatchMessage(const Message& m) {
    if (m.window == kNoWindow) return 0;
    const bool mouse = m.message >= WM_MOUSEMOVE && m.message <= WM_MBUTTONUP;
    if (mouse && capture_ == kNoWindow)
        sendMessage(m.window, WM_SETCURSOR, WParam(m.window), makeLParam(HTCLIENT, int(m.message)));
    return sendMessage(m.window, m.message, m.wParam, m.lParam);
}

// ---- Timers -----------------------------------------------------------------

bool HostCore::setTimer(Window window, std::uintptr_t id, std::uint32_t periodMs) {
    if (!find(window)) return false;
    const auto key = std::make_pair(std::uintptr_t(window), id);
    Timer& t = timers_[key];
    if (t.nativeId != 0) {
        stopNativeTimer(t.nativeId);
        timerKeys_.erase(t.nativeId);
    }
    t.pending = false;
    t.nativeId = startNativeTimer(std::clamp<std::uint32_t>(periodMs, 1, 0x7FFFFFFF));
    if (t.nativeId == 0) {
        timers_.erase(key);
        return false;
    }
    timerKeys_[t.nativeId] = key;
    return true;
}

bool HostCore::killTimer(Window window, std::uintptr_t id) {
    auto it = timers_.find({std::uintptr_t(window), id});
    if (it == timers_.end()) return false;
    stopNativeTimer(it->second.nativeId);
    timerKeys_.erase(it->second.nativeId);
    timers_.erase(it);
    return true;
}

void HostCore::forgetTimersOf(Window window) {
    for (auto it = timers_.begin(); it != timers_.end();) {
        if (it->first.first != std::uintptr_t(window)) {
            ++it;
            continue;
        }
        stopNativeTimer(it->second.nativeId);
        timerKeys_.erase(it->second.nativeId);
        it = timers_.erase(it);
    }
}

void HostCore::timerFired(int nativeId) {
    auto key = timerKeys_.find(nativeId);
    if (key == timerKeys_.end()) return;
    // Missed periods collapse into the one pending message.
    auto timer = timers_.find(key->second);
    if (timer != timers_.end()) timer->second.pending = true;
}

}  // namespace host
