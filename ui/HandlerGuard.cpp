#include "HandlerGuard.h"

namespace kelbrin::ui {
namespace {

EscapedFailureHandler escapedFailureHandler = nullptr;

}  // namespace

void SetEscapedFailureHandler(EscapedFailureHandler handler) { escapedFailureHandler = handler; }

// Without an application to show it, a failure must not pass unnoticed.
void ReportEscapedFailure(std::exception_ptr failure) {
  if (!escapedFailureHandler) std::terminate();
  escapedFailureHandler(std::move(failure));
}

}  // namespace kelbrin::ui
