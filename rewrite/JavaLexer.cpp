// The lexer of Java as far as comments and literals go.
#include "Lexer.h"

namespace kelbrin {
namespace {

enum : std::uint8_t {
  kCode,
  kSlash,          // a slash, held back: it may start a comment
  kLineComment,    // dropped up to its line end
  kBlockComment,
  kBlockStar,      // a star in a block comment: a slash next closes it
  kOneQuote,       // a quote: a string, or the first of a text block's three
  kTwoQuotes,      // two quotes: an empty string, or two of a text block's three
  kString,
  kStringEscape,   // a backslash in a string: the next byte is escaped
  kChar,
  kCharEscape,
  kTextBlock,      // a text block: """ up to the next """ that no backslash escapes
  kTextEscape,
  kTextQuote,      // one quote in a text block
  kTextTwoQuotes,  // two quotes in a text block: a third closes it
  kStringTrail,    // code page 932: the byte after a lead byte
  kCharTrail,
  kTextTrail,
};

// Two slashes outside literals and comments start a comment up to the line
// end, which stays; `/*` opens a block comment up to the next `*/`. Strings
// and characters end at their closing quote, a backslash escaping the byte
// after it, or at a line end (which no Java literal holds). Three quotes open
// a text block, which runs over lines up to the next three; two quotes
// before anything else are an empty string.
constexpr RuleRow kRows[] = {
    // state          byte read      writes  echo         next
    {kCode,           '/',           "",     Echo::Drop,  kSlash},
    {kCode,           '"',           "",     Echo::Write, kOneQuote},
    {kCode,           '\'',          "",     Echo::Write, kChar},
    {kCode,           kAnyOtherByte, "",     Echo::Write, kCode},

    {kSlash,          '/',           "",     Echo::Drop,  kLineComment},
    {kSlash,          '*',           "/",    Echo::Write, kBlockComment},
    {kLineComment,    '\r',          "",     Echo::Write, kCode},
    {kLineComment,    '\n',          "",     Echo::Write, kCode},
    {kLineComment,    kAnyOtherByte, "",     Echo::Drop,  kLineComment},
    {kBlockComment,   '*',           "",     Echo::Write, kBlockStar},
    {kBlockComment,   kAnyOtherByte, "",     Echo::Write, kBlockComment},
    {kBlockStar,      '/',           "",     Echo::Write, kCode},
    {kBlockStar,      '*',           "",     Echo::Write, kBlockStar},
    {kBlockStar,      kAnyOtherByte, "",     Echo::Write, kBlockComment},

    {kOneQuote,       '"',           "",     Echo::Write, kTwoQuotes},
    {kTwoQuotes,      '"',           "",     Echo::Write, kTextBlock},
    {kString,         '"',           "",     Echo::Write, kCode},
    {kString,         '\\',          "",     Echo::Write, kStringEscape},
    {kString,         '\r',          "",     Echo::Write, kCode},
    {kString,         '\n',          "",     Echo::Write, kCode},
    {kString,         kAnyOtherByte, "",     Echo::Write, kString},
    {kStringEscape,   kAnyOtherByte, "",     Echo::Write, kString},
    {kChar,           '\'',          "",     Echo::Write, kCode},
    {kChar,           '\\',          "",     Echo::Write, kCharEscape},
    {kChar,           '\r',          "",     Echo::Write, kCode},
    {kChar,           '\n',          "",     Echo::Write, kCode},
    {kChar,           kAnyOtherByte, "",     Echo::Write, kChar},
    {kCharEscape,     kAnyOtherByte, "",     Echo::Write, kChar},

    {kTextBlock,      '"',           "",     Echo::Write, kTextQuote},
    {kTextBlock,      '\\',          "",     Echo::Write, kTextEscape},
    {kTextBlock,      kAnyOtherByte, "",     Echo::Write, kTextBlock},
    {kTextEscape,     kAnyOtherByte, "",     Echo::Write, kTextBlock},
    {kTextQuote,      '"',           "",     Echo::Write, kTextTwoQuotes},
    {kTextTwoQuotes,  '"',           "",     Echo::Write, kCode},
};

constexpr Fallback kFallbacks[] = {
    // state         reads as     after writing
    {kSlash,         kCode,       "/"},
    {kOneQuote,      kString,     ""},
    {kTwoQuotes,     kCode,       ""},
    {kTextQuote,     kTextBlock,  ""},
    {kTextTwoQuotes, kTextBlock,  ""},
};

// Code page 932: a lead byte's trail byte may be a backslash (表 is 0x95 0x5C,
// ソ 0x83 0x5C); in literals it is stepped over, so that it escapes nothing,
// as javac reads it with -encoding MS932.
constexpr RuleRow kCp932Rows[] = {
    // state          byte read      writes  echo         next
    {kString,         kLeadByte,     "",     Echo::Write, kStringTrail},
    {kStringEscape,   kLeadByte,     "",     Echo::Write, kStringTrail},
    {kStringTrail,    kTrailByte,    "",     Echo::Write, kString},
    {kChar,           kLeadByte,     "",     Echo::Write, kCharTrail},
    {kCharEscape,     kLeadByte,     "",     Echo::Write, kCharTrail},
    {kCharTrail,      kTrailByte,    "",     Echo::Write, kChar},
    {kTextBlock,      kLeadByte,     "",     Echo::Write, kTextTrail},
    {kTextEscape,     kLeadByte,     "",     Echo::Write, kTextTrail},
    {kTextTrail,      kTrailByte,    "",     Echo::Write, kTextBlock},
};

// A byte that is no trail byte is read as if no lead byte had come before it.
constexpr Fallback kCp932Fallbacks[] = {
    {kStringTrail, kString, ""},
    {kCharTrail, kChar, ""},
    {kTextTrail, kTextBlock, ""},
};

constexpr std::uint8_t kLiteralStates[] = {kOneQuote,  kString,    kStringEscape, kStringTrail,   kChar,
                                           kCharEscape, kCharTrail, kTextBlock,    kTextEscape,    kTextQuote,
                                           kTextTwoQuotes, kTextTrail};


// Runs: states that all bytes but a few keep among themselves.
constexpr std::uint8_t kCodeRun[] = {kCode};
constexpr std::uint8_t kLineRun[] = {kLineComment};
constexpr std::uint8_t kBlockRun[] = {kBlockComment, kBlockStar};
constexpr std::uint8_t kStringRun[] = {kString, kStringEscape, kStringTrail};
constexpr std::uint8_t kCharRun[] = {kChar, kCharEscape, kCharTrail};
constexpr std::uint8_t kTextRun[] = {kTextBlock, kTextEscape, kTextQuote, kTextTwoQuotes, kTextTrail};
constexpr std::span<const std::uint8_t> kRuns[] = {kCodeRun, kLineRun, kBlockRun, kStringRun, kCharRun, kTextRun};

}  // namespace

const LexerDefinition& JavaLexer() {
  static const LexerDefinition lexer = {kRows, kFallbacks, kCp932Rows, kCp932Fallbacks, kLiteralStates, nullptr, {}, kRuns};
  return lexer;
}

}  // namespace kelbrin
