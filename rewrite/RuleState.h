#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

namespace kelbrin {

// What a raw string's closing must repeat: the delimiter between its R" and
// its opening parenthesis, at most 16 bytes, and how much of it the bytes
// after a closing parenthesis have matched so far.
struct RawDelimiter {
  static constexpr std::size_t kMaxLength = 16;
  std::array<std::uint8_t, kMaxLength> bytes{};
  std::uint8_t length = 0;
  std::uint8_t matched = 0;

  bool operator==(const RawDelimiter&) const = default;
};

// What the tab-stop rule keeps: the column the next byte stands in, the
// blanks it holds back, and in UTF-8 the character whose bytes it is reading.
struct Columns {
  std::uint64_t column = 0;
  std::uint8_t pending = 0;
  std::uint8_t awaiting = 0;  // continuation bytes the character still needs
  char32_t codePoint = 0;

  bool operator==(const Columns&) const = default;
};

// One table's state between two bytes, with the data its steps keep.
struct RulePart {
  std::uint8_t at = 0;
  RawDelimiter delimiter;
  Columns columns;

  bool operator==(const RulePart&) const = default;
};

// A rule's state between two bytes: one part for each table in it. A rule of
// one table uses the first; a chain of two rules, or a lexer and the rule it
// guards, give each of their rules parts of its own, in order.
struct RuleState {
  static constexpr std::size_t kParts = 4;
  std::array<RulePart, kParts> parts{};

  bool operator==(const RuleState&) const = default;
};

}  // namespace kelbrin
