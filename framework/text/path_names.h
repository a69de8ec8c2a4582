#pragma once

// Parts of file names: the extension follows the last `.`, the file-name
// part the last `\` or `/`.

#include <string_view>

namespace penwick {

// What follows the last `.` (empty when there is none).
std::string_view extensionOf(std::string_view name);
// What follows the last `\` or `/`.
std::string_view fileNameOf(std::string_view name);
// Compares the extension of `name`, ignoring ASCII case, with each entry of
// `list`, whose entries are separated by any of space ; , . and /.
bool hasExtension(std::string_view name, std::string_view list);

}  // namespace penwick
