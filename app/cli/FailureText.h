#pragma once

#include <string>

#include "Failure.h"

namespace kelbrin::cli {

// A short, plain English reason, as in "kelbrin-cli: PATH: REASON".
std::string ReasonText(FailureReason reason, std::uint32_t osError);

// The whole line for a failed file, without the program's name.
std::string FailureLine(const PassFailure& failure);

}  // namespace kelbrin::cli
