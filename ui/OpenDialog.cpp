#include "OpenDialog.h"

#include <commdlg.h>

#include <algorithm>
#include <string_view>

#include "DialogPlacement.h"
#include "PlatformCalls.h"
#include "Text.h"

namespace kelbrin::ui {
namespace {

// Descriptions and patterns, each followed by "|".
constexpr std::string_view kFilter =
    "Dlephiソースファイル|*.pas|Cソースファイル|*.c|C++ソースファイル|*.cpp|Javaソースファイル|*.java|全てのファイル|*.*";

// The dialog wants each entry ended by a NUL and the list by another, in the
// ANSI code page. The bars are replaced before the conversion: in code page
// 932 the bar's byte can be the second byte of a character.
std::string AnsiFilter() {
  std::wstring filter = FromUtf8(kFilter);
  std::replace(filter.begin(), filter.end(), L'|', L'\0');
  filter.append(2, L'\0');
  return Narrow(filter, CP_ACP);
}

}  // namespace

std::optional<std::string> TOpenDialog::Execute(HWND owner) {
  const std::string filter = AnsiFilter();
  char file[MAX_PATH] = {};
  fileName_.copy(file, MAX_PATH - 1);

  OPENFILENAMEA dialog{};
  dialog.lStructSize = sizeof dialog;
  dialog.hwndOwner = owner;
  dialog.lpstrFilter = filter.c_str();
  dialog.nFilterIndex = filterIndex_;
  dialog.lpstrFile = file;
  dialog.nMaxFile = MAX_PATH;
  dialog.Flags = OFN_EXPLORER | OFN_HIDEREADONLY;

  const DialogPlacement placement;
  if (!Platform().getOpenFileName(&dialog)) return std::nullopt;
  filterIndex_ = dialog.nFilterIndex;
  fileName_ = file;
  return fileName_;
}

}  // namespace kelbrin::ui
