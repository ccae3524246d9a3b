#pragma once

#include <windows.h>
#include <commdlg.h>
#include <shellapi.h>

namespace kelbrin::ui {

// The platform calls whose effects lie outside the window: the command line,
// the shell, the open dialog and message boxes. Tests put recorders here.
struct PlatformCalls {
  decltype(&::GetCommandLineA) getCommandLine = ::GetCommandLineA;
  decltype(&::DragQueryFileA) dragQueryFile = ::DragQueryFileA;
  decltype(&::DragFinish) dragFinish = ::DragFinish;
  decltype(&::GetOpenFileNameA) getOpenFileName = ::GetOpenFileNameA;
  decltype(&::ShellExecuteA) shellExecute = ::ShellExecuteA;
  decltype(&::MessageBoxW) messageBox = ::MessageBoxW;
};

PlatformCalls& Platform();

}  // namespace kelbrin::ui
