#pragma once
// The order in which a person pages through a folder of pages: the natural
// order of their names (punctuation skipped, numbers by value, so page 9
// comes before page 10).

#include <string>
#include <string_view>
#include <vector>

namespace penwick {

// The names of the files of `folder` that end with `extension` (".wnk";
// empty for every file), folders and empty files left out, in natural order. Names equal in
// that order keep the order of their bytes. Empty when the folder cannot be
// read.
std::vector<std::string> pagesInOrder(std::string_view folder, std::string_view extension);

// The page `step` (+1 or -1) places from `reference` among the pages of its
// folder with its extension, `reference` found by its name, else without
// regard to case:
// the reference itself when the folder holds fewer than two pages or the
// step leaves the list (no wrap-around), except that stepping back from a
// page that is not in the list gives the last page.
std::string steppedPage(std::string_view reference, int step);

}  // namespace penwick
