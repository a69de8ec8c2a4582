#pragma once

// The framework's unexpected failures.
//
// Code that meets a state it cannot handle throws a ktFailure carrying one
// constant message text ("Append() not implemented"). The error reporting
// catches it at the window procedure, the idle processing and the outermost
// run, and shows and logs text(). Ordinary failures are results, not throws.

#include <exception>

namespace penwick {

class ktFailure : public std::exception {
  public:
    // The text must outlive the failure: a string literal or other static text.
    explicit ktFailure(const char* text) noexcept : text_(text) {}

    const char* text() const noexcept { return text_; }
    const char* what() const noexcept override { return text_; }

  private:
    const char* text_;
};

// Every ktFailure is thrown here, so that one breakpoint catches them all.
[[noreturn]] void throwFailure(const char* text);

}  // namespace penwick
