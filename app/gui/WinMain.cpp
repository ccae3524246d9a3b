// Kelbrin: tidies one source file at a time, in a window.
#include <windows.h>

#include "Application.h"
#include "HandlerGuard.h"
#include "SafeDllSearch.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int showCommand) {
  kelbrin::LoadDllsFromTheSystemFolderOnly();
  int exitCode = 1;
  kelbrin::ui::RunGuarded([&] { exitCode = kelbrin::gui::RunApplication(showCommand); });
  return exitCode;
}
