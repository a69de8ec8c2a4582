// The headless host: the virtual clock with its timers, the scripted idle
// steps, and the helpers that queue input as a desktop would.
#include <algorithm>

#include "host/headless/headless_host.h"
#include "host/headless/headless_surface.h"
#include "host/keys.h"

namespace host::headless {

// ---- Clock, timers and idle steps -------------------------------------------

int HeadlessHost::startNativeTimer(std::uint32_t periodMs) {
    const int id = nextTimer_++;
    nativeTimers_[id] = {periodMs, now_ + periodMs};
    return id;
}

void HeadlessHost::stopNativeTimer(int id) {
    nativeTimers_.erase(id);
}

void HeadlessHost::advance(std::int64_t milliseconds) {
    now_ += std::max<std::int64_t>(milliseconds, 0);
    for (auto& [id, timer] : nativeTimers_) {
        if (timer.due > now_) continue;
        timerFired(id);
        timer.due += ((now_ - timer.due) / timer.period + 1) * timer.period;
    }
}

bool HeadlessHost::pumpNativeEvents(bool wait) {
    // Nothing arrives on its own: a wait runs the next scripted step, and
    // with none left nothing can ever come.
    if (!wait) return true;
    if (idleSteps_.empty()) return false;
    auto step = std::move(idleSteps_.front());
    idleSteps_.pop_front();
    step();
    return true;
}

// ---- Input ------------------------------------------------------------------

InputState HeadlessHost::heldState() const {
    InputState state;
    state.valid = true;
    state.shift = pendingKeys_[VK_SHIFT];
    state.control = pendingKeys_[VK_CONTROL];
    state.alt = pendingKeys_[VK_MENU];
    state.left = pendingKeys_[VK_LBUTTON];
    state.right = pendingKeys_[VK_RBUTTON];
    state.middle = pendingKeys_[VK_MBUTTON];
    return state;
}

void HeadlessHost::postMouse(Window window, std::uint32_t message, Point client, Modifiers mods) {
    const Point screen = clientToScreen(window, client);
    const Window target = captureWindow() != kNoWindow ? captureWindow() : window;
    const Point p = screenToClient(target, screen);
    cursorPos_ = screen;
    pendingKeys_[VK_SHIFT] = mods.shift;
    pendingKeys_[VK_CONTROL] = mods.control;
    pendingKeys_[VK_MENU] = mods.alt;
    // The buttons are held all the same; a disabled window just hears nothing.
    if (!takesInput(target)) return;
    InputState state = heldState();
    state.fromTouch = mods.touch;
    postInput(target, message, state.mouseFlags(), makeLParam(p.x, p.y), state, screen);
}

namespace {
int buttonKey(MouseButton b) {
    return b == MouseButton::left ? VK_LBUTTON : b == MouseButton::right ? VK_RBUTTON : VK_MBUTTON;
}
std::uint32_t buttonMessage(MouseButton b, bool down) {
    switch (b) {
        case MouseButton::left:
            return down ? WM_LBUTTONDOWN : WM_LBUTTONUP;
        case MouseButton::right:
            return down ? WM_RBUTTONDOWN : WM_RBUTTONUP;
        default:
            return down ? WM_MBUTTONDOWN : WM_MBUTTONUP;
    }
}
}  // namespace

void HeadlessHost::mousePress(Window window, MouseButton button, Point client, Modifiers mods) {
    pendingKeys_[buttonKey(button)] = true;
    postMouse(window, buttonMessage(button, true), client, mods);
}
void HeadlessHost::mouseMove(Window window, Point client, Modifiers mods) {
    postMouse(window, WM_MOUSEMOVE, client, mods);
}
void HeadlessHost::mouseRelease(Window window, MouseButton button, Point client, Modifiers mods) {
    pendingKeys_[buttonKey(button)] = false;
    postMouse(window, buttonMessage(button, false), client, mods);
}

void HeadlessHost::postKey(std::uint32_t message, int vk, LParam lParam) {
    if (focusWindow() != kNoWindow && !takesInput(focusWindow())) return;
    InputState state = heldState();
    state.key = vk;
    state.keyDown = pendingKeys_[vk & 0xFF];
    postInput(focusWindow(), message, WParam(vk), lParam, state, cursorPos_);
}

void HeadlessHost::keyDown(int vk, Modifiers mods) {
    const bool repeat = pendingKeys_[vk & 0xFF];
    pendingKeys_[vk & 0xFF] = true;
    pendingKeys_[VK_SHIFT] = mods.shift || vk == VK_SHIFT;
    pendingKeys_[VK_CONTROL] = mods.control || vk == VK_CONTROL;
    pendingKeys_[VK_MENU] = mods.alt || vk == VK_MENU;
    const LParam lParam = 1 | (repeat ? kKeyPreviouslyDown : 0);
    const bool alt = mods.alt || vk == VK_MENU;
    postKey((alt || vk == VK_F10) && !mods.control ? WM_SYSKEYDOWN : WM_KEYDOWN, vk, lParam);
}

void HeadlessHost::keyUp(int vk, Modifiers mods) {
    pendingKeys_[vk & 0xFF] = false;
    pendingKeys_[VK_SHIFT] = mods.shift && vk != VK_SHIFT;
    pendingKeys_[VK_CONTROL] = mods.control && vk != VK_CONTROL;
    pendingKeys_[VK_MENU] = mods.alt && vk != VK_MENU;
    const LParam lParam = 1 | kKeyPreviouslyDown | kKeyReleased;
    // Alt's own release is a system key too.
    const bool alt = mods.alt || vk == VK_MENU;
    postKey(alt && !mods.control ? WM_SYSKEYUP : WM_KEYUP, vk, lParam);
}

void HeadlessHost::wheel(int delta, Point screen, Modifiers mods) {
    cursorPos_ = screen;
    pendingKeys_[VK_SHIFT] = mods.shift;
    pendingKeys_[VK_CONTROL] = mods.control;
    pendingKeys_[VK_MENU] = mods.alt;
    if (focusWindow() != kNoWindow && !takesInput(focusWindow())) return;
    const InputState state = heldState();
    postInput(focusWindow(), WM_MOUSEWHEEL, makeWParam(int(state.mouseFlags()), delta),
              makeLParam(screen.x, screen.y), state, screen);
}

WParam HeadlessHost::tabletSample(TabletContext context, std::uint32_t buttons, std::uint32_t x,
                                  std::uint32_t y, std::uint32_t pressure) {
    if (!takesInput(tabletWindow(context))) return 0;
    return postTabletPacket(context, {std::uint32_t(now_), buttons, x, y, pressure}, heldState(),
                            cursorPos_);
}

bool HeadlessHost::dropFiles(Window window, std::vector<std::string> files) {
    const CoreWindow* w = find(window);
    if (!w || !w->acceptsFiles || !takesInput(window)) return false;
    const WParam drop = addDrop(std::move(files));
    postInput(window, WM_DROPFILES, drop, 0, {}, cursorPos_);
    return true;
}

void HeadlessHost::clickClose(Window window) {
    sendMessage(window, WM_CLOSE, 0, 0);
}

}  // namespace host::headless
