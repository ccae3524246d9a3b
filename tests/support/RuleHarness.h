#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "ByteMasks.h"
#include "ByteRule.h"

namespace kelbrin::test {

// Collects what a rule writes.
struct StringSink {
  std::string bytes;
  std::uint8_t* Room(std::size_t count) {
    const std::size_t used = bytes.size();
    bytes.resize(used + count);
    return Data() + used;
  }
  void Commit(std::uint8_t* end) { bytes.resize(static_cast<std::size_t>(end - Data())); }

 private:
  std::uint8_t* Data() { return reinterpret_cast<std::uint8_t*>(bytes.data()); }
};

// For test names and messages.
inline const char* WidthName(Width width) {
  const char* const names[] = {"scalar", "sse2", "avx2"};
  return names[static_cast<int>(width)];
}

inline const std::uint8_t* BytesOf(std::string_view text) { return reinterpret_cast<const std::uint8_t*>(text.data()); }

// The whole input through one rule, to its end, in memory.
inline std::string ApplyRule(const ByteRule& rule, std::string_view input) {
  RuleRunner runner(rule);
  StringSink out;
  runner.Feed(BytesOf(input), input.size(), out);
  runner.Finish(out);
  return out.bytes;
}

// The same through the rule's definition, one byte at a time.
inline std::string ApplyRuleByteByByte(const ByteRule& rule, std::string_view input) {
  RuleRunner runner(rule);
  StringSink out;
  for (char c : input) runner.Feed(static_cast<std::uint8_t>(c), out);
  runner.Finish(out);
  return out.bytes;
}

// The same through the block path, the input cut into blocks of the given
// sizes in turn (repeated until the input is used up; an empty block is fed
// as such, so at least one size must be positive).
inline std::string ApplyRuleInBlocks(const ByteRule& rule, std::string_view input,
                                     std::span<const std::size_t> blockSizes) {
  RuleRunner runner(rule);
  StringSink out;
  for (std::size_t at = 0, i = 0; at < input.size(); i = (i + 1) % blockSizes.size()) {
    const std::string_view block = input.substr(at, blockSizes[i]);
    runner.Feed(BytesOf(block), block.size(), out);
    at += block.size();
  }
  runner.Finish(out);
  return out.bytes;
}

// Source-like lines with every shape the rules care about, some of them
// long enough to cross a stream's read blocks.
inline std::string SourceLikeText(std::size_t lines) {
  const std::string shapes[] = {
      "    x := a / b;  // note\r\n", "\tif a then  // \x83\x5c//\r\n", "s := 'http://x';   \r\n",
      "  /* a // b */\n",             "        y  :=  1;\r\n",         "   \t//\r// \t  \n",
      "a/ /b  /",                     std::string(70, ' ') + "//" + std::string(9, '/') + "\r\n",
  };
  std::string text;
  for (std::size_t i = 0; i < lines; ++i) text += shapes[(i * 7 + i / 3) % std::size(shapes)];
  return text;
}

// Test tables write a blank as B and a tab as T, as the rule's own tables do.
inline std::string Blanks(std::string_view pattern) {
  std::string bytes(pattern);
  for (char& c : bytes) c = c == 'B' ? ' ' : c == 'T' ? '\t' : c;
  return bytes;
}

}  // namespace kelbrin::test
