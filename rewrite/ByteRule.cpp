#include "ByteRule.h"

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

ByteRule::ByteRule(std::span<const RuleRow> rows, BlockPath blockPath) : blockPath_(blockPath) {
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

}  // namespace kelbrin
