#pragma once

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>

#include "Stretch.h"

namespace kelbrin {

// A row that applies to every byte the state's other rows do not name.
inline constexpr int kAnyOtherByte = -1;

// Whether a row writes the byte it read, after its own bytes.
enum class Echo : bool { Drop, Write };

// One row of a byte rule's state table: in `state`, reading `byte` writes
// `writes`, then the byte itself if `echo` says so, and moves to `next`.
// State 0 is the ground state, where a step starts and ends.
struct RuleRow {
  std::uint8_t state;
  int byte;
  std::string_view writes;
  Echo echo;
  std::uint8_t next;
};

// A byte rule's state table, compiled into one action per state and byte.
class ByteRule {
 public:
  static constexpr std::size_t kMaxStates = 4;
  static constexpr std::size_t kMaxWritten = 4;

  struct Action {
    std::uint8_t count;
    std::array<std::uint8_t, kMaxWritten> bytes;
    std::uint8_t next;
  };

  explicit ByteRule(std::span<const RuleRow> rows);

  const Action& On(std::uint8_t state, std::uint8_t byte) const { return actions_[state][byte]; }

  // The input ended in `state`: the rule writes what its any-other-byte row
  // would write before the byte, as if a byte that writes nothing followed.
  const Action& AtEnd(std::uint8_t state) const { return atEnd_[state]; }

  // What the block path may pass over in `state`, read off the actions.
  const Stretch& StretchIn(std::uint8_t state) const { return stretches_[state]; }

 private:
  Stretch PlanStretch(std::uint8_t state) const;
  bool PairBreaks(std::uint8_t state, std::uint8_t lead, Stretch& stretch) const;
  void PlanRun(std::uint8_t state, std::uint8_t lead, Stretch& stretch) const;

  std::array<std::array<Action, 256>, kMaxStates> actions_{};
  std::array<Action, kMaxStates> atEnd_{};
  std::array<Stretch, kMaxStates> stretches_{};
};

// A rule at work on one stream: the table and the state between two bytes.
// It writes to a sink, which takes any number of bytes with
//   Write(const std::uint8_t* bytes, std::size_t count)
// and the few bytes of one step with
//   WriteFew(const std::array<std::uint8_t, N>& bytes, std::size_t count),
// where count <= N: a sink may copy all N bytes at once and keep `count`.
class RuleRunner {
 public:
  explicit RuleRunner(const ByteRule& rule) : rule_(rule) {}

  template <class Sink>
  void Feed(std::uint8_t byte, Sink& out) {
    state_ = Step(state_, byte, out);
  }

  // The same bytes as feeding one byte at a time, whatever the blocks: plain
  // stretches are found many bytes at a time and written in one piece, whole
  // runs of a stop that brings the state back are written at once, and only
  // the other bytes take single steps. Where the stretches come out short,
  // looking for them costs more than it saves: such text is stepped through
  // for a while before the block path is tried again.
  template <class Sink>
  void Feed(const std::uint8_t* bytes, std::size_t count, Sink& out) {
    const std::uint8_t* const end = bytes + count;
    if (count < kWorthScanning || bytesToStep_ > 0) {
      bytesToStep_ -= std::min<std::uint64_t>(bytesToStep_, count);
      std::uint8_t state = state_;
      while (bytes != end) state = Step(state, *bytes++, out);
      state_ = state;
      return;
    }
    std::uint8_t state = state_;  // a local, which writes to the sink cannot touch
    std::size_t stops = 0;
    while (bytes != end) {
      const Stretch& stretch = rule_.StretchIn(state);
      if (stretch.kind != Stretch::Kind::None) {
        bytes = PassStretch(stretch, bytes, end, out);
        if (bytes == end) break;
        ++stops;
        if (const std::size_t runs = stretch.WholeRunsAt(bytes, end)) {
          out.WriteFew(stretch.runWrites, runs * stretch.runWriteCount);
          bytes += runs * stretch.runLength;
          continue;
        }
      }
      state = Step(state, *bytes++, out);
    }
    state_ = state;
    Measure(count, stops);
  }

  template <class Sink>
  void Finish(Sink& out) {
    const ByteRule::Action& action = rule_.AtEnd(state_);
    out.WriteFew(action.bytes, action.count);
    state_ = action.next;
  }

 private:
  // Below this, looking for a stretch costs more than stepping.
  static constexpr std::size_t kWorthScanning = 8;
  // Text whose stretches come out shorter than kShortStretch on average, over
  // kMeasuredBytes, is stepped through for the next kSteppedBytes.
  static constexpr std::uint64_t kShortStretch = 8;
  static constexpr std::uint64_t kMeasuredBytes = 64 * 1024;
  static constexpr std::uint64_t kSteppedBytes = 256 * 1024;

  void Measure(std::size_t count, std::size_t stops) {
    measuredBytes_ += count;
    measuredStops_ += stops;
    if (measuredBytes_ < kMeasuredBytes) return;
    if (measuredStops_ * kShortStretch > measuredBytes_) bytesToStep_ = kSteppedBytes;
    measuredBytes_ = measuredStops_ = 0;
  }

  template <class Sink>
  std::uint8_t Step(std::uint8_t state, std::uint8_t byte, Sink& out) const {
    const ByteRule::Action& action = rule_.On(state, byte);
    out.WriteFew(action.bytes, action.count);
    return action.next;
  }

  // Writes the plain stretch from `bytes` on, if any, and returns its end.
  template <class Sink>
  static const std::uint8_t* PassStretch(const Stretch& stretch, const std::uint8_t* bytes, const std::uint8_t* end,
                                         Sink& out) {
    if (stretch.EndsAt(bytes, end)) return bytes;
    const std::uint8_t* const stop = FindStretchEnd(stretch, bytes, end);
    if (stretch.kind == Stretch::Kind::Copy) out.Write(bytes, static_cast<std::size_t>(stop - bytes));
    return stop;
  }

  const ByteRule& rule_;
  std::uint8_t state_ = 0;
  std::uint64_t bytesToStep_ = 0;  // before the block path is tried again
  std::uint64_t measuredBytes_ = 0;
  std::uint64_t measuredStops_ = 0;
};

}  // namespace kelbrin
