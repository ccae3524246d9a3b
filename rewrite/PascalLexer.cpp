// The lexer of Delphi and Free Pascal as far as comments and literals go.
#include "Lexer.h"

namespace kelbrin {
namespace {

enum : std::uint8_t {
  kCode,
  kSlash,         // a slash, held back: it may start a comment
  kLineComment,   // dropped up to its line end
  kParen,         // an opening parenthesis: a star next opens a comment
  kBrace,         // a { } comment
  kParenComment,  // a (* *) comment
  kParenStar,     // a star in a (* *) comment: a parenthesis next closes it
  kString,
  kStringQuote,   // a quote in a string: its end, unless a second stands for a quote
  kBraceTrail,    // code page 932: the byte after a lead byte in a { } comment
};

// Two slashes outside strings and comments start a comment up to the line
// end, which stays; inside { } and (* *) they are part of that comment, and
// the two kinds close only themselves. A string runs from a quote to the
// next single one, two quotes standing for one; there are no backslash
// escapes, and no string holds a line end. Character codes (#13, #$0D) and
// everything else between literals are code.
constexpr RuleRow kRows[] = {
    // state          byte read      writes  echo         next
    {kCode,           '/',           "",     Echo::Drop,  kSlash},
    {kCode,           '\'',          "",     Echo::Write, kString},
    {kCode,           '{',           "",     Echo::Write, kBrace},
    {kCode,           '(',           "",     Echo::Write, kParen},
    {kCode,           kAnyOtherByte, "",     Echo::Write, kCode},

    {kSlash,          '/',           "",     Echo::Drop,  kLineComment},
    {kLineComment,    '\r',          "",     Echo::Write, kCode},
    {kLineComment,    '\n',          "",     Echo::Write, kCode},
    {kLineComment,    kAnyOtherByte, "",     Echo::Drop,  kLineComment},

    {kParen,          '*',           "",     Echo::Write, kParenComment},
    {kBrace,          '}',           "",     Echo::Write, kCode},
    {kBrace,          kAnyOtherByte, "",     Echo::Write, kBrace},
    {kParenComment,   '*',           "",     Echo::Write, kParenStar},
    {kParenComment,   kAnyOtherByte, "",     Echo::Write, kParenComment},
    {kParenStar,      ')',           "",     Echo::Write, kCode},
    {kParenStar,      '*',           "",     Echo::Write, kParenStar},
    {kParenStar,      kAnyOtherByte, "",     Echo::Write, kParenComment},

    {kString,         '\'',          "",     Echo::Write, kStringQuote},
    {kString,         '\r',          "",     Echo::Write, kCode},
    {kString,         '\n',          "",     Echo::Write, kCode},
    {kString,         kAnyOtherByte, "",     Echo::Write, kString},
    {kStringQuote,    '\'',          "",     Echo::Write, kString},
};

constexpr Fallback kFallbacks[] = {
    // state        reads as   after writing
    {kSlash,        kCode,     "/"},
    {kParen,        kCode,     ""},
    {kStringQuote,  kCode,     ""},
};

// Code page 932: a lead byte's trail byte may be a closing brace (マ is
// 0x83 0x7D); in a { } comment it is stepped over, as Delphi reads it. (Free
// Pascal reads bytes: such a comment ends early there and the file does not
// compile, so no file it compiles changes.)
constexpr RuleRow kCp932Rows[] = {
    // state          byte read      writes  echo         next
    {kBrace,          kLeadByte,     "",     Echo::Write, kBraceTrail},
    {kBraceTrail,     kTrailByte,    "",     Echo::Write, kBrace},
};

// A byte that is no trail byte is read as if no lead byte had come before it.
constexpr Fallback kCp932Fallbacks[] = {{kBraceTrail, kBrace, ""}};

constexpr std::uint8_t kLiteralStates[] = {kString};


// Runs: states that all bytes but a few keep among themselves.
constexpr std::uint8_t kCodeRun[] = {kCode, kParen, kStringQuote};
constexpr std::uint8_t kLineRun[] = {kLineComment};
constexpr std::uint8_t kBraceRun[] = {kBrace, kBraceTrail};
constexpr std::uint8_t kParenRun[] = {kParenComment, kParenStar};
constexpr std::uint8_t kStringRun[] = {kString};
constexpr std::span<const std::uint8_t> kRuns[] = {kCodeRun, kLineRun, kBraceRun, kParenRun, kStringRun};

}  // namespace

const LexerDefinition& PascalLexer() {
  static const LexerDefinition lexer = {kRows, kFallbacks, kCp932Rows, kCp932Fallbacks, kLiteralStates, nullptr, {}, kRuns};
  return lexer;
}

}  // namespace kelbrin
