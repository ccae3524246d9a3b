#pragma once

#include <string>

#include "Failure.h"

namespace kelbrin::ui {

// What the window says about a pass that did not complete: the pass, the
// path, the reason (in the system's words where the system gave one) and
// where the file's content is now.
std::wstring FailureText(const PassFailure& failure);

}  // namespace kelbrin::ui
