#pragma once

#include <chrono>
#include <cstdint>
#include <string>

namespace penwick {

// The names of the files a safe save writes before renaming them into
// place: ".penwick-" and six letters or digits, then ".tmp". Fixed in
// length and short, so that a target of any legal name (up to 255 bytes)
// can be saved; random, so that two programs saving into one folder do not
// meet.
std::string newTemporaryName();
bool isTemporaryName(const std::string& name);

// A save writes its file within seconds; one of our files left this long
// was left by a save that was killed.
inline constexpr std::chrono::minutes kStaleTemporaryAge{5};

// Removes, from `folder` only, the files that a killed save of ours left:
// regular files of this user whose names are temporary names and that were
// last written more than `olderThan` ago. Nothing else is touched (not
// links, not other names, not younger files, which may belong to a save
// still running). Returns how many were removed. Saving calls it for the
// folder it saved into; listing a folder of pages should call it too.
int32_t removeStaleTemporaries(const std::string& folder,
                               std::chrono::seconds olderThan = kStaleTemporaryAge);

}  // namespace penwick
