#pragma once

#include <exception>

namespace kelbrin::gui {

// Shows a failure that escaped a handler in a stop-icon box captioned with
// the program's title, while the program's windows take no input; a silent
// abort shows nothing. The program goes on afterwards.
void ShowEscapedFailure(std::exception_ptr failure);

// The show command the main window opens with: maximised and minimised
// without activation are honoured, anything else shows it normally.
int MainWindowShowCommand(int requested);

// Start-up, the message loop until the main window closes, and shutdown.
int RunApplication(int showCommand);

}  // namespace kelbrin::gui
