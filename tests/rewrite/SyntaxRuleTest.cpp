// The rules with --syntax: line comments removed only where the language has
// them, blanks turned into tabs only outside literals.
#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>
#include <string>
#include <vector>

#include "PassRules.h"
#include "RuleHarness.h"

namespace kelbrin::test {
namespace {

struct Case {
  const char* what;
  Language language;
  Encoding encoding;
  std::string input;
  std::string withoutComments;  // the comment pass
  std::string tabbed;           // the tab pass (four blanks a tab), in B/T notation; empty: not checked
};

constexpr auto C = Language::C;
constexpr auto Cpp = Language::Cpp;
constexpr auto Java = Language::Java;
constexpr auto Pascal = Language::Pascal;
constexpr auto Sjis = Encoding::Cp932;
constexpr auto Utf8 = Encoding::Utf8;

const Case kCases[] = {
    // C and C++: literals, comments and the states between them.
    {"slashes in a string and a block comment stay", C, Sjis,
     "url = \"http://example.com\"; x = 1;\r\n/* see http://x */ int y;\r\n",
     "url = \"http://example.com\"; x = 1;\r\n/* see http://x */ int y;\r\n", ""},
    {"a comment goes, its line end stays", C, Sjis, "a = b / c; // note\r\nd", "a = b / c; \r\nd", ""},
    {"slashes in a block comment stay", C, Sjis, "/* a // b */ c; // d\n", "/* a // b */ c; \n", ""},
    {"an escaped quote does not end a string", C, Sjis, "s = \"a\\\"//b\"; // c\n", "s = \"a\\\"//b\"; \n", ""},
    {"an escaped backslash does", C, Sjis, "s = \"a\\\\\"; // c\n", "s = \"a\\\\\"; \n", ""},
    {"characters", C, Sjis, "c = '/'; d = '\\''; // x\n", "c = '/'; d = '\\''; \n", ""},
    {"a string continued on the next line", C, Sjis, "s = \"a\\\nb // c\"; // d\n", "s = \"a\\\nb // c\"; \n", ""},
    {"a string continued over CR LF", C, Sjis, "s = \"a\\\r\nb // c\"; // d\n", "s = \"a\\\r\nb // c\"; \n", ""},
    {"an unterminated string ends at its line", C, Sjis, "s = \"abc\n// d\n", "s = \"abc\n\n", ""},
    {"a continued comment goes whole, every line end stays", C, Sjis, "// a \\\nb = 1;\nc", "\n\nc", ""},
    {"continued over blanks after the backslash", C, Sjis, "// a \\ \t\nb\nc", "\n\nc", ""},
    {"continued over CR LF, twice", C, Sjis, "// a \\\r\nb \\\r\nc\r\nd", "\r\n\r\n\r\nd", ""},
    {"a backslash inside a comment continues nothing", C, Sjis, "// a \\ b\nc", "\nc", ""},
    {"three slashes", C, Sjis, "a /// b\nc", "a \nc", ""},
    {"slash star in a line comment", C, Sjis, "a // b /* c\nd */", "a \nd */", ""},
    {"a raw string", Cpp, Sjis, "s = R\"(a // b)\"; // c\n", "s = R\"(a // b)\"; \n", ""},
    {"a raw string's delimiter", Cpp, Sjis, "R\"x(a )\" // b )x\" // c\n", "R\"x(a )\" // b )x\" \n", ""},
    {"a raw string over lines", Cpp, Sjis, "R\"-(\n// a\n)-\" // b\n", "R\"-(\n// a\n)-\" \n", ""},
    {"closing parentheses in a row", Cpp, Sjis, "R\"ab(x))ab)a)ab\" // c\n", "R\"ab(x))ab)a)ab\" \n", ""},
    {"raw string prefixes", Cpp, Sjis, "u8R\"(//)\" LR\"y(//)y\" uR\"(//)\" UR\"(//)\" // z\n",
     "u8R\"(//)\" LR\"y(//)y\" uR\"(//)\" UR\"(//)\" \n", ""},
    {"no prefix inside an identifier", Cpp, Sjis, "xR\"//\" // c\n", "xR\"//\" \n", ""},
    {"a raw delimiter ends at a line end", Cpp, Sjis, "R\"ab\n// c\n", "R\"ab\n\n", ""},
    {"digit separators", Cpp, Sjis, "x = 1'000; // it's\n", "x = 1'000; \n", ""},
    {"hexadecimal digit separators", Cpp, Sjis, "x = 0xFF'ff'1; // don't\n", "x = 0xFF'ff'1; \n", ""},
    {"a prefixed character", Cpp, Sjis, "c = u8'/'; d = L'/'; // x\n", "c = u8'/'; d = L'/'; \n", ""},
    {"a quote after a number that opens a character", Cpp, Sjis, "x = 1'/'; // x\n", "x = 1'/'; \n", ""},
    // Code page 932: trail bytes that are backslashes.
    {"cp932: 表 in a string", C, Sjis, "s = \"\x95\x5c\"; // x\n", "s = \"\x95\x5c\"; \n", ""},
    {"cp932: ソ in a character", Cpp, Sjis, "c = '\x83\x5c'; // x\n", "c = '\x83\x5c'; \n", ""},
    {"cp932: an escape before 表", C, Sjis, "s = \"\\\x95\x5c\"; // x\n", "s = \"\\\x95\x5c\"; \n", ""},
    {"cp932: 表 at a comment's end continues nothing", C, Sjis, "// \x95\x5c\nx = 1;\n", "\nx = 1;\n", ""},
    {"UTF-8: the same bytes are a backslash", C, Utf8, "// \x95\x5c\nx = 1;\n", "\n\n", ""},
    {"cp932: no trail byte after a lead byte", C, Sjis, "s = \"\xe9\"; // x\n", "s = \"\xe9\"; \n", ""},
    // Ends of the input in every kind of state.
    {"ends after a slash", C, Sjis, "a /", "a /", ""},
    {"ends in a comment", C, Sjis, "a // b", "a ", ""},
    {"ends in a continued comment", C, Sjis, "a // b \\", "a ", ""},
    {"ends in a string", C, Sjis, "\"a // b", "\"a // b", ""},
    {"ends in a block comment", C, Sjis, "/* a // b *", "/* a // b *", ""},
    {"ends in a raw string", Cpp, Sjis, "R\"x(a // b)x", "R\"x(a // b)x", ""},
    {"ends after a digit separator", Cpp, Sjis, "1'", "1'", ""},
    {"ends after a prefix", Cpp, Sjis, "u8R", "u8R", ""},
    // The tab pass in C and C++.
    {"blanks in code and comments, not in strings", C, Sjis, "x    = \"a    b\"; /*    */    y",
     "x    = \"a    b\"; /*    */    y", "xT= \"aBBBBb\"; /*T*/Ty"},
    {"blanks in characters and raw strings", Cpp, Sjis, "c = '    '; R\"(    )\"    z", "c = '    '; R\"(    )\"    z",
     "c = 'BBBB'; R\"(BBBB)\"Tz"},
    {"blanks after a digit separator", Cpp, Sjis, "1'000    x", "1'000    x", "1'000Tx"},
    {"blanks in a line comment", C, Sjis, "x;    //    y\n", "x;    \n", "x;T//Ty\n"},

    // Java.
    {"java: a comment goes, a string stays", Java, Sjis, "s = \"http://x\"; // c\r\n", "s = \"http://x\"; \r\n", ""},
    {"java: an empty string", Java, Sjis, "s = \"\"; // c\n", "s = \"\"; \n", ""},
    {"java: a text block", Java, Sjis, "s = \"\"\"\n  // not a comment\n  \"\"\"; // c\n",
     "s = \"\"\"\n  // not a comment\n  \"\"\"; \n", ""},
    {"java: escaped quotes in a text block", Java, Sjis, "\"\"\"\n a \\\"\"\" // b\n\"\"\"; // c\n",
     "\"\"\"\n a \\\"\"\" // b\n\"\"\"; \n", ""},
    {"java: quotes in a text block", Java, Sjis, "\"\"\"\n\"\" // a \" \"\"\"; // b\n",
     "\"\"\"\n\"\" // a \" \"\"\"; \n", ""},
    {"java: a quote in a character", Java, Sjis, "c = '\"'; // x\n", "c = '\"'; \n", ""},
    {"java: no backslash continues a comment", Java, Sjis, "// a \\\nb = 1;\n", "\nb = 1;\n", ""},
    {"java: block comments", Java, Sjis, "/** a // b **/ c; // d\n", "/** a // b **/ c; \n", ""},
    {"java cp932: 表 in a string", Java, Sjis, "s = \"\x95\x5c\"; // x\n", "s = \"\x95\x5c\"; \n", ""},
    {"java cp932: ソ in a text block", Java, Sjis, "\"\"\"\n\x83\x5c\"\"\" // x\n", "\"\"\"\n\x83\x5c\"\"\" \n", ""},
    {"java: ends in a text block", Java, Sjis, "\"\"\"\n// a \"\"", "\"\"\"\n// a \"\"", ""},
    {"java: ends after two quotes", Java, Sjis, "x = \"\"", "x = \"\"", ""},
    {"java: blanks outside literals only", Java, Sjis, "\"\"\"\n    x\n    \"\"\"    ;", "\"\"\"\n    x\n    \"\"\"    ;",
     "\"\"\"\nBBBBx\nBBBB\"\"\"T;"},

    // Delphi and Free Pascal.
    {"pascal: a string with slashes", Pascal, Sjis, "s := 'http://x'; // c\r\n", "s := 'http://x'; \r\n", ""},
    {"pascal: two quotes stand for one", Pascal, Sjis, "s := 'it''s // x'; // c\n", "s := 'it''s // x'; \n", ""},
    {"pascal: an empty string", Pascal, Sjis, "s := ''; // c\n", "s := ''; \n", ""},
    {"pascal: no backslash escapes", Pascal, Sjis, "s := '\\'; // x\n", "s := '\\'; \n", ""},
    {"pascal: braces", Pascal, Sjis, "{ a // b } x; // c\n", "{ a // b } x; \n", ""},
    {"pascal: parenthesis and star", Pascal, Sjis, "(* a // b *) x; // c\n", "(* a // b *) x; \n", ""},
    {"pascal: each comment closes only itself", Pascal, Sjis, "(* } // a *) { *) // b } c // d\n",
     "(* } // a *) { *) // b } c \n", ""},
    {"pascal: (*) opens a comment", Pascal, Sjis, "(*) // a\n*) b // c\n", "(*) // a\n*) b \n", ""},
    {"pascal: a parenthesis alone", Pascal, Sjis, "f(x) // c\n", "f(x) \n", ""},
    {"pascal: character codes are code", Pascal, Sjis, "c := #13#10#39; // x\n", "c := #13#10#39; \n", ""},
    {"pascal: quotes in comments", Pascal, Sjis, "{ don't } x // y\n", "{ don't } x \n", ""},
    {"pascal cp932: マ in braces", Pascal, Sjis, "{\x83\x7d // x }\n", "{\x83\x7d // x }\n", ""},
    {"pascal UTF-8: the same bytes end the braces", Pascal, Utf8, "{\x83\x7d // x }\n", "{\x83\x7d \n", ""},
    {"pascal: ends in a string", Pascal, Sjis, "'a // b", "'a // b", ""},
    {"pascal: ends in braces", Pascal, Sjis, "{ a // b", "{ a // b", ""},
    {"pascal: ends after a parenthesis", Pascal, Sjis, "f(", "f(", ""},
    {"pascal: ends in a (* comment", Pascal, Sjis, "(* a *", "(* a *", ""},
    {"pascal: blanks outside strings", Pascal, Sjis, "s := '    x';    { a    b }", "s := '    x';    { a    b }",
     "s := 'BBBBx';T{ aTb }"},
};

void PrintTo(const Case& c, std::ostream* os) { *os << c.what; }

class SyntaxRuleTest : public testing::TestWithParam<Case> {};
class SyntaxTabTest : public testing::TestWithParam<Case> {};

std::vector<Case> TabCases() {
  std::vector<Case> cases;
  std::copy_if(std::begin(kCases), std::end(kCases), std::back_inserter(cases), [](const Case& c) { return !c.tabbed.empty(); });
  return cases;
}

TEST_P(SyntaxRuleTest, CommentPass) {
  const PassRules rules({.language = GetParam().language, .encoding = GetParam().encoding});
  EXPECT_EQ(ApplyRuleByteByByte(rules.Comment(), GetParam().input), GetParam().withoutComments);
  EXPECT_EQ(ApplyRule(rules.Comment(), GetParam().input), GetParam().withoutComments);
}

TEST_P(SyntaxTabTest, TabPass) {
  const PassRules rules({.language = GetParam().language, .encoding = GetParam().encoding});
  EXPECT_EQ(ApplyRuleByteByByte(rules.Tab(), GetParam().input), Blanks(GetParam().tabbed));
  EXPECT_EQ(ApplyRule(rules.Tab(), GetParam().input), Blanks(GetParam().tabbed));
}

// The chain writes what the two passes write one after the other.
TEST_P(SyntaxRuleTest, BothPassesChained) {
  const PassRules rules({.language = GetParam().language, .encoding = GetParam().encoding, .threeBlanks = true});
  const std::string expected = ApplyRuleByteByByte(rules.Tab(), ApplyRuleByteByByte(rules.Comment(), GetParam().input));
  EXPECT_EQ(ApplyRuleByteByByte(rules.Both(), GetParam().input), expected);
  EXPECT_EQ(ApplyRule(rules.Both(), GetParam().input), expected);
}

INSTANTIATE_TEST_SUITE_P(Cases, SyntaxRuleTest, testing::ValuesIn(kCases));
INSTANTIATE_TEST_SUITE_P(Cases, SyntaxTabTest, testing::ValuesIn(TabCases()));

}  // namespace
}  // namespace kelbrin::test
