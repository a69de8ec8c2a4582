#pragma once
// The program's command line. The system hands the arguments over split;
// the program reads them as one line, as it always has: a file named by the
// first word, or else by the rest of the line.

#include <iosfwd>
#include <optional>
#include <string>
#include <string_view>

namespace penwick {

// The arguments joined by blanks, those that hold a blank in double quotes.
std::string commandLineOf(int argc, char** argv);
// The file a command line names: its first token (a double-quoted text, or
// a run of bytes above the space) when that is a regular file, else the
// rest of the line after it when that is one (a rest wholly in quotes
// taken without them), else nothing.
std::string fileOfCommandLine(std::string_view commandLine);

// "--help" and "--version" as the only argument are answered on `out`, and
// the program ends with the exit code given back; anything else starts it.
std::optional<int> answerInformationOption(int argc, char** argv, std::ostream& out);

}  // namespace penwick
