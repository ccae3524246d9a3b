#include "HelpFile.h"

#include <windows.h>

#include "SplitTarget.h"

namespace kelbrin::ui {
namespace {

constexpr char kHelpFileName[] = "ReadMe.txt";

// The program's full path, however long.
std::string ProgramPath() {
  std::string path(MAX_PATH, '\0');
  for (;;) {
    const DWORD length = GetModuleFileNameA(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (length < path.size()) return path.substr(0, length);
    path.resize(path.size() * 2);
  }
}

}  // namespace

std::string HelpFilePath() { return SplitTarget(ProgramPath(), PlatformPathRules()).TargetDir + kHelpFileName; }

}  // namespace kelbrin::ui
