// Tab stops and --leading, byte for byte against GNU unexpand, and by East
// Asian width in UTF-8.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "PassRules.h"
#include "Random.h"
#include "RuleHarness.h"
#include "TabStopRule.h"
#include "TestFiles.h"

namespace kelbrin::test {
namespace {

// What `unexpand ARGUMENTS` writes for `input`, bytes as bytes.
std::string Unexpand(const std::string& arguments, const std::string& input) {
  TempDir dir;
  WriteBytes(dir / "in", input);
  const std::string command = "LC_ALL=C unexpand " + arguments + " < '" + (dir / "in") + "'";
  std::FILE* pipe = popen(command.c_str(), "r");
  if (pipe == nullptr) return "(unexpand did not start)";
  std::string output;
  char buffer[4096];
  for (std::size_t got; (got = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;) output.append(buffer, got);
  pclose(pipe);
  return output;
}

// Lines of blanks, tabs, letters and code page 932 characters, runs of every
// length, now and then a backspace; LF line ends, the last perhaps missing.
std::string GeneratedText(std::uint32_t seed) {
  const std::string pieces[] = {" ", " ", " ", "  ", "   ", "    ", "     ", "        ", "\t", " \t", "a", "bc",
                                "xyz", "\x95\x5c", "\x83\x5c\x81\x40", "\n", "\n", "\b"};
  Random random(seed);
  std::string text;
  for (int i = 0; i < 4000; ++i) text += pieces[random.Below(static_cast<std::uint32_t>(std::size(pieces)))];
  return text;
}

TEST(TabStopRule, AsUnexpandAllBlanks) {
  for (int every : {1, 2, 4, 8}) {
    const PassRules rules({.tabStops = every});
    for (std::uint32_t seed : {1u, 2u, 3u}) {
      const std::string input = GeneratedText(seed);
      const std::string expected = Unexpand("-a -t " + std::to_string(every), input);
      ASSERT_EQ(ApplyRuleByteByByte(rules.Tab(), input), expected) << "every " << every << ", seed " << seed;
      ASSERT_EQ(ApplyRule(rules.Tab(), input), expected) << "every " << every << ", seed " << seed;
    }
  }
}

TEST(TabStopRule, AsUnexpandFirstOnly) {
  for (int every : {1, 2, 4, 8}) {
    const PassRules rules({.tabStops = every, .leadingOnly = true});
    for (std::uint32_t seed : {4u, 5u}) {
      const std::string input = GeneratedText(seed);
      const std::string expected = Unexpand("--first-only -t " + std::to_string(every), input);
      ASSERT_EQ(ApplyRule(rules.Tab(), input), expected) << "every " << every << ", seed " << seed;
    }
  }
}

struct Case {
  const char* what;
  int every;
  Encoding encoding;
  std::string input;  // B is a blank, T a tab
  const char* expected;
};

const Case kCases[] = {
    {"a single blank before a stop stays", 4, Encoding::Cp932, "abcBx", "abcBx"},
    {"a run to a stop", 4, Encoding::Cp932, "abBBx", "abTx"},
    {"the lone blank becomes a tab when blanks follow", 4, Encoding::Cp932, "abcBBBx", "abcTBBx"},
    {"blanks before a tab are absorbed", 4, Encoding::Cp932, "aBBTx", "aTx"},
    {"CR starts a line", 4, Encoding::Cp932, "ab\rBBBBx", "ab\rTx"},
    {"blanks at the end are written", 4, Encoding::Cp932, "aBB", "aBB"},
    {"cp932: a full-width character is two columns", 4, Encoding::Cp932, "\x95\x5c" "BBx", "\x95\x5c" "Tx"},
    {"UTF-8: 表 is two columns", 4, Encoding::Utf8, "\xe8\xa1\xa8" "BBx", "\xe8\xa1\xa8" "Tx"},
    {"UTF-8: ｱ is one", 4, Encoding::Utf8, "\xef\xbd\xb1" "BBBx", "\xef\xbd\xb1" "Tx"},
    {"UTF-8: a combining mark takes none", 4, Encoding::Utf8, "ae\xcc\x81" "BBx", "ae\xcc\x81" "Tx"},
    {"UTF-8: a broken character is one column", 4, Encoding::Utf8, "a\xe8\xa1" "BBx", "a\xe8\xa1" "Tx"},
    {"sixty-four columns", 64, Encoding::Cp932,
     "x" + std::string(63, 'B') + "y", "xTy"},
};

void PrintTo(const Case& c, std::ostream* os) { *os << c.what; }

class TabStopCase : public testing::TestWithParam<Case> {};

TEST_P(TabStopCase, WritesExactlyTheseBytes) {
  const TabStopRule rule(GetParam().every, GetParam().encoding);
  EXPECT_EQ(ApplyRuleByteByByte(rule, Blanks(GetParam().input)), Blanks(GetParam().expected));
  EXPECT_EQ(ApplyRule(rule, Blanks(GetParam().input)), Blanks(GetParam().expected));
}

INSTANTIATE_TEST_SUITE_P(Cases, TabStopCase, testing::ValuesIn(kCases));

// Without tab stops, --leading applies the counting rule to the indentation.
TEST(LeadingRule, CountsOnlyTheIndentation) {
  const PassRules four({.leadingOnly = true});
  const PassRules three({.threeBlanks = true, .leadingOnly = true});
  EXPECT_EQ(ApplyRule(four.Tab(), Blanks("BBBBBxBBBBy\nBBBTBBBz\r\nBBB")), Blanks("TBxBBBBy\nBBBTBBBz\r\nBBB"));
  EXPECT_EQ(ApplyRule(three.Tab(), Blanks("BBBBBxBBBBy\nBBBTBBBz\r\nBBB")), Blanks("TBxBBBBy\nTTTz\r\nT"));
}

// With --syntax, a literal's blanks count their columns but stay blanks.
TEST(TabStopRule, KeepsLiteralsAndCountsTheirColumns) {
  const PassRules rules({.language = Language::C, .tabStops = 4});
  EXPECT_EQ(ApplyRule(rules.Tab(), Blanks("s=\"BBBB\";BBBx")), Blanks("s=\"BBBB\";Tx"));
  EXPECT_EQ(ApplyRule(rules.Tab(), Blanks("/*BBBB*/BBBBx")), Blanks("/*TBB*/Tx"));
}

}  // namespace
}  // namespace kelbrin::test
