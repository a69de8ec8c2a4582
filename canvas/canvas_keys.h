#pragma once
// The canvas's key map: which key, with which of Shift and Ctrl held at the
// time of the press, does what. Alt is not looked at.

#include <span>

namespace penwick {

class CanvasView;

// Whether a row wants a modifier down, up, or does not look at it.
enum class Held { any, down, up };

struct KeyBinding {
    int key;  // virtual-key code
    Held shift;
    Held control;
    void (*act)(CanvasView&);
};

// The rows in the order they are tried; the first that matches acts.
std::span<const KeyBinding> canvasKeyMap();

// The row for a press, or nullptr when the key does nothing.
const KeyBinding* findKeyBinding(int key, bool shift, bool control);

}  // namespace penwick
