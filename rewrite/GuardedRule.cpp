#include "GuardedRule.h"

#include <stdexcept>

namespace kelbrin {
namespace {

// Room for what any one step stores.
using StepBuffer = std::array<std::uint8_t, 2 * (ByteRule::kMaxHeld + kBlockSlack)>;

std::uint8_t* GuardBlocks(const ByteRule& rule, RulePart* state, const std::uint8_t* bytes, std::size_t count,
                          std::uint8_t* out) {
  const auto& guard = static_cast<const GuardedRule&>(rule);
  while (count > 0) {
    const bool literal = guard.Literals()[state->at];
    const std::size_t stretch = guard.Lexer().Scan(*state, bytes, count, guard.Literals());
    out = literal ? guard.Guarded().PassLiteral(state + 1, bytes, stretch, out)
                  : guard.Guarded().Block(state + 1, bytes, stretch, out);
    bytes += stretch;
    count -= stretch;
  }
  return out;
}

// The lexer's output a piece at a time through a buffer, each stretch of it
// handed on as soon as the lexer goes into a literal or out of one.
std::uint8_t* ChainBlocks(const ByteRule& rule, RulePart* state, const std::uint8_t* bytes, std::size_t count,
                          std::uint8_t* out) {
  const auto& chain = static_cast<const GuardedChain&>(rule);
  std::array<std::uint8_t, 16 * 1024> middle;
  const std::size_t piece =
      (middle.size() - ByteRule::kMaxHeld - kBlockSlack) / std::max<std::size_t>(chain.Lexer().MostWritten(), 1);
  while (count > 0) {
    const bool literal = chain.Literals()[state->at];
    std::size_t read = 0;
    const std::uint8_t* const end =
        chain.Lexer().ScanWriting(*state, bytes, std::min(count, piece), chain.Literals(), middle.data(), read);
    out = chain.Hand(state, literal, middle.data(), static_cast<std::size_t>(end - middle.data()), out);
    bytes += read;
    count -= read;
  }
  return out;
}

}  // namespace

GuardedRule::GuardedRule(const LexerRule& lexer, std::span<const std::uint8_t> literalStates, const ByteRule& guarded)
    : ByteRule(GuardBlocks, 1 + guarded.Parts(), std::max<std::size_t>(guarded.MostWritten(), 1)),
      lexer_(lexer),
      guarded_(guarded) {
  if (lexer.Parts() != 1 || lexer.States() == 0) throw std::logic_error("a guard's lexer is one table");
  for (std::uint8_t state : literalStates) literal_[state] = true;
  // The scan passes over a run whole: its states are all a literal's or none.
  for (std::size_t state = 0; state < lexer.States(); ++state) {
    const LexerRule::Run* run = lexer.RunOf(static_cast<std::uint8_t>(state));
    if (run != nullptr && literal_[state] != literal_[run->first]) throw std::logic_error("a run is half a literal");
  }
  for (std::size_t state = 0; state < lexer.States(); ++state) {
    for (const std::uint8_t starts : {std::uint8_t{' '}, std::uint8_t{'\t'}}) {
      if (!literal_[state] && literal_[lexer.On(static_cast<std::uint8_t>(state), starts).next]) {
        throw std::logic_error("a literal starts with a blank or a tab");
      }
    }
  }
  for (int b = 0; b < 256; ++b) {
    const auto byte = static_cast<std::uint8_t>(b);
    resets_[b] = lexer.Resets(byte) && guarded.Resets(byte) && byte == LiteralStandIn(byte);
    writesLast_[b] = guarded.WritesLast(byte);
  }
}

std::uint8_t* GuardedRule::Step(RulePart* state, std::uint8_t byte, std::uint8_t* out) const {
  const bool literal = literal_[state->at];
  StepBuffer lexed;
  lexer_.Step(state, byte, lexed.data());
  if (!literal) return guarded_.Step(state + 1, byte, out);
  return guarded_.PassLiteral(state + 1, &byte, 1, out);
}

std::uint8_t* GuardedRule::Finish(RulePart* state, std::uint8_t* out) const {
  StepBuffer lexed;
  lexer_.Finish(state, lexed.data());
  return guarded_.Finish(state + 1, out);
}

}  // namespace kelbrin

namespace kelbrin {

GuardedChain::GuardedChain(const LexerRule& lexer, std::span<const std::uint8_t> literalStates, const ByteRule& guarded)
    : ByteRule(ChainBlocks, 1 + guarded.Parts(),
               std::max<std::size_t>(lexer.MostWritten(), 1) * std::max<std::size_t>(guarded.MostWritten(), 1)),
      lexer_(lexer),
      guarded_(guarded) {
  for (std::uint8_t state : literalStates) literal_[state] = true;
  for (int b = 0; b < 256; ++b) {
    const auto byte = static_cast<std::uint8_t>(b);
    resets_[b] = lexer.Resets(byte) && lexer.WritesLast(byte) && guarded.Resets(byte) && byte == LiteralStandIn(byte);
    writesLast_[b] = lexer.WritesLast(byte) && guarded.WritesLast(byte);
  }
}

std::uint8_t* GuardedChain::Step(RulePart* state, std::uint8_t byte, std::uint8_t* out) const {
  const bool literal = literal_[state->at];
  StepBuffer lexed;
  const std::uint8_t* const end = lexer_.Step(state, byte, lexed.data());
  for (const std::uint8_t* at = lexed.data(); at != end; ++at) out = Hand(state, literal, at, 1, out);
  return out;
}

std::uint8_t* GuardedChain::Finish(RulePart* state, std::uint8_t* out) const {
  const bool literal = literal_[state->at];
  StepBuffer lexed;
  const std::uint8_t* const end = lexer_.Finish(state, lexed.data());
  for (const std::uint8_t* at = lexed.data(); at != end; ++at) out = Hand(state, literal, at, 1, out);
  return guarded_.Finish(state + 1, out);
}

}  // namespace kelbrin
