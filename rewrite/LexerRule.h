#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "ByteMasks.h"
#include "ByteRule.h"
#include "Lexer.h"

namespace kelbrin {

// A lexer's table as a rule. Its block path passes over a lexer's runs a
// chunk at a time: in the states of a run, every byte but a few (the run's
// stops) keeps the lexer in the run, written as read or dropped alike, so
// only the stops take the table's steps. Where the state within the run
// matters (at a stop whose step differs between the run's states, and at a
// chunk's end), the steps are taken again from the run's last byte that
// brings every state of the run to its first state.
class LexerRule final : public ByteRule {
 public:
  static constexpr std::size_t kMostStops = 8;
  static constexpr std::size_t kMostRuns = 16;

  // A stop that leads to a state of one byte's look-ahead, which for most
  // bytes writes the stop and reads the byte as the run's first state does:
  // only a stop that one of its few followers follows needs the steps.
  struct Pair {
    std::uint8_t lead = 0;
    std::array<std::uint8_t, kMostStops> followers{};
    std::uint8_t followerCount = 0;
    std::array<bool, 256> follows{};
  };

  struct Run {
    std::array<std::uint8_t, kMostStops> stops{};  // the pairs' leads not among them
    std::uint8_t stopCount = 0;
    std::array<Pair, 2> pairs{};
    std::uint8_t pairCount = 0;
    std::uint8_t first = 0;
    bool echo = true;
    bool single = true;
    std::array<bool, 256> resets{};   // bytes after which the run is in its first state
    std::array<bool, 256> uniform{};  // stops whose step is the same from every state of the run
  };

  // Which states a guard takes for a literal's.
  using Literals = std::array<bool, kMaxStates>;

  // Reads bytes from `state` on, writing nothing, while `literal` says the
  // same of every state a byte is read in as of the first; returns how many.
  using ScanPath = std::size_t (*)(const LexerRule& rule, RulePart& state, const std::uint8_t* bytes,
                                   std::size_t count, const Literals& literal);

  // The same, writing what the steps write at `out` (with room for it and
  // kBlockSlack); `read` tells how many bytes it read.
  using ScanWritingPath = std::uint8_t* (*)(const LexerRule& rule, RulePart& state, const std::uint8_t* bytes,
                                            std::size_t count, const Literals& literal, std::uint8_t* out,
                                            std::size_t& read);

  LexerRule(const LexerTable& table, Width width = Widest());

  const Run* RunOf(std::uint8_t state) const { return runOf_[state] < runs_.size() ? &runs_[runOf_[state]] : nullptr; }
  std::size_t RunIndex(std::uint8_t state) const { return runOf_[state]; }
  std::size_t RunCount() const { return runs_.size(); }

  std::size_t Scan(RulePart& state, const std::uint8_t* bytes, std::size_t count, const Literals& literal) const {
    return scanPath_(*this, state, bytes, count, literal);
  }
  std::uint8_t* ScanWriting(RulePart& state, const std::uint8_t* bytes, std::size_t count, const Literals& literal,
                            std::uint8_t* out, std::size_t& read) const {
    return scanWritingPath_(*this, state, bytes, count, literal, out, read);
  }

  // The state after the run's plain bytes from `start` to `stop`, read from
  // `at` on.
  std::uint8_t AfterRun(const Run& run, std::uint8_t at, const std::uint8_t* bytes, std::size_t start,
                        std::size_t stop) const;

  std::uint8_t* StepOn(RulePart& part, std::uint8_t byte, std::uint8_t* out) const { return TableStep(part, byte, out); }

 private:
  void FindRun(std::span<const std::uint8_t> listed);
  bool FindPair(Run& run, std::span<const std::uint8_t> states, const std::array<bool, 256>& stops,
                std::uint8_t lead);

  std::vector<Run> runs_;
  std::array<std::size_t, kMaxStates> runOf_;
  ScanPath scanPath_;
  ScanWritingPath scanWritingPath_;
};

}  // namespace kelbrin
