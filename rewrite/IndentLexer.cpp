// The lexer of indentation, for --leading: to the tab pass, everything after
// a line's first byte that is no blank and no tab is a literal.
#include "Lexer.h"

namespace kelbrin {
namespace {

enum : std::uint8_t { kIndentation, kRestOfLine };

constexpr RuleRow kRows[] = {
    // state       byte read      writes  echo         next
    {kIndentation, ' ',           "",     Echo::Write, kIndentation},
    {kIndentation, '\t',          "",     Echo::Write, kIndentation},
    {kIndentation, '\r',          "",     Echo::Write, kIndentation},
    {kIndentation, '\n',          "",     Echo::Write, kIndentation},
    {kIndentation, kAnyOtherByte, "",     Echo::Write, kRestOfLine},
    {kRestOfLine,  '\r',          "",     Echo::Write, kIndentation},
    {kRestOfLine,  '\n',          "",     Echo::Write, kIndentation},
    {kRestOfLine,  kAnyOtherByte, "",     Echo::Write, kRestOfLine},
};

constexpr std::uint8_t kLiteralStates[] = {kRestOfLine};


constexpr std::uint8_t kRestRun[] = {kRestOfLine};
constexpr std::span<const std::uint8_t> kRuns[] = {kRestRun};

}  // namespace

const LexerDefinition& IndentLexer() {
  static const LexerDefinition lexer = {kRows, {}, {}, {}, kLiteralStates, nullptr, {}, kRuns};
  return lexer;
}

}  // namespace kelbrin
