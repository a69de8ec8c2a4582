#pragma once
// Accelerator tables at work: turning key messages into commands, and the
// names menus show for the keys.

#include "framework/text/string.h"
#include "framework/window/resources.h"
#include "host/types.h"

namespace penwick {

// When `message` is a key (virtual-key entries: WM_KEYDOWN, WM_SYSKEYDOWN,
// with exactly the entry's Shift, Ctrl and Alt held) or a character
// (character entries: WM_CHAR, or WM_SYSCHAR for Alt entries) of the
// table, sends `window` the command (WM_COMMAND, high word 1) and answers
// true.
bool translateAccelerator(host::Window window, const AcceleratorTable& table,
                          const host::Message& message);

// "Ctrl+", "Alt+" and "Shift+" as flagged, then the key's name
// (host::keyName) or the character: "Ctrl+Shift+S", "Alt+/", "F11".
ktString acceleratorText(const Accelerator& accelerator);

}  // namespace penwick
