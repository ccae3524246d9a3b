#pragma once

#include <bitset>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "TargetFile.h"

namespace kelbrin {

// Bytes that start a double-byte character in the ANSI code page.
using LeadByteSet = std::bitset<256>;

// What splitting a path needs to know about the platform.
struct PathRules {
  std::string separators;
  LeadByteSet leadBytes;  // empty where the platform has no double-byte characters
};

// Splits a path after its last separator. A separator byte that is the second
// byte of a double-byte character does not count: that is decided by the
// parity of the lead bytes directly before it.
TargetFile SplitTarget(std::string_view path, const PathRules& rules);

// The lead-byte set from inclusive (first, last) pairs as the platform lists
// them, read up to the first empty pair.
LeadByteSet LeadBytesFromRanges(std::span<const std::uint8_t> pairs);

// The platform's rules, read once, on the first call: call it at start-up.
const PathRules& PlatformPathRules();

}  // namespace kelbrin
