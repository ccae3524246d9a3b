#include "ByteRule.h"

#include <algorithm>
#include <array>
#include <optional>
#include <stdexcept>
#include <vector>

namespace kelbrin {
namespace {

void Append(ByteRule::Action& action, std::uint8_t byte) {
  if (action.count == ByteRule::kMaxWritten) throw std::logic_error("rule step writes too many bytes");
  action.bytes[action.count++] = byte;
}

ByteRule::Action Compile(std::string_view writes, std::optional<std::uint8_t> byteRead, std::uint8_t next) {
  ByteRule::Action action{};
  for (char c : writes) Append(action, static_cast<std::uint8_t>(c));
  if (byteRead) Append(action, *byteRead);
  action.next = next;
  return action;
}

ByteRule::Action Compile(const RuleRow& row, std::uint8_t byte) {
  return Compile(row.writes, row.echo == Echo::Write ? std::optional(byte) : std::nullopt, row.next);
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

std::size_t StatesOf(const RuleTable& table) {
  std::size_t states = 0;
  for (const RuleRow& row : table.rows) states = std::max<std::size_t>({states, row.state + 1u, row.next + 1u});
  for (const Fallback& fallback : table.fallbacks) {
    states = std::max<std::size_t>({states, fallback.state + 1u, fallback.as + 1u});
  }
  return states;
}

bool IsSmallPlainTable(const ByteRule& rule) {
  if (rule.States() == 0 || rule.States() > ByteRule::kSmallStates || rule.Parts() != 1) return false;
  for (std::size_t state = 0; state < rule.States(); ++state) {
    if (rule.KeepsData(static_cast<std::uint8_t>(state))) return false;
  }
  return true;
}

}  // namespace

bool InClass(int byteClass, std::uint8_t byte) {
  switch (byteClass) {
    case kDigitByte: return byte >= '0' && byte <= '9';
    case kWordByte:
      return (byte >= 'a' && byte <= 'z') || (byte >= 'A' && byte <= 'Z') || byte == '_' || byte == '$' ||
             byte >= 0x80;
    case kLeadByte: return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC);
    case kTrailByte: return (byte >= 0x40 && byte <= 0x7E) || (byte >= 0x80 && byte <= 0xFC);
  }
  return false;
}

void ByteRule::Allocate(std::size_t states) {
  if (states > kMaxStates) throw std::logic_error("rule has too many states");
  states_ = states;
  actions_ = std::make_unique<Action[]>(states * 256);
  atEnd_ = std::make_unique<Action[]>(states);
}

void ByteRule::CompileTable(const RuleTable& table) {
  Allocate(StatesOf(table));
  // What each state's rows name: 0 nothing, 1 a class, 2 the byte itself.
  std::vector<std::array<std::uint8_t, 256>> named(states_);
  for (const RuleRow& row : table.rows) {
    if (row.byte != kAnyOtherByte) continue;
    for (int b = 0; b < 256; ++b) actions_[row.state * 256u + b] = Compile(row, static_cast<std::uint8_t>(b));
    atEnd_[row.state] = Compile(row.writes, std::nullopt, 0);
  }
  // Rows for classes, the first of a state taking a byte; then rows for bytes.
  for (const RuleRow& row : table.rows) {
    if (row.byte >= kAnyOtherByte) continue;
    for (int b = 0; b < 256; ++b) {
      const auto byte = static_cast<std::uint8_t>(b);
      if (!InClass(row.byte, byte) || named[row.state][byte] != 0) continue;
      actions_[row.state * 256u + byte] = Compile(row, byte);
      named[row.state][byte] = 1;
    }
  }
  for (const RuleRow& row : table.rows) {
    if (row.byte < 0) continue;
    const auto byte = static_cast<std::uint8_t>(row.byte);
    actions_[row.state * 256u + byte] = Compile(row, byte);
    named[row.state][byte] = 2;
  }
  // Fallbacks in the order given, so that one may read as another that falls back.
  for (const Fallback& fallback : table.fallbacks) {
    for (int b = 0; b < 256; ++b) {
      if (named[fallback.state][b] != 0) continue;
      const Action& as = actions_[fallback.as * 256u + b];
      Action& action = actions_[fallback.state * 256u + b];
      action = Compile(fallback.writes, std::nullopt, as.next);
      for (std::size_t i = 0; i < as.count; ++i) Append(action, as.bytes[i]);
      named[fallback.state][b] = 1;
    }
    atEnd_[fallback.state] = Compile(fallback.writes, std::nullopt, 0);
    for (std::size_t i = 0; i < atEnd_[fallback.as].count; ++i) Append(atEnd_[fallback.state], atEnd_[fallback.as].bytes[i]);
  }
  keepData_ = table.keepData;
  for (std::uint8_t state : table.keepingStates) keeping_[state] = true;
}

void ByteRule::FindMostWritten() {
  for (std::size_t i = 0; i < states_ * 256; ++i) mostWritten_ = std::max<std::size_t>(mostWritten_, actions_[i].count);
}

void ByteRule::FindResets() {
  // The states the rule can reach from state 0; a chain's table has states
  // that no input leads to.
  std::array<bool, kMaxStates>& reachable = reachable_;
  reachable[0] = true;
  for (bool grew = true; grew;) {
    grew = false;
    for (std::size_t state = 0; state < states_; ++state) {
      for (int b = 0; reachable[state] && b < 256; ++b) {
        const std::uint8_t next = actions_[state * 256 + b].next;
        grew = grew || !reachable[next];
        reachable[next] = true;
      }
    }
  }
  for (int b = 0; b < 256; ++b) {
    resets_[b] = true;
    writesLast_[b] = true;
    for (std::size_t state = 0; state < states_; ++state) {
      if (!reachable[state]) continue;
      const Action& action = actions_[state * 256 + b];
      // Data a state keeps is the state's own, and gone once the table is back in state 0.
      if (action.next != 0) resets_[b] = false;
      if (action.count == 0 || action.bytes[action.count - 1] != b) writesLast_[b] = false;
    }
  }
}

void ByteRule::FindLiteralPassing() {
  for (std::size_t state = 0; state < states_; ++state) {
    bool passes = !keeping_[state];
    for (int b = 0; passes && b < 256; ++b) {
      const auto byte = static_cast<std::uint8_t>(b);
      const Action& action = On(static_cast<std::uint8_t>(state), LiteralStandIn(byte));
      passes = action.count == 1 && action.bytes[0] == LiteralStandIn(byte) && action.next == state;
    }
    passesLiterals_[state] = passes;
  }
}

ByteRule::ByteRule(std::span<const RuleRow> rows, BlockPath blockPath) : ByteRule(RuleTable{rows}, blockPath) {}

ByteRule::ByteRule(const RuleTable& table, BlockPath blockPath) : blockPath_(blockPath) {
  for (const RuleRow& row : table.rows) {
    if (row.byte < kTrailByte || row.byte > 255) throw std::logic_error("rule row names no byte");
  }
  CompileTable(table);
  FindMostWritten();
  FindResets();
  FindLiteralPassing();
}

ByteRule::ByteRule(const ByteRule& first, const ByteRule& second)
    : blockPath_(PipeThrough), first_(&first), second_(&second) {
  if (!IsSmallPlainTable(first) || !IsSmallPlainTable(second)) throw std::logic_error("rules too large to compose");
  Allocate(kSmallStates * kSmallStates);
  for (std::uint8_t one = 0; one < first.States(); ++one) {
    for (std::uint8_t two = 0; two < second.States(); ++two) {
      const auto state = static_cast<std::uint8_t>(one * kSmallStates + two);
      for (int b = 0; b < 256; ++b) {
        const Action& step = first.On(one, static_cast<std::uint8_t>(b));
        std::uint8_t then = two;
        Action& action = actions_[state * 256u + b];
        action = FeedOn(step, second, then);
        action.next = static_cast<std::uint8_t>(step.next * kSmallStates + then);
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

ByteRule::ByteRule(BlockPath blockPath, std::size_t parts, std::size_t mostWritten)
    : blockPath_(blockPath), mostWritten_(mostWritten), parts_(parts) {
  if (parts > RuleState::kParts) throw std::logic_error("rule needs too many parts");
}

ByteRule::ByteRule(const ByteRule& first, const ByteRule& second, BlockPath blockPath, std::size_t parts,
                   std::size_t mostWritten)
    : ByteRule(blockPath, parts, mostWritten) {
  first_ = &first;
  second_ = &second;
}

std::uint8_t* ByteRule::TableStep(RulePart& part, std::uint8_t byte, std::uint8_t* out) const {
  const std::uint8_t before = part.at;
  const Action& action = On(before, byte);
  part.at = action.next;
  if (keepData_ != nullptr && (keeping_[before] || keeping_[action.next])) keepData_(part, byte, before);
  return Write(action, out);
}

std::uint8_t* ByteRule::Step(RulePart* state, std::uint8_t byte, std::uint8_t* out) const {
  return TableStep(*state, byte, out);
}

std::uint8_t* ByteRule::Finish(RulePart* state, std::uint8_t* out) const {
  const Action& action = AtEnd(state->at);
  *state = RulePart{};
  return Write(action, out);
}

std::uint8_t* ByteRule::PassLiteral(RulePart* state, const std::uint8_t* bytes, std::size_t count,
                                    std::uint8_t* out) const {
  if (states_ > 0 && passesLiterals_[state->at]) {
    std::memcpy(out, bytes, count);
    return out + count;
  }
  std::array<std::uint8_t, 2 * (kMaxHeld + kBlockSlack)> ignored;
  for (std::size_t i = 0; i < count; ++i) {
    Step(state, LiteralStandIn(bytes[i]), ignored.data());
    out[i] = bytes[i];
  }
  return out + count;
}

std::uint8_t* StepThrough(const ByteRule& rule, RulePart* state, const std::uint8_t* bytes, std::size_t count,
                          std::uint8_t* out) {
  const std::uint8_t* const end = bytes + count;
  if (rule.keepData_ != nullptr) {
    for (; bytes != end; ++bytes) out = rule.TableStep(*state, *bytes, out);
    return out;
  }
  std::uint8_t at = state->at;
  for (; bytes != end; ++bytes) {
    const ByteRule::Action& action = rule.On(at, *bytes);
    out = Write(action, out);
    at = action.next;
  }
  state->at = at;
  return out;
}

std::uint8_t* StepEach(const ByteRule& rule, RulePart* state, const std::uint8_t* bytes, std::size_t count,
                       std::uint8_t* out) {
  for (const std::uint8_t* const end = bytes + count; bytes != end; ++bytes) out = rule.Step(state, *bytes, out);
  return out;
}

namespace {

// The first's block path into a small buffer, then the second's, a piece at
// a time, each on parts of its own.
std::uint8_t* PipePieces(const ByteRule& first, RulePart* firstState, const ByteRule& second, RulePart* secondState,
                         const std::uint8_t* bytes, std::size_t count, std::uint8_t* out) {
  // Small enough for the stack and for the fastest cache.
  std::array<std::uint8_t, 16 * 1024> middle;
  const std::size_t held = ByteRule::kMaxHeld + kBlockSlack;
  const std::size_t piece = (middle.size() - held) / std::max<std::size_t>(first.MostWritten(), 1);
  while (count > 0) {
    const std::size_t size = std::min(count, piece);
    const std::uint8_t* const end = first.Block(firstState, bytes, size, middle.data());
    out = second.Block(secondState, middle.data(), static_cast<std::size_t>(end - middle.data()), out);
    bytes += size;
    count -= size;
  }
  return out;
}

std::uint8_t* PipeBlocks(const ByteRule& rule, RulePart* state, const std::uint8_t* bytes, std::size_t count,
                         std::uint8_t* out) {
  return PipePieces(rule.First(), state, rule.Second(), state + rule.First().Parts(), bytes, count, out);
}

}  // namespace

std::uint8_t* PipeThrough(const ByteRule& rule, RulePart* state, const std::uint8_t* bytes, std::size_t count,
                          std::uint8_t* out) {
  RulePart one;
  RulePart two;
  one.at = static_cast<std::uint8_t>(state->at / ByteRule::kSmallStates);
  two.at = static_cast<std::uint8_t>(state->at % ByteRule::kSmallStates);
  out = PipePieces(rule.First(), &one, rule.Second(), &two, bytes, count, out);
  state->at = static_cast<std::uint8_t>(one.at * ByteRule::kSmallStates + two.at);
  return out;
}

RulePipe::RulePipe(const ByteRule& first, const ByteRule& second)
    : ByteRule(first, second, PipeBlocks, first.Parts() + second.Parts(),
               std::max<std::size_t>(first.MostWritten(), 1) * second.MostWritten()) {
  // One step writes what the second writes for what the first writes.
  for (int b = 0; b < 256; ++b) {
    const auto byte = static_cast<std::uint8_t>(b);
    writesLast_[b] = first.WritesLast(byte) && second.WritesLast(byte);
    resets_[b] = first.Resets(byte) && first.WritesLast(byte) && second.Resets(byte);
  }
}

std::uint8_t* RulePipe::Step(RulePart* state, std::uint8_t byte, std::uint8_t* out) const {
  std::array<std::uint8_t, 2 * (kMaxHeld + kBlockSlack)> middle;
  const std::uint8_t* const end = First().Step(state, byte, middle.data());
  RulePart* const second = state + First().Parts();
  for (const std::uint8_t* at = middle.data(); at != end; ++at) out = Second().Step(second, *at, out);
  return out;
}

std::uint8_t* RulePipe::Finish(RulePart* state, std::uint8_t* out) const {
  std::array<std::uint8_t, 2 * (kMaxHeld + kBlockSlack)> middle;
  const std::uint8_t* const end = First().Finish(state, middle.data());
  RulePart* const second = state + First().Parts();
  for (const std::uint8_t* at = middle.data(); at != end; ++at) out = Second().Step(second, *at, out);
  return Second().Finish(second, out);
}

}  // namespace kelbrin
