#pragma once
// Listing a folder by a wildcard pattern, and stepping through its files.

#include <cstdint>
#include <vector>

#include "framework/text/string.h"

namespace penwick {

struct FileEntry {
    ktString name;  // the name only, without the folder
    bool isFolder = false;
    bool isReadOnly = false;
    double modified = 0;  // seconds since 1970
    std::int64_t size = 0;
};

// The entries of the pattern's folder whose names match its last part
// ("/sketches/*.wnk"; wildcards as wildcardMatch, ignoring case), without
// "." and "..", sorted by name in byte order so that the order does not
// depend on the file system. Empty when the folder cannot be read.
std::vector<FileEntry> listFiles(std::string_view pattern);

// The listing without folders; i counts from the end when negative (-1 is
// the last). The pattern's folder followed by the i-th name, or empty when
// out of range.
ktString nthFile(std::string_view pattern, int i);

// The file `offset` places away from `path` among the files of its folder
// that match `nameFilter` followed by the extension of `path` (with its
// dot), in natural order, symbols first. `path`'s own name is found without
// regard to case. When it is not among them, the answer is the last file
// for a negative offset and the first otherwise. When it is, and no other
// file is there, or index + offset leaves the list without `wrap`, the answer
// is `path` with `selfWhenNone` and empty without it; with `wrap` the index
// goes round.
ktString neighbourFile(std::string_view path, int offset, bool wrap, bool selfWhenNone,
                       std::string_view nameFilter = "*");

}  // namespace penwick
