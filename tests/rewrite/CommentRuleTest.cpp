#include <gtest/gtest.h>

#include "CommentRule.h"
#include "RuleHarness.h"

namespace kelbrin::test {
namespace {

struct Case {
  const char* what;
  std::string input;
  std::string expected;
};

const Case kCases[] = {
    {"division between blanks", "a = b / c;", "a = b / c;"},
    {"slash then any byte is written as read", "/\r/*/ /x", "/\r/*/ /x"},
    {"statement keeps its blanks, loses its comment", "x = 1;  // note\r\ny\r\n", "x = 1;  \r\ny\r\n"},
    {"three slashes", "a /// b\r\nc", "a \r\nc"},
    {"block comment passes", "/* a */ b", "/* a */ b"},
    {"slashes inside a block comment", "/* a // b */ c\r\nd", "/* a \r\nd"},
    {"slashes inside a string", "s = \"http://x\";\r\nt", "s = \"http:\r\nt"},
    {"CR LF lines keep their LF", "a // 1\r\nb // 2\r\n", "a \r\nb \r\n"},
    {"LF-only lines each lose only their comment", "a // 1\nb // 2\nc\n", "a \nb \nc\n"},
    {"CR-only lines lose no byte", "a // 1\r// 2\rb", "a \r\rb"},
    {"comment right after a comment's line end", "//1\r\n//2\r\nx", "\r\n\r\nx"},
    {"Shift-JIS text passes, in comments removed whole",
     "\x95\x5c = 1; // \x83\x5c\x81\x5b\x83\x58\r\n\x82\xa0", "\x95\x5c = 1; \r\n\x82\xa0"},
    {"empty input", "", ""},
    {"ends after one slash: the slash is kept", "a /", "a /"},
    {"ends inside a comment", "a // b", "a "},
    {"ends on the comment's CR", "a // b\r", "a \r"},
    {"ends after two slashes", "//", ""},
    {"NUL and high bytes are ordinary", std::string("\0\xff/\0", 4), std::string("\0\xff/\0", 4)},
};

void PrintTo(const Case& c, std::ostream* os) { *os << c.what; }

class CommentRuleTest : public testing::TestWithParam<Case> {};

TEST_P(CommentRuleTest, WritesExactlyTheseBytes) {
  EXPECT_EQ(ApplyRule(CommentRule(), GetParam().input), GetParam().expected) << GetParam().what;
}

INSTANTIATE_TEST_SUITE_P(Cases, CommentRuleTest, testing::ValuesIn(kCases));

TEST(CommentRule, LeavesTextWithoutTwoSlashesAlone) {
  std::string every;
  for (int b = 0; b < 256; ++b) every += {static_cast<char>(b), '/', static_cast<char>(b)};
  // "///" from the slash's own round would start a comment; take it out.
  every.erase(every.find("///"), 3);
  EXPECT_EQ(ApplyRule(CommentRule(), every), every);
}

}  // namespace
}  // namespace kelbrin::test
