#pragma once
// Runs a shell command line (a real consumer such as xmllint or
// rsvg-convert) and answers what it wrote on standard output.

#include <string>

namespace penwick::testing {

std::string commandOutput(const std::string& command);

}  // namespace penwick::testing
