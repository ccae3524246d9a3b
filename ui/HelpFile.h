#pragma once

#include <string>

namespace kelbrin::ui {

// The help file that lies beside the program: its full path in the ANSI code
// page. The program's own folder, not the current directory, which the open
// dialog may move.
std::string HelpFilePath();

}  // namespace kelbrin::ui
