#pragma once
// Running a command line through the desktop.

#include <string_view>

namespace penwick {

// The first token of the command line (a double-quoted token or a run of
// non-blank bytes) is the file, document or web address to open; the rest,
// leading blanks skipped, are its parameters. It opens in `folder` (empty:
// the current folder) with the desktop's default application, or runs when
// it is a program. The word "start" (any case) runs hidden. True on success.
bool shellRun(std::string_view commandLine, std::string_view folder = {});

}  // namespace penwick
