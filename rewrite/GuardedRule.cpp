#include "GuardedRule.h"

#include <stdexcept>

namespace kelbrin {
namespace {

// What the guarded rule reads for a byte of a literal.
constexpr std::uint8_t StandIn(std::uint8_t byte) { return byte == ' ' ? 'x' : byte; }

// Room for what any one step stores.
using StepBuffer = std::array<std::uint8_t, 2 * (ByteRule::kMaxHeld + kBlockSlack)>;

}  // namespace

GuardedRule::GuardedRule(const ByteRule& lexer, std::span<const std::uint8_t> literalStates, const ByteRule& guarded)
    : ByteRule(StepEach, 1 + guarded.Parts(), std::max<std::size_t>(guarded.MostWritten(), 1)),
      lexer_(lexer),
      guarded_(guarded) {
  if (lexer.Parts() != 1 || lexer.States() == 0) throw std::logic_error("a guard's lexer is one table");
  for (std::uint8_t state : literalStates) literal_[state] = true;
  for (std::size_t state = 0; state < lexer.States(); ++state) {
    for (const std::uint8_t starts : {std::uint8_t{' '}, std::uint8_t{'\t'}}) {
      if (!literal_[state] && literal_[lexer.On(static_cast<std::uint8_t>(state), starts).next]) {
        throw std::logic_error("a literal starts with a blank or a tab");
      }
    }
  }
  for (int b = 0; b < 256; ++b) {
    const auto byte = static_cast<std::uint8_t>(b);
    resets_[b] = lexer.Resets(byte) && guarded.Resets(byte) && byte == StandIn(byte);
    writesLast_[b] = guarded.WritesLast(byte);
  }
}

std::uint8_t* GuardedRule::Step(RulePart* state, std::uint8_t byte, std::uint8_t* out) const {
  const bool literal = literal_[state->at];
  StepBuffer lexed;
  lexer_.Step(state, byte, lexed.data());
  if (!literal) return guarded_.Step(state + 1, byte, out);
  StepBuffer ignored;
  guarded_.Step(state + 1, StandIn(byte), ignored.data());
  *out = byte;
  return out + 1;
}

std::uint8_t* GuardedRule::Finish(RulePart* state, std::uint8_t* out) const {
  StepBuffer lexed;
  lexer_.Finish(state, lexed.data());
  return guarded_.Finish(state + 1, out);
}

}  // namespace kelbrin
