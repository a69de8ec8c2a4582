#pragma once
// The framework's modal loop and the keyboard handling of dialogs.

#include "host/types.h"

namespace penwick {

// Runs messages while `window` exists. A quit message met on the way is
// posted again (so that the outer loop ends too) and its exit code
// answered; otherwise 0. Ctrl+C sends the window WM_COPY.
int runModalLoop(host::Window window);

// The keys a dialog handles for itself, for messages to the dialog or one
// of its controls: Tab and Shift+Tab move the focus among the controls with
// a tab stop, Enter sends the command of the focused push button or else of
// the default button (IDOK without one), Escape sends IDCANCEL, and a
// mnemonic letter (the character after "&" in a button's text, with or
// without Alt) clicks that button. Answers whether the message was taken.
bool isDialogMessage(host::Window dialog, const host::Message& message);

}  // namespace penwick
