#pragma once

#include <windows.h>

#include <optional>
#include <string>

namespace kelbrin::ui {

// The file-open dialog. It remembers, for as long as the program runs, the
// filter entry and the full path of the last file confirmed in it, and opens
// on them next time.
class TOpenDialog {
 public:
  // The full path confirmed, or nothing when the user cancels.
  std::optional<std::string> Execute(HWND owner);

  DWORD FilterIndex() const { return filterIndex_; }
  const std::string& FileName() const { return fileName_; }

 private:
  DWORD filterIndex_ = 1;  // the first entry counts as 1
  std::string fileName_;
};

}  // namespace kelbrin::ui
