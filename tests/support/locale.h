#pragma once
// A decimal-comma locale (German, de_DE.UTF-8) made by localedef in a
// temporary folder once per test program, so a test can prove that what the
// program writes does not follow the process locale. It needs localedef and
// the locale sources (Debian's libc-bin and locales); when they are missing,
// `available()` is false and `whyNot()` says so, for GTEST_SKIP.

#include <string>

#include "tests/support/private_home.h"

namespace penwick::testing {

class DecimalCommaLocale {
  public:
    // The one locale of the test program, made at the first call.
    static const DecimalCommaLocale& get();

    bool available() const { return whyNot_.empty(); }
    const std::string& whyNot() const { return whyNot_; }
    // The folder to name in LOCPATH, and the locale's name there.
    const std::string& folder() const { return folder_; }
    static constexpr const char* kName = "de_DE.UTF-8";

  private:
    DecimalCommaLocale();
    std::string folder_;
    std::string whyNot_;
};

// Switches every category of the C library's locale to the decimal-comma
// locale (LOCPATH pointing at its folder) for its lifetime, then back to the
// locale before. `active()` is false when the switch failed.
class InDecimalCommaLocale {
  public:
    InDecimalCommaLocale();
    ~InDecimalCommaLocale();
    InDecimalCommaLocale(const InDecimalCommaLocale&) = delete;
    InDecimalCommaLocale& operator=(const InDecimalCommaLocale&) = delete;
    bool active() const { return active_; }

  private:
    ScopedEnvironment locpath_;
    std::string previous_;
    bool active_ = false;
};

// LOCPATH and LC_ALL in the environment name the decimal-comma locale for
// its lifetime, so that whatever calls setlocale(LC_ALL, "") — as Qt's
// application object does — takes it. `active()` is false when the locale
// is not available.
class DecimalCommaEnvironment {
  public:
    DecimalCommaEnvironment();
    bool active() const { return active_; }

  private:
    ScopedEnvironment environment_;
    bool active_ = false;
};

// What printf's "%f" makes of 1.5 in the current locale ("1,500000" in the
// decimal-comma one).
std::string printfOfOneAndAHalf();

}  // namespace penwick::testing
