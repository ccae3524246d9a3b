#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "ByteRule.h"

namespace kelbrin::test {

// Collects what a rule writes.
struct StringSink {
  std::string bytes;
  void Write(const std::uint8_t* data, std::size_t count) { bytes.append(reinterpret_cast<const char*>(data), count); }
};

// The whole input through one rule, to its end, in memory.
inline std::string ApplyRule(const ByteRule& rule, std::string_view input) {
  RuleRunner runner(rule);
  StringSink out;
  runner.Feed(reinterpret_cast<const std::uint8_t*>(input.data()), input.size(), out);
  runner.Finish(out);
  return out.bytes;
}

// Test tables write a blank as B and a tab as T, as the rule's own tables do.
inline std::string Blanks(std::string_view pattern) {
  std::string bytes(pattern);
  for (char& c : bytes) c = c == 'B' ? ' ' : c == 'T' ? '\t' : c;
  return bytes;
}

}  // namespace kelbrin::test
