#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

#include "ByteRule.h"

namespace kelbrin {

// A sink that feeds what one rule writes straight into the next rule, so two
// rules run as one stream with no buffer between them.
template <class Sink>
class IntoRule {
 public:
  IntoRule(RuleRunner& rule, Sink& out) : rule_(rule), out_(out) {}
  void Write(const std::uint8_t* bytes, std::size_t count) { rule_.Feed(bytes, count, out_); }

  template <std::size_t N>
  void WriteFew(const std::array<std::uint8_t, N>& bytes, std::size_t count) {
    for (std::size_t i = 0; i < count; ++i) rule_.Feed(bytes[i], out_);
  }

 private:
  RuleRunner& rule_;
  Sink& out_;
};

}  // namespace kelbrin
