#pragma once
// A private home for a test that starts a desktop toolkit: HOME,
// XDG_CONFIG_HOME and XDG_RUNTIME_DIR (mode 0700, as Qt demands) point into
// a fresh temporary folder, and the Qt platform is the offscreen one. The
// previous values come back when it goes.

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "tests/support/temp_folder.h"

namespace penwick::testing {

// Sets an environment variable for its lifetime (unset: nullptr).
class ScopedEnvironment {
  public:
    ScopedEnvironment() = default;
    ~ScopedEnvironment();
    ScopedEnvironment(const ScopedEnvironment&) = delete;
    ScopedEnvironment& operator=(const ScopedEnvironment&) = delete;
    void set(const std::string& name, const char* value);

  private:
    std::vector<std::pair<std::string, std::optional<std::string>>> saved_;
};

class PrivateHome {
  public:
    PrivateHome();
    const TempFolder& folder() const { return folder_; }
    // The application-data folder (XDG_CONFIG_HOME).
    std::filesystem::path config() const { return folder_.path() / "config"; }

  private:
    TempFolder folder_;
    ScopedEnvironment environment_;
};

}  // namespace penwick::testing
