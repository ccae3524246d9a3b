#pragma once

#include "CliOptions.h"

namespace kelbrin::cli {

// Tidies, checks or shows every FILE of the request in turn, as it asks,
// and gives the program's exit status. Messages go to standard error as
// "kelbrin-cli: FILE: REASON".
int Tidy(const CliRequest& request);

}  // namespace kelbrin::cli
