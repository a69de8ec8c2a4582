#pragma once
// The Sketchbook: the folder that holds the pages, one sketch file each,
// and the names new pages get.

#include <string>
#include <string_view>

namespace penwick {

// The documents folder followed by "/Sketchbook", as found when the main
// window was made (or at the first use before that), and kept until it is
// found again; empty when the host knows no documents folder.
const std::string& sketchbookFolder();
// Finds the folder from the host's documents folder; each main window does
// this when it is made.
void findSketchbookFolder();

// The page name for `time` in `folder`: "%Y-%m-%d_%H-%M-%S.wnk" in local
// time, one second later each time until no file of that name exists;
// empty for a time no calendar shows.
std::string freePageName(std::string_view folder, double time);

// Claims the free page name for `time` in `folder` by making an empty file
// of that name, which no other program can then take (two windows saving
// new pages in one second get names one second apart). The claimed path, or
// empty with `error` saying why the folder takes no file.
std::string claimNewPage(std::string_view folder, double time, std::string& error);
// Removes a claimed page that was never written (still empty); false when
// the file holds something (the save did write it) or is gone.
bool releaseClaimedPage(const std::string& path);
// Removes the claims that a killed program left in `folder`: empty pages
// older than a save takes. An empty file holds no drawing.
void removeStaleClaims(const std::string& folder);

// The file is a regular file nobody may write (no write permission bit):
// its owner keeps it as it is.
bool isReadOnlyFile(const std::string& path);

// The path lies inside the folder (its text begins with the folder and a
// separator).
bool liesIn(std::string_view path, std::string_view folder);

}  // namespace penwick
