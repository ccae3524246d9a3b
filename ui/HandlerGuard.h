#pragma once

#include <exception>
#include <utility>

namespace kelbrin::ui {

// A failure that ends a handler and is shown to nobody.
class SilentAbort : public std::exception {
 public:
  const char* what() const noexcept override { return ""; }
};

// The application decides how a failure that escapes a handler is shown.
using EscapedFailureHandler = void (*)(std::exception_ptr failure);
void SetEscapedFailureHandler(EscapedFailureHandler handler);
void ReportEscapedFailure(std::exception_ptr failure);

// Runs a handler; what escapes it goes to the application, and the program
// goes on. Nothing may unwind through the system's window procedures.
template <class Handler>
void RunGuarded(Handler&& handler) noexcept {
  try {
    std::forward<Handler>(handler)();
  } catch (...) {
    ReportEscapedFailure(std::current_exception());
  }
}

}  // namespace kelbrin::ui
