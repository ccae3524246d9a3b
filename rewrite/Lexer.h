#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "ByteRule.h"

namespace kelbrin {

enum class Language : std::uint8_t { C, Cpp, Java, Pascal };

// How multi-byte characters are stepped over. In UTF-8 no byte of a
// multi-byte character is ASCII; in code page 932 a trail byte may be.
enum class Encoding : std::uint8_t { Cp932, Utf8 };

// A language's lexer as written down: the table of its comment pass, which
// drops the language's line comments and writes their line end, and what
// the tab pass needs besides.
struct LexerDefinition {
  std::span<const RuleRow> rows;
  std::span<const Fallback> fallbacks;
  // Added in code page 932: where a lead byte's trail byte is stepped over.
  std::span<const RuleRow> cp932Rows;
  std::span<const Fallback> cp932Fallbacks;
  // The states whose bytes are a literal's: the tab pass leaves blanks there.
  std::span<const std::uint8_t> literalStates;
  KeepData keepData = nullptr;
  std::span<const std::uint8_t> keepingStates;
  // Groups of states that all bytes but a few keep within the group, each
  // written as read (or each dropped) and no other byte written: the block
  // path passes over such bytes a chunk at a time. The first state of a
  // group is where most bytes lead.
  std::span<const std::span<const std::uint8_t>> runs;
};

const LexerDefinition& CFamilyLexer();
const LexerDefinition& JavaLexer();
const LexerDefinition& PascalLexer();
// Indentation: a line's blanks and tabs up to its first other byte; the rest
// of the line is a literal.
const LexerDefinition& IndentLexer();

// C and C++ share one lexer: GCC reads raw strings in C too (in its GNU
// dialects, the default), and a quote right after a number is no valid C
// either way.
const LexerDefinition& LexerOf(Language language);

// What a lexer's table writes: the comment pass's output, or every byte as
// read (a lexer that guards another rule only tells where literals are).
enum class LexerOutput : std::uint8_t { WithoutLineComments, AsRead };

// A lexer's table for one encoding, with rows it owns.
class LexerTable {
 public:
  LexerTable(const LexerDefinition& definition, Encoding encoding, LexerOutput output);

  RuleTable Table() const { return {rows_, fallbacks_, keepData_, keepingStates_}; }
  std::span<const std::span<const std::uint8_t>> Runs() const { return runs_; }

 private:
  std::vector<RuleRow> rows_;
  std::vector<Fallback> fallbacks_;
  KeepData keepData_;
  std::span<const std::uint8_t> keepingStates_;
  std::span<const std::span<const std::uint8_t>> runs_;
};

}  // namespace kelbrin
