#pragma once
// The character a key-down makes when the window system did not say (a key
// message the program or a test made itself): the keys of a US keyboard
// layout, shifted or not, and Ctrl with a letter as the control codes 1 to 26.
// 0 when the key makes no character.

namespace host {

int characterForKey(int virtualKey, bool shift, bool control);

}  // namespace host
