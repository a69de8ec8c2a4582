#pragma once
// Qt's key numbers turned into the virtual-key codes of key messages.

#include <cstdint>

namespace host::qt {

// The virtual-key code of a Qt key (Qt::Key); `keypad` when Qt reports the
// key from the numeric keypad. 0 for keys the program has no code for.
// Shifted symbols map to the key that makes them on a US layout ('!' is '1').
int virtualKeyFor(int qtKey, bool keypad);

// Whether the key lies in the cursor block beside the main keys (the
// extended-key bit of key messages).
bool isExtendedKey(int virtualKey, bool keypad);

}  // namespace host::qt
