#pragma once
// Reporting unexpected failures: the error dialog, the log file in the
// program's data folder, and the text of system errors.
//
// The log is <data folder>/<program file name>.log ("penwick.log"); each
// entry is "[#<run>: <local time> (T+<ms>ms)]\n<text>\n". The run number is
// the size of the log when the process first writes to it, so all entries
// of one run share it and it grows from run to run.

#include "framework/text/string.h"
#include "host/types.h"

namespace penwick {

// Appends one entry to the log; best effort (a log that cannot be written
// loses the entry and nothing else).
void logText(std::string_view text);

// Logs the failure, shows the error dialog (owned by `owner`, none when it is
// not a window) and either returns, when the user chooses to continue, or
// ends the process at once with exit code -1 (no clean-up, no saving). A
// null text stands for "An unknown error has occurred.". A report that
// arrives while the dialog is open is only counted.
void reportError(const char* text, host::Window owner, bool canContinue);
// Runs once, just before a report ends the process (the program writes its
// recovery copy there); null for nothing.
void setFatalEndHook(void (*hook)());

// The text of the failure a window procedure met while handling a message:
// the thrown text (none: null) and the message with its parameters.
ktString messageTrace(const char* text, std::uint32_t message, host::WParam wParam,
                      host::LParam lParam);

// The system's text for an errno value.
ktString win32ErrorText(int code);
// Shows the text of the last system error (errno) in a "Win32 Error" box.
void showLastWin32Error(host::Window owner);

// How many reports arrived while the dialog was open (1 for the one that
// opened it); 0 when no dialog is open.
int errorDialogNesting();

}  // namespace penwick
