#pragma once

#include <array>
#include <span>

#include "ByteRule.h"
#include "LexerRule.h"

namespace kelbrin {

// A rule that works only outside a lexer's literals. The lexer, a table that
// writes every byte as read, tells where literals are; the guarded rule reads
// every byte, but in a literal it reads a blank as another byte of one
// column, and the byte is written as read. So it keeps its count of columns
// and lines over literals and changes nothing in them. Every literal must
// start with a byte that is no blank and no tab, after which the guarded
// rule holds nothing back. Its block path finds the stretches of code and
// of literals with the lexer's scan and hands each to the guarded rule's
// block path or to its way through literals. Both rules must outlive it.
class GuardedRule final : public ByteRule {
 public:
  GuardedRule(const LexerRule& lexer, std::span<const std::uint8_t> literalStates, const ByteRule& guarded);

  std::uint8_t* Step(RulePart* state, std::uint8_t byte, std::uint8_t* out) const override;
  std::uint8_t* Finish(RulePart* state, std::uint8_t* out) const override;

  const LexerRule& Lexer() const { return lexer_; }
  const ByteRule& Guarded() const { return guarded_; }
  const LexerRule::Literals& Literals() const { return literal_; }

 private:
  const LexerRule& lexer_;
  const ByteRule& guarded_;
  LexerRule::Literals literal_{};
};

}  // namespace kelbrin

namespace kelbrin {

// A lexer's comment pass chained to a rule guarded from literals, one lexer
// serving both: each byte the lexer writes is a literal's where the byte it
// read was. For the lexers here this writes what piping the comment pass into
// a GuardedRule over `guarded` writes (a line comment holds no literal, and
// the one byte a lexer holds back is a slash outside literals), and reads the
// text once. The lexer's steps must write at most what they read and one
// byte held back. Both rules must outlive it.
class GuardedChain final : public ByteRule {
 public:
  GuardedChain(const LexerRule& lexer, std::span<const std::uint8_t> literalStates, const ByteRule& guarded);

  std::uint8_t* Step(RulePart* state, std::uint8_t byte, std::uint8_t* out) const override;
  std::uint8_t* Finish(RulePart* state, std::uint8_t* out) const override;

  const LexerRule& Lexer() const { return lexer_; }
  const ByteRule& Guarded() const { return guarded_; }
  const LexerRule::Literals& Literals() const { return literal_; }

  // What the guarded rule makes of `count` bytes the lexer wrote, all read
  // in a literal or all not.
  std::uint8_t* Hand(RulePart* state, bool literal, const std::uint8_t* bytes, std::size_t count,
                     std::uint8_t* out) const {
    return literal ? guarded_.PassLiteral(state + 1, bytes, count, out) : guarded_.Block(state + 1, bytes, count, out);
  }

 private:
  const LexerRule& lexer_;
  const ByteRule& guarded_;
  LexerRule::Literals literal_{};
};

}  // namespace kelbrin
