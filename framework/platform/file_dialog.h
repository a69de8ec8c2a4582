#pragma once
// The system's open and save dialogs.

#include <cstdint>
#include <vector>

#include "framework/text/string.h"
#include "host/types.h"

namespace penwick {

class FileDialog {
  public:
    // `filter` lists descriptions and patterns separated by "|" and ends
    // with "||": "Penwick Files (*.wnk)|*.wnk|All Files|*.*||". `flags` are
    // the host's OFN_* flags. Answers 1 when the user chose (results below),
    // 2 when the dialog was cancelled.
    int run(bool open, std::string_view defaultExtension, std::string_view initialName,
            std::uint32_t flags, std::string_view filter, host::Window owner);

    // The i-th chosen file; with no list (a save dialog) the file chosen for
    // i = 0; empty when i is out of range.
    ktString result(int i) const;
    int resultCount() const { return int(results_.size()); }

  private:
    ktString file_;
    std::vector<ktString> results_;
};

}  // namespace penwick
