#include "SplitTarget.h"

namespace kelbrin {
namespace {

bool IsSecondByte(std::string_view path, std::size_t at, const LeadByteSet& leadBytes) {
  std::size_t leads = 0;
  while (leads < at && leadBytes[static_cast<std::uint8_t>(path[at - leads - 1])]) ++leads;
  return leads % 2 == 1;
}

}  // namespace

TargetFile SplitTarget(std::string_view path, const PathRules& rules) {
  std::size_t at = path.size();
  while (at > 0) {
    --at;
    if (rules.separators.find(path[at]) == std::string::npos) continue;
    if (IsSecondByte(path, at, rules.leadBytes)) {
      --at;  // skip the lead byte of that pair too
      continue;
    }
    return {std::string(path.substr(0, at + 1)), std::string(path.substr(at + 1))};
  }
  return {"", std::string(path)};
}

LeadByteSet LeadBytesFromRanges(std::span<const std::uint8_t> pairs) {
  LeadByteSet set;
  for (std::size_t i = 0; i + 1 < pairs.size() && (pairs[i] != 0 || pairs[i + 1] != 0); i += 2)
    for (unsigned b = pairs[i]; b <= pairs[i + 1]; ++b) set.set(b);
  return set;
}

}  // namespace kelbrin
