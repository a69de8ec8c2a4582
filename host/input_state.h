#pragma once
// The keys and buttons held when a piece of input happened. Each queued input
// message carries one; once the message is taken from the queue, isKeyDown
// answers from it, so a handler sees the state of its own message and not
// that of input still waiting behind it.

#include "host/keys.h"
#include "host/messages.h"
#include "host/types.h"

namespace host {

struct InputState {
    bool valid = false;  // program-made messages carry none and change nothing
    bool shift = false, control = false, alt = false;
    bool left = false, right = false, middle = false;
    int key = 0;  // the key of a key message, with its new state
    bool keyDown = false;
    bool fromTouch = false;  // mouse input the system made from a touch

    // The MK_* word of mouse messages.
    WParam mouseFlags() const {
        return (left ? MK_LBUTTON : 0) | (right ? MK_RBUTTON : 0) | (middle ? MK_MBUTTON : 0) |
               (shift ? MK_SHIFT : 0) | (control ? MK_CONTROL : 0);
    }
};

// The state of the 256 virtual keys as of the message being handled.
class KeyTable {
  public:
    bool isDown(int virtualKey) const { return down_[virtualKey & 0xFF]; }
    void apply(const InputState& s) {
        if (!s.valid) return;
        down_[VK_SHIFT] = s.shift;
        down_[VK_CONTROL] = s.control;
        down_[VK_MENU] = s.alt;
        down_[VK_LBUTTON] = s.left;
        down_[VK_RBUTTON] = s.right;
        down_[VK_MBUTTON] = s.middle;
        if (s.key > 0) down_[s.key & 0xFF] = s.keyDown;
    }

  private:
    bool down_[256] = {};
};

}  // namespace host
