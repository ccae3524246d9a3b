// The lexer of C and C++ as far as comments and literals go: where `//`
// starts a comment and where a quote starts or ends a literal.
#include "Lexer.h"

namespace kelbrin {
namespace {

enum : std::uint8_t {
  kCode,           // between tokens, or in one after which a quote means nothing special
  kWord,           // in an identifier
  kU,              // the identifier u: u8, or an R, makes a raw string's prefix of it
  kU8,             // u8
  kUOrL,           // U or L
  kRawPrefix,      // R, uR, u8R, UR or LR: a quote right after it opens a raw string
  kNumber,         // in a number
  kDigitQuote,     // a quote after a number: a digit separator, if a digit or letter follows
  kSlash,          // a slash, held back: it may start a comment
  kLineComment,    // dropped up to its line end
  kLineSplice,     // a backslash in a line comment, perhaps with blanks after it
  kLineSpliceCr,   // a backslash's line end in a line comment, after its CR
  kBlockComment,
  kBlockStar,      // a star in a block comment: a slash next closes it
  kString,
  kStringEscape,   // a backslash in a string: the next byte is escaped
  kStringSpliceCr, // a backslash's CR in a string: its LF may follow
  kChar,
  kCharEscape,
  kCharSpliceCr,
  kRawDelimiter,   // R" read: the delimiter up to ( is kept
  kRawBody,
  kRawClosing,     // ) read in a raw string: the delimiter and a quote would close it
  kStringTrail,    // code page 932: the byte after a lead byte
  kCharTrail,
  kLineTrail,
};

// A comment starts with two slashes outside literals and block comments;
// `/*` opens a block comment up to the next `*/`. A backslash at the end of a
// line joins the next line to it before comments are found, so a line
// comment so continued runs on; GCC joins the lines over blanks between the
// backslash and the line end too. The continued lines' bytes are dropped as
// the comment's, but every CR and LF is written, so that the lines keep
// their number. Strings and characters end at their closing quote, a
// backslash escaping the byte after it, or at a line end that no backslash
// escapes (a literal the compiler would call unterminated). A raw string
// R"delim(...)delim" takes every byte up to its closing parenthesis, its
// delimiter (up to 16 bytes, which the steps keep) and a quote. In a number,
// a quote between digits separates them (1'000'000, 0x1'ff); identifiers are
// followed only so far as their spelling makes a raw string's prefix.
constexpr RuleRow kRows[] = {
    // state          byte read      writes  echo         next
    {kCode,           '/',           "",     Echo::Drop,  kSlash},
    {kCode,           '"',           "",     Echo::Write, kString},
    {kCode,           '\'',          "",     Echo::Write, kChar},
    {kCode,           'u',           "",     Echo::Write, kU},
    {kCode,           'U',           "",     Echo::Write, kUOrL},
    {kCode,           'L',           "",     Echo::Write, kUOrL},
    {kCode,           'R',           "",     Echo::Write, kRawPrefix},
    {kCode,           kDigitByte,    "",     Echo::Write, kNumber},
    {kCode,           kWordByte,     "",     Echo::Write, kWord},
    {kCode,           kAnyOtherByte, "",     Echo::Write, kCode},

    {kWord,           kDigitByte,    "",     Echo::Write, kWord},
    {kWord,           kWordByte,     "",     Echo::Write, kWord},
    {kU,              '8',           "",     Echo::Write, kU8},
    {kU,              'R',           "",     Echo::Write, kRawPrefix},
    {kU,              kDigitByte,    "",     Echo::Write, kWord},
    {kU,              kWordByte,     "",     Echo::Write, kWord},
    {kU8,             'R',           "",     Echo::Write, kRawPrefix},
    {kU8,             kDigitByte,    "",     Echo::Write, kWord},
    {kU8,             kWordByte,     "",     Echo::Write, kWord},
    {kUOrL,           'R',           "",     Echo::Write, kRawPrefix},
    {kUOrL,           kDigitByte,    "",     Echo::Write, kWord},
    {kUOrL,           kWordByte,     "",     Echo::Write, kWord},
    {kRawPrefix,      '"',           "",     Echo::Write, kRawDelimiter},
    {kRawPrefix,      kDigitByte,    "",     Echo::Write, kWord},
    {kRawPrefix,      kWordByte,     "",     Echo::Write, kWord},

    {kNumber,         '\'',          "",     Echo::Write, kDigitQuote},
    {kNumber,         '.',           "",     Echo::Write, kNumber},
    {kNumber,         kDigitByte,    "",     Echo::Write, kNumber},
    {kNumber,         kWordByte,     "",     Echo::Write, kNumber},
    {kDigitQuote,     kDigitByte,    "",     Echo::Write, kNumber},
    {kDigitQuote,     kWordByte,     "",     Echo::Write, kNumber},

    {kSlash,          '/',           "",     Echo::Drop,  kLineComment},
    {kSlash,          '*',           "/",    Echo::Write, kBlockComment},

    {kLineComment,    '\\',          "",     Echo::Drop,  kLineSplice},
    {kLineComment,    '\r',          "",     Echo::Write, kCode},
    {kLineComment,    '\n',          "",     Echo::Write, kCode},
    {kLineComment,    kAnyOtherByte, "",     Echo::Drop,  kLineComment},
    {kLineSplice,     '\\',          "",     Echo::Drop,  kLineSplice},
    {kLineSplice,     ' ',           "",     Echo::Drop,  kLineSplice},
    {kLineSplice,     '\t',          "",     Echo::Drop,  kLineSplice},
    {kLineSplice,     '\f',          "",     Echo::Drop,  kLineSplice},
    {kLineSplice,     '\v',          "",     Echo::Drop,  kLineSplice},
    {kLineSplice,     '\r',          "",     Echo::Write, kLineSpliceCr},
    {kLineSplice,     '\n',          "",     Echo::Write, kLineComment},
    {kLineSplice,     kAnyOtherByte, "",     Echo::Drop,  kLineComment},
    {kLineSpliceCr,   '\n',          "",     Echo::Write, kLineComment},

    {kBlockComment,   '*',           "",     Echo::Write, kBlockStar},
    {kBlockComment,   kAnyOtherByte, "",     Echo::Write, kBlockComment},
    {kBlockStar,      '/',           "",     Echo::Write, kCode},
    {kBlockStar,      '*',           "",     Echo::Write, kBlockStar},
    {kBlockStar,      kAnyOtherByte, "",     Echo::Write, kBlockComment},

    {kString,         '"',           "",     Echo::Write, kCode},
    {kString,         '\\',          "",     Echo::Write, kStringEscape},
    {kString,         '\r',          "",     Echo::Write, kCode},
    {kString,         '\n',          "",     Echo::Write, kCode},
    {kString,         kAnyOtherByte, "",     Echo::Write, kString},
    {kStringEscape,   '\r',          "",     Echo::Write, kStringSpliceCr},
    {kStringEscape,   kAnyOtherByte, "",     Echo::Write, kString},
    {kStringSpliceCr, '\n',          "",     Echo::Write, kString},

    {kChar,           '\'',          "",     Echo::Write, kCode},
    {kChar,           '\\',          "",     Echo::Write, kCharEscape},
    {kChar,           '\r',          "",     Echo::Write, kCode},
    {kChar,           '\n',          "",     Echo::Write, kCode},
    {kChar,           kAnyOtherByte, "",     Echo::Write, kChar},
    {kCharEscape,     '\r',          "",     Echo::Write, kCharSpliceCr},
    {kCharEscape,     kAnyOtherByte, "",     Echo::Write, kChar},
    {kCharSpliceCr,   '\n',          "",     Echo::Write, kChar},

    // A line end in the delimiter makes no raw string; the compiler says so.
    {kRawDelimiter,   '(',           "",     Echo::Write, kRawBody},
    {kRawDelimiter,   '\r',          "",     Echo::Write, kCode},
    {kRawDelimiter,   '\n',          "",     Echo::Write, kCode},
    {kRawDelimiter,   kAnyOtherByte, "",     Echo::Write, kRawDelimiter},
    {kRawBody,        ')',           "",     Echo::Write, kRawClosing},
    {kRawBody,        kAnyOtherByte, "",     Echo::Write, kRawBody},
    // Unless FollowDelimiter finds the delimiter going on or complete.
    {kRawClosing,     kAnyOtherByte, "",     Echo::Write, kRawBody},
};

constexpr Fallback kFallbacks[] = {
    // state         reads as     after writing
    {kWord,          kCode,       ""},
    {kU,             kCode,       ""},
    {kU8,            kCode,       ""},
    {kUOrL,          kCode,       ""},
    {kRawPrefix,     kCode,       ""},
    {kNumber,        kCode,       ""},
    // No digit separator: the quote opened a character literal.
    {kDigitQuote,    kChar,       ""},
    {kSlash,         kCode,       "/"},
    {kLineSpliceCr,  kLineComment, ""},
    {kStringSpliceCr, kString,    ""},
    {kCharSpliceCr,  kChar,       ""},
};

// Code page 932: a lead byte's trail byte may be a backslash (表 is 0x95 0x5C,
// ソ 0x83 0x5C). In literals and line comments it is stepped over, so that it
// escapes nothing and continues no comment: compilers that are told the code
// page (GCC's -finput-charset=CP932) read it as part of the character.
constexpr RuleRow kCp932Rows[] = {
    // state          byte read      writes  echo         next
    {kString,         kLeadByte,     "",     Echo::Write, kStringTrail},
    {kStringEscape,   kLeadByte,     "",     Echo::Write, kStringTrail},
    {kStringTrail,    kTrailByte,    "",     Echo::Write, kString},
    {kChar,           kLeadByte,     "",     Echo::Write, kCharTrail},
    {kCharEscape,     kLeadByte,     "",     Echo::Write, kCharTrail},
    {kCharTrail,      kTrailByte,    "",     Echo::Write, kChar},
    {kLineComment,    kLeadByte,     "",     Echo::Drop,  kLineTrail},
    {kLineSplice,     kLeadByte,     "",     Echo::Drop,  kLineTrail},
    {kLineTrail,      kTrailByte,    "",     Echo::Drop,  kLineComment},
};

// A byte that is no trail byte is read as if no lead byte had come before it.
constexpr Fallback kCp932Fallbacks[] = {
    {kStringTrail, kString, ""},
    {kCharTrail, kChar, ""},
    {kLineTrail, kLineComment, ""},
};

constexpr std::uint8_t kLiteralStates[] = {
    kDigitQuote, kString, kStringEscape, kStringSpliceCr, kStringTrail, kChar,       kCharEscape,
    kCharSpliceCr, kCharTrail, kRawDelimiter, kRawBody, kRawClosing,
};

// The delimiter of a raw string: kept as it is read, and matched after each
// closing parenthesis; only the delimiter and a quote close the string.
void FollowDelimiter(RulePart& part, std::uint8_t byte, std::uint8_t before) {
  RawDelimiter& delimiter = part.delimiter;
  switch (before) {
    case kRawPrefix:
      delimiter.length = 0;
      return;
    case kRawDelimiter:
      if (part.at == kRawDelimiter && delimiter.length < RawDelimiter::kMaxLength) {
        delimiter.bytes[delimiter.length++] = byte;
      }
      return;
    case kRawBody:
      delimiter.matched = 0;
      return;
    default:
      break;
  }
  if (delimiter.matched < delimiter.length && byte == delimiter.bytes[delimiter.matched]) {
    ++delimiter.matched;
    part.at = kRawClosing;
  } else if (delimiter.matched == delimiter.length && byte == '"') {
    part.at = kCode;
    delimiter = {};  // nothing of the string is left in the state
  } else if (byte == ')') {
    delimiter.matched = 0;
    part.at = kRawClosing;
  }
}

constexpr std::uint8_t kKeepingStates[] = {kRawDelimiter, kRawClosing};


// Runs: states that all bytes but a few keep among themselves.
constexpr std::uint8_t kCodeRun[] = {kCode, kWord, kU, kU8, kUOrL, kRawPrefix, kNumber};
constexpr std::uint8_t kLineRun[] = {kLineComment, kLineSplice, kLineSpliceCr, kLineTrail};
constexpr std::uint8_t kBlockRun[] = {kBlockComment, kBlockStar};
constexpr std::uint8_t kStringRun[] = {kString, kStringEscape, kStringSpliceCr, kStringTrail};
constexpr std::uint8_t kCharRun[] = {kChar, kCharEscape, kCharSpliceCr, kCharTrail};
constexpr std::uint8_t kRawRun[] = {kRawBody};
constexpr std::span<const std::uint8_t> kRuns[] = {kCodeRun, kLineRun, kBlockRun, kStringRun, kCharRun, kRawRun};

}  // namespace

const LexerDefinition& CFamilyLexer() {
  static const LexerDefinition lexer = {kRows,          kFallbacks,      kCp932Rows,     kCp932Fallbacks,
                                        kLiteralStates, FollowDelimiter, kKeepingStates, kRuns};
  return lexer;
}

}  // namespace kelbrin
