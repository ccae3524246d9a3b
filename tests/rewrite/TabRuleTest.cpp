#include <gtest/gtest.h>

#include "RuleHarness.h"
#include "TabRule.h"

namespace kelbrin::test {
namespace {

struct Case {
  const char* input;
  const char* fourOnly;   // the three-blank option off
  const char* threeToo;   // the three-blank option on
};

// B is a blank, T a tab, x any other byte.
const Case kCases[] = {
    {"Bx", "Bx", "Bx"},
    {"BBx", "BBx", "BBx"},
    {"BBBx", "BBBx", "Tx"},
    {"BBBBx", "Tx", "Tx"},
    {"BBBBBx", "TBx", "TBx"},
    {"BBBBBBBx", "TBBBx", "TTx"},
    {"BBBBBBBB", "TT", "TT"},
    {"BT", "T", "T"},
    {"BBT", "T", "T"},
    {"BBBT", "BBBT", "TT"},
    {"BBBBBBT", "TT", "TT"},
    {"Tx", "Tx", "Tx"},
    {"TTBBBBT", "TTTT", "TTTT"},
    {"xBBBBy", "xTy", "xTy"},
    {"xBBB\r\nBBBB\r\n", "xBBB\r\nT\r\n", "xT\r\nT\r\n"},
    // The input ends with blanks pending: they stay blanks, or three become a tab.
    {"", "", ""},
    {"B", "B", "B"},
    {"xBB", "xBB", "xBB"},
    {"xBBB", "xBBB", "xT"},
    {"BBBBBBB", "TBBB", "TT"},
    // The ideographic blank of Shift-JIS is two other bytes.
    {"\x81\x40\x81\x40" "BBBB\x81\x40", "\x81\x40\x81\x40" "T\x81\x40", "\x81\x40\x81\x40" "T\x81\x40"},
};

void PrintTo(const Case& c, std::ostream* os) { *os << '"' << c.input << '"'; }

class TabRuleTest : public testing::TestWithParam<Case> {};

TEST_P(TabRuleTest, OptionOff) {
  EXPECT_EQ(ApplyRule(TabRule(false), Blanks(GetParam().input)), Blanks(GetParam().fourOnly));
}

TEST_P(TabRuleTest, OptionOn) {
  EXPECT_EQ(ApplyRule(TabRule(true), Blanks(GetParam().input)), Blanks(GetParam().threeToo));
}

INSTANTIATE_TEST_SUITE_P(Cases, TabRuleTest, testing::ValuesIn(kCases));

TEST(TabRule, LeavesTextWithoutBlanksAlone) {
  std::string every;
  for (int b = 0; b < 256; ++b)
    if (b != ' ') every += static_cast<char>(b);
  EXPECT_EQ(ApplyRule(TabRule(false), every), every);
  EXPECT_EQ(ApplyRule(TabRule(true), every), every);
}

}  // namespace
}  // namespace kelbrin::test
