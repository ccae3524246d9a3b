#include "BackupName.h"

namespace kelbrin {

std::string BackupName(std::string_view prefix, std::string_view bareName, int n) {
  std::string name(prefix);
  if (n <= 1) return name.append(bareName);
  const std::size_t dot = bareName.rfind('.');
  const std::size_t stemEnd = dot == std::string_view::npos || dot == 0 ? bareName.size() : dot;
  return name.append(bareName.substr(0, stemEnd))
      .append(" (" + std::to_string(n) + ")")
      .append(bareName.substr(stemEnd));
}

bool IsBackupName(std::string_view bareName) {
  return bareName.starts_with(kCommentBackupPrefix) || bareName.starts_with(kTabBackupPrefix);
}

}  // namespace kelbrin
