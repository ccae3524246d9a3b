#pragma once

#include <string>
#include <string_view>

namespace kelbrin {

// The backups' prefixes: the comment pass's and the tab pass's.
inline constexpr std::string_view kCommentBackupPrefix = "ComOld_";
inline constexpr std::string_view kTabBackupPrefix = "TabOld_";

// The n-th backup name a pass tries for a bare file name: the prefix and the
// name for the first, then " (n)" put before the extension, which starts at
// the name's last dot unless that dot is its first byte.
std::string BackupName(std::string_view prefix, std::string_view bareName, int n);

// Whether a bare file name is one that a pass gives its backups.
bool IsBackupName(std::string_view bareName);

}  // namespace kelbrin
