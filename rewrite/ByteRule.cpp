#include "ByteRule.h"

#include <algorithm>
#include <array>
#include <optional>
#include <stdexcept>

namespace kelbrin {
namespace {

void Append(ByteRule::Action& action, std::uint8_t byte) {
  if (action.count == ByteRule::kMaxWritten) throw std::logic_error("rule step writes too many bytes");
  action.bytes[action.count++] = byte;
}

ByteRule::Action Compile(const RuleRow& row, std::optional<std::uint8_t> byteRead) {
  ByteRule::Action action{};
  for (char c : row.writes) Append(action, static_cast<std::uint8_t>(c));
  if (byteRead) Append(action, *byteRead);
  action.next = row.next;
  return action;
}

// What `second`, in `state`, writes for the bytes `first` wrote, after them;
// `state` follows.
ByteRule::Action FeedOn(const ByteRule::Action& first, const ByteRule& second, std::uint8_t& state) {
  ByteRule::Action action{};
  for (std::size_t i = 0; i < first.count; ++i) {
    const ByteRule::Action& step = second.On(state, first.bytes[i]);
    for (std::size_t j = 0; j < step.count; ++j) Append(action, step.bytes[j]);
    state = step.next;
  }
  return action;
}

}  // namespace

void ByteRule::FindMostWritten() {
  for (const Action& action : actions_) mostWritten_ = std::max<std::size_t>(mostWritten_, action.count);
}

void ByteRule::FindResets() {
  // The states the rule can reach from state 0; a chain's table has states
  // that no input leads to.
  std::array<bool, kChainStates> reachable{};
  reachable[0] = true;
  for (bool grew = true; grew;) {
    grew = false;
    for (std::size_t state = 0; state < kChainStates; ++state) {
      for (int b = 0; reachable[state] && b < 256; ++b) {
        const std::uint8_t next = actions_[state * 256 + b].next;
        grew = grew || !reachable[next];
        reachable[next] = true;
      }
    }
  }
  for (int b = 0; b < 256; ++b) {
    resets_[b] = true;
    for (std::size_t state = 0; state < kChainStates; ++state) {
      if (reachable[state] && actions_[state * 256 + b].next != 0) resets_[b] = false;
    }
  }
}

ByteRule::ByteRule(std::span<const RuleRow> rows, BlockPath blockPath) : blockPath_(blockPath) {
  // Rows that name a byte take precedence over the state's any-other-byte row,
  // whatever their order in the table.
  for (const RuleRow& row : rows) {
    if (row.state >= kMaxStates || row.next >= kMaxStates) throw std::logic_error("rule state out of range");
    if (row.byte != kAnyOtherByte) continue;
    for (int b = 0; b < 256; ++b) {
      const auto byte = static_cast<std::uint8_t>(b);
      actions_[row.state * 256u + byte] = Compile(row, row.echo == Echo::Write ? std::optional(byte) : std::nullopt);
    }
    atEnd_[row.state] = Compile(row, std::nullopt);
    atEnd_[row.state].next = 0;
  }
  for (const RuleRow& row : rows) {
    if (row.byte == kAnyOtherByte) continue;
    const auto byte = static_cast<std::uint8_t>(row.byte);
    actions_[row.state * 256u + byte] = Compile(row, row.echo == Echo::Write ? std::optional(byte) : std::nullopt);
  }
  FindMostWritten();
  FindResets();
}

ByteRule::ByteRule(const ByteRule& first, const ByteRule& second)
    : blockPath_(PipeThrough), first_(&first), second_(&second) {
  for (std::uint8_t one = 0; one < kMaxStates; ++one) {
    for (std::uint8_t two = 0; two < kMaxStates; ++two) {
      const auto state = static_cast<std::uint8_t>(one * kMaxStates + two);
      for (int b = 0; b < 256; ++b) {
        const Action& step = first.On(one, static_cast<std::uint8_t>(b));
        std::uint8_t then = two;
        Action& action = actions_[state * 256u + b];
        action = FeedOn(step, second, then);
        action.next = static_cast<std::uint8_t>(step.next * kMaxStates + then);
      }
      // At the end, the second rule ends after what the first wrote.
      std::uint8_t then = two;
      Action& action = atEnd_[state];
      action = FeedOn(first.AtEnd(one), second, then);
      const Action& last = second.AtEnd(then);
      for (std::size_t i = 0; i < last.count; ++i) Append(action, last.bytes[i]);
      action.next = 0;
    }
  }
  FindMostWritten();
  FindResets();
}

std::uint8_t* StepThrough(const ByteRule& rule, std::uint8_t& state, const std::uint8_t* bytes, std::size_t count,
                          std::uint8_t* out) {
  std::uint8_t at = state;
  for (const std::uint8_t* const end = bytes + count; bytes != end; ++bytes) {
    const ByteRule::Action& action = rule.On(at, *bytes);
    out = Write(action, out);
    at = action.next;
  }
  state = at;
  return out;
}

std::uint8_t* PipeThrough(const ByteRule& rule, std::uint8_t& state, const std::uint8_t* bytes, std::size_t count,
                          std::uint8_t* out) {
  // Small enough for the stack and for the fastest cache.
  std::array<std::uint8_t, 16 * 1024> middle;
  const ByteRule& first = rule.First();
  const std::size_t piece = (middle.size() - kBlockSlack) / std::max<std::size_t>(first.MostWritten(), 1);
  auto one = static_cast<std::uint8_t>(state / ByteRule::kMaxStates);
  auto two = static_cast<std::uint8_t>(state % ByteRule::kMaxStates);
  while (count > 0) {
    const std::size_t size = std::min(count, piece);
    const std::uint8_t* const end = first.Block(one, bytes, size, middle.data());
    out = rule.Second().Block(two, middle.data(), static_cast<std::size_t>(end - middle.data()), out);
    bytes += size;
    count -= size;
  }
  state = static_cast<std::uint8_t>(one * ByteRule::kMaxStates + two);
  return out;
}

}  // namespace kelbrin
