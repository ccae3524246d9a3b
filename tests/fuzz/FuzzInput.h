#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "ByteMasks.h"
#include "ByteRule.h"
#include "RuleHarness.h"

namespace kelbrin::fuzz {

// What a fuzz input holds: a byte of switches, a byte that counts the block
// lengths that follow, those lengths, and then the text. Too short an input
// leaves the rest empty.
struct FuzzInput {
  std::uint8_t switches = 0;
  std::vector<std::size_t> blockLengths;
  std::string_view text;

  bool Switch(int bit) const { return (switches >> bit) & 1; }

  // The width of the block path to check, from the top two switches: each
  // that this processor runs gets its turn.
  Width BlockWidth() const { return Widths()[(switches >> 6) % Widths().size()]; }
};

inline FuzzInput ParseFuzzInput(const std::uint8_t* data, std::size_t size) {
  FuzzInput input;
  std::size_t at = 0;
  if (at < size) input.switches = data[at++];
  const std::size_t lengths = at < size ? data[at++] : 0;
  for (std::size_t i = 0; i < lengths && at < size; ++i) input.blockLengths.push_back(data[at++]);
  input.text = {reinterpret_cast<const char*>(data + at), size - at};
  return input;
}

// The text cut into blocks of the given lengths, taken in turn over and over;
// zero-length blocks stay in. Lengths that are all zero leave one block.
inline std::vector<std::string_view> CutIntoBlocks(std::string_view text, const std::vector<std::size_t>& lengths) {
  std::size_t total = 0;
  for (std::size_t length : lengths) total += length;
  if (total == 0) return {text};
  std::vector<std::string_view> blocks;
  for (std::size_t i = 0; !text.empty(); ++i) {
    const std::size_t length = std::min(lengths[i % lengths.size()], text.size());
    blocks.push_back(text.substr(0, length));
    text.remove_prefix(length);
  }
  return blocks;
}

// A property that does not hold stops the run, which the fuzzer reports with
// the input that broke it.
inline void Require(bool holds, const char* property) {
  if (holds) return;
  std::fprintf(stderr, "property broken: %s\n", property);
  std::abort();
}

// The text through a rule one byte at a time, the way the rule is defined.
inline std::string FeedByteByByte(const ByteRule& rule, std::string_view text) {
  RuleRunner runner(rule);
  test::StringSink out;
  for (char c : text) runner.Feed(static_cast<std::uint8_t>(c), out);
  runner.Finish(out);
  return out.bytes;
}

// The same through the block form, one call per block.
inline std::string FeedInBlocks(const ByteRule& rule, const std::vector<std::string_view>& blocks) {
  RuleRunner runner(rule);
  test::StringSink out;
  for (std::string_view block : blocks)
    runner.Feed(reinterpret_cast<const std::uint8_t*>(block.data()), block.size(), out);
  runner.Finish(out);
  return out.bytes;
}

// Whether every byte of `output` is a byte that occurs in `input`, or one of
// `extra`.
inline bool BytesComeFrom(std::string_view output, std::string_view input, std::string_view extra) {
  bool seen[256] = {};
  for (char c : input) seen[static_cast<std::uint8_t>(c)] = true;
  for (char c : extra) seen[static_cast<std::uint8_t>(c)] = true;
  for (char c : output)
    if (!seen[static_cast<std::uint8_t>(c)]) return false;
  return true;
}

inline std::size_t CountOf(std::string_view text, char byte) {
  return static_cast<std::size_t>(std::count(text.begin(), text.end(), byte));
}

// Whether `part` is `whole` with bytes left out, none added or reordered.
inline bool IsSubsequence(std::string_view part, std::string_view whole) {
  std::size_t at = 0;
  for (char c : whole)
    if (at < part.size() && part[at] == c) ++at;
  return at == part.size();
}

inline std::string WithoutBlanksAndTabs(std::string_view text) {
  std::string rest;
  for (char c : text)
    if (c != ' ' && c != '\t') rest += c;
  return rest;
}

}  // namespace kelbrin::fuzz
