#include "ByteRule.h"

#include <algorithm>
#include <optional>
#include <stdexcept>

namespace kelbrin {
namespace {

ByteRule::Action Compile(const RuleRow& row, std::optional<std::uint8_t> byteRead) {
  ByteRule::Action action{};
  const std::size_t written = row.writes.size() + (byteRead ? 1 : 0);
  if (written > ByteRule::kMaxWritten) throw std::logic_error("rule row writes too many bytes");
  for (char c : row.writes) action.bytes[action.count++] = static_cast<std::uint8_t>(c);
  if (byteRead) action.bytes[action.count++] = *byteRead;
  action.next = row.next;
  return action;
}

}  // namespace

ByteRule::ByteRule(std::span<const RuleRow> rows) {
  // Rows that name a byte take precedence over the state's any-other-byte row,
  // whatever their order in the table.
  for (const RuleRow& row : rows) {
    if (row.state >= kMaxStates || row.next >= kMaxStates) throw std::logic_error("rule state out of range");
    if (row.byte != kAnyOtherByte) continue;
    for (int b = 0; b < 256; ++b) {
      const auto byte = static_cast<std::uint8_t>(b);
      actions_[row.state][b] = Compile(row, row.echo == Echo::Write ? std::optional(byte) : std::nullopt);
    }
    atEnd_[row.state] = Compile(row, std::nullopt);
    atEnd_[row.state].next = 0;
  }
  for (const RuleRow& row : rows) {
    if (row.byte == kAnyOtherByte) continue;
    const auto byte = static_cast<std::uint8_t>(row.byte);
    actions_[row.state][byte] = Compile(row, row.echo == Echo::Write ? std::optional(byte) : std::nullopt);
  }
  for (std::size_t state = 0; state < kMaxStates; ++state) {
    stretches_[state] = PlanStretch(static_cast<std::uint8_t>(state));
  }
}

namespace {

// Whether `action`, for `byte` read in `state`, is part of a stretch of `kind`.
bool Stays(const ByteRule::Action& action, std::uint8_t state, Stretch::Kind kind, std::uint8_t byte) {
  if (action.next != state) return false;
  return kind == Stretch::Kind::Copy ? action.count == 1 && action.bytes[0] == byte : action.count == 0;
}

// Keeps up to kMaxStops bytes, repeating the first in unused places; false
// when there are none or too many.
bool FillStops(std::span<const std::uint8_t> bytes, std::array<std::uint8_t, Stretch::kMaxStops>& into) {
  if (bytes.empty() || bytes.size() > into.size()) return false;
  into.fill(bytes[0]);
  std::copy(bytes.begin(), bytes.end(), into.begin());
  return true;
}

}  // namespace

// A state gets a stretch when all but a few bytes leave it alone in the same
// way; the block path is then free to pass over them in bulk.
Stretch ByteRule::PlanStretch(std::uint8_t state) const {
  for (const Stretch::Kind kind : {Stretch::Kind::Copy, Stretch::Kind::Drop}) {
    std::array<std::uint8_t, 256> stops{};
    std::size_t count = 0;
    for (int b = 0; b < 256; ++b) {
      const auto byte = static_cast<std::uint8_t>(b);
      if (!Stays(actions_[state][b], state, kind, byte)) stops[count++] = byte;
    }
    Stretch stretch{kind};
    if (count == 256 || !FillStops(std::span(stops).first(count), stretch.stops)) continue;
    stretch.breaks = stretch.stops;
    if (count == 1) {
      PlanRun(state, stops[0], stretch);
      stretch.pairs = kind == Stretch::Kind::Copy && PairBreaks(state, stops[0], stretch);
    }
    return stretch;
  }
  return {};
}

// Follows `lead` read again and again from `state`; when that comes back to
// the state, writing little, the stretch takes whole runs of it at once.
void ByteRule::PlanRun(std::uint8_t state, std::uint8_t lead, Stretch& stretch) const {
  std::array<std::uint8_t, Stretch::kMaxRunLength * kMaxWritten> writes{};
  std::size_t count = 0;
  std::uint8_t at = state;
  for (std::size_t length = 1; length <= Stretch::kMaxRunLength; ++length) {
    const Action& step = actions_[at][lead];
    std::copy_n(step.bytes.begin(), step.count, writes.begin() + count);
    count += step.count;
    at = step.next;
    if (at != state) continue;
    if (count > Stretch::kMaxRunWrites) return;
    stretch.runLength = static_cast<std::uint8_t>(length);
    stretch.runWriteCount = static_cast<std::uint8_t>(count);
    for (std::size_t run = 0; run < Stretch::kMaxRunsAtOnce; ++run)
      std::copy_n(writes.begin(), count, stretch.runWrites.begin() + run * count);
    for (std::size_t stops = 0; stops < stretch.wholeRuns.size(); ++stops)
      stretch.wholeRuns[stops] = static_cast<std::uint8_t>(std::min(stops / length, Stretch::kMaxRunsAtOnce));
    return;
  }
}

// Finds the bytes after `lead` that do not make a pair written as read, and
// keeps them as the stretch's breaks when the pairs can be taken in bulk.
bool ByteRule::PairBreaks(std::uint8_t state, std::uint8_t lead, Stretch& stretch) const {
  const Action& first = actions_[state][lead];
  if (first.count != 0 || first.next == state) return false;
  std::array<std::uint8_t, 256> breaks{};
  std::size_t count = 0;
  for (int b = 0; b < 256; ++b) {
    const Action& second = actions_[first.next][b];
    const bool asRead = second.next == state && second.count == 2 && second.bytes[0] == lead && second.bytes[1] == b;
    if (!asRead) breaks[count++] = static_cast<std::uint8_t>(b);
  }
  // A pair must never end on the stop itself, or its second byte would be
  // taken for the start of another.
  if (std::find(breaks.begin(), breaks.begin() + count, lead) == breaks.begin() + count) return false;
  return FillStops(std::span(breaks).first(count), stretch.breaks);
}

}  // namespace kelbrin
