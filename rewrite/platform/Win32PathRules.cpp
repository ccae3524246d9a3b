#include <windows.h>

#include "../SplitTarget.h"

namespace kelbrin {
namespace {

LeadByteSet ReadLeadBytes() {
  CPINFO info{};
  if (!GetSystemMetrics(SM_DBCSENABLED) || !GetCPInfo(CP_ACP, &info)) return {};
  return LeadBytesFromRanges(info.LeadByte);
}

}  // namespace

// The slash separates like the backslash: Windows accepts both, and a path
// such as C:/work/a.pas must not put the backup into a folder "C:ComOld_".
const PathRules& PlatformPathRules() {
  static const PathRules rules{"\\:/", ReadLeadBytes()};
  return rules;
}

}  // namespace kelbrin
