// The block path must write exactly what the rules' byte-at-a-time steps
// write, for any input and any cut of it into blocks.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "CommentRule.h"
#include "RuleChain.h"
#include "RuleHarness.h"
#include "TabRule.h"

namespace kelbrin::test {
namespace {

struct NamedRule {
  const char* name;
  const ByteRule& rule;
};

const NamedRule kRules[] = {{"comment", CommentRule()}, {"tab", TabRule(false)}, {"tab3", TabRule(true)}};

void PrintTo(const NamedRule& rule, std::ostream* os) { *os << rule.name; }

// A fixed generator, so a failure can be run again.
class Random {
 public:
  explicit Random(std::uint32_t seed) : state_(seed) {}
  std::uint32_t Below(std::uint32_t bound) {
    state_ = state_ * 1664525u + 1013904223u;
    return (state_ >> 8) % bound;
  }

 private:
  std::uint32_t state_;
};

// Checks the block path against the definition: whole, cut in two at every
// offset, and in blocks of every size up to a few vector widths.
void ExpectSameAsByteByByte(const ByteRule& rule, const std::string& input) {
  const std::string expected = ApplyRuleByteByByte(rule, input);
  ASSERT_EQ(ApplyRule(rule, input), expected) << "whole: " << testing::PrintToString(input);
  for (std::size_t cut = 0; cut <= input.size(); ++cut) {
    const std::size_t halves[] = {cut, input.size() - cut};
    ASSERT_EQ(ApplyRuleInBlocks(rule, input, halves), expected)
        << "cut at " << cut << ": " << testing::PrintToString(input);
  }
  for (std::size_t size = 1; size <= 40; ++size) {
    const std::size_t sizes[] = {size};
    ASSERT_EQ(ApplyRuleInBlocks(rule, input, sizes), expected)
        << "blocks of " << size << ": " << testing::PrintToString(input);
  }
}

// Filler of every length up to past two vector widths, so that each shape
// below meets every position within the block path's wide compares.
std::vector<std::string> AtEveryOffset(const std::string& shape) {
  std::vector<std::string> inputs;
  for (std::size_t filler = 0; filler <= 34; ++filler) inputs.push_back(std::string(filler, 'a') + shape);
  return inputs;
}

class BlockPathTest : public testing::TestWithParam<NamedRule> {};

TEST_P(BlockPathTest, EveryByteAfterEveryPendingPrefix) {
  // The prefixes lead each rule into each of its states.
  const std::string prefixes[] = {"", "/", "//", " ", "  ", "   ", "    ", "/ ", " /"};
  std::string input;
  for (const std::string& prefix : prefixes) {
    for (int b = 0; b < 256; ++b) input += prefix + static_cast<char>(b) + "x" + std::string(b % 19, 'y');
  }
  const std::string expected = ApplyRuleByteByByte(GetParam().rule, input);
  EXPECT_EQ(ApplyRule(GetParam().rule, input), expected);
  for (std::size_t size = 1; size <= 40; ++size) {
    const std::size_t sizes[] = {size};
    EXPECT_EQ(ApplyRuleInBlocks(GetParam().rule, input, sizes), expected) << "blocks of " << size;
  }
}

TEST_P(BlockPathTest, BlankRunsOfEveryLengthBeforeEveryKindOfByte) {
  const std::string followers[] = {"x", "\t", "/", "//", "\r", "\n", "\r\n", "\x81\x40", ""};
  for (std::size_t blanks = 0; blanks <= 9; ++blanks) {
    for (const std::string& follower : followers) {
      for (const std::string& input : AtEveryOffset(std::string(blanks, ' ') + follower + "z")) {
        ExpectSameAsByteByByte(GetParam().rule, input);
        ExpectSameAsByteByByte(GetParam().rule, input.substr(0, input.size() - 1));  // ending on the follower
      }
    }
  }
}

TEST_P(BlockPathTest, SlashesCommentsAndLineEnds) {
  const std::string shapes[] = {
      "/",          "//",          "///",         "/x/y",        "a / b",        "/ /",          "/\t/",
      "x // c\r\ny", "x // c\ny",   "x // c\ry",   "//\r//\n//",  "// a\tb  c\r", "http://a/b", "/*//*/\r\n",
      "a  // b\r\n  c", "/\r/\n", "x /",        "x //",        "x // c",       "\x83\x5c//\x83\x5c\r",
  };
  for (const std::string& shape : shapes) {
    for (const std::string& input : AtEveryOffset(shape)) ExpectSameAsByteByByte(GetParam().rule, input);
  }
}

// Long inputs, mostly the bytes the rules care about, cut at random places.
TEST_P(BlockPathTest, RandomTextInRandomBlocks) {
  const std::string alphabet = std::string("  //\t\r\nab ") + '\0' + "\xff";
  Random random(20240601);
  for (int round = 0; round < 200; ++round) {
    std::string input;
    const std::uint32_t length = random.Below(3000);
    for (std::uint32_t i = 0; i < length; ++i) {
      input += random.Below(8) == 0 ? static_cast<char>(random.Below(256))
                                    : alphabet[random.Below(static_cast<std::uint32_t>(alphabet.size()))];
    }
    std::vector<std::size_t> sizes;
    for (int i = 0; i < 16; ++i) sizes.push_back(random.Below(100));
    sizes.push_back(1 + random.Below(200));
    ASSERT_EQ(ApplyRuleInBlocks(GetParam().rule, input, sizes), ApplyRuleByteByByte(GetParam().rule, input))
        << "round " << round;
  }
}

// Long enough for the block path to measure dense text, step through it, and
// take to plain text again.
TEST_P(BlockPathTest, DenseAndPlainTextInTurn) {
  const std::string dense = "  / // \t x   /\r\n";
  const std::string plain = "    total := count / 2;  // note\r\n";
  std::string input;
  for (int part = 0; part < 6; ++part) {
    const std::string& piece = part % 2 == 0 ? dense : plain;
    while (input.size() < (part + 1) * 300u * 1024) input += piece;
  }
  const std::size_t sizes[] = {64 * 1024, 5, 4000, 1, 70000};
  const std::string expected = ApplyRuleByteByByte(GetParam().rule, input);
  const std::string written = ApplyRuleInBlocks(GetParam().rule, input, sizes);
  // Megabytes apart: say where, not what.
  const auto [at, _] = std::mismatch(written.begin(), written.end(), expected.begin(), expected.end());
  EXPECT_TRUE(written == expected) << "first difference at byte " << (at - written.begin()) << " of "
                                   << written.size() << " (expected " << expected.size() << ")";
}

INSTANTIATE_TEST_SUITE_P(Rules, BlockPathTest, testing::ValuesIn(kRules),
                         [](const testing::TestParamInfo<NamedRule>& rule) { return std::string(rule.param.name); });

// The program's rules must get their fast paths, or the block path quietly
// falls back to single steps.
TEST(StretchPlan, TheRulesGetTheirStretches) {
  using Kind = Stretch::Kind;
  const struct {
    const char* what;
    const ByteRule& rule;
    std::uint8_t state;
    Kind kind;
    std::array<std::uint8_t, 2> stops;
    bool pairs;
    std::array<std::uint8_t, 2> breaks;
    std::uint8_t runLength;
  } kPlans[] = {
      {"comment, ground", CommentRule(), 0, Kind::Copy, {'/', '/'}, true, {'/', '/'}, 0},
      {"comment, one slash", CommentRule(), 1, Kind::None, {}, false, {}, 0},
      {"comment, in a comment", CommentRule(), 2, Kind::Drop, {'\n', '\r'}, false, {'\n', '\r'}, 0},
      {"tab, ground", TabRule(false), 0, Kind::Copy, {' ', ' '}, true, {'\t', ' '}, 4},
      {"tab, one blank", TabRule(false), 1, Kind::None, {}, false, {}, 0},
      {"tab3, ground", TabRule(true), 0, Kind::Copy, {' ', ' '}, true, {'\t', ' '}, 4},
  };
  for (const auto& plan : kPlans) {
    const Stretch& stretch = plan.rule.StretchIn(plan.state);
    EXPECT_EQ(stretch.kind, plan.kind) << plan.what;
    if (plan.kind == Kind::None) continue;
    EXPECT_EQ(stretch.stops, plan.stops) << plan.what;
    EXPECT_EQ(stretch.pairs, plan.pairs) << plan.what;
    EXPECT_EQ(stretch.breaks, plan.breaks) << plan.what;
    EXPECT_EQ(stretch.runLength, plan.runLength) << plan.what;
  }
  EXPECT_EQ(TabRule(false).StretchIn(0).runWrites[0], '\t');
}

// Tables of other shapes, for the parts of the plan the program's own rules
// do not reach.
constexpr RuleRow kDoubler[] = {
    // Every q is written twice: a run of one q that writes two bytes.
    {0, 'q', "q", Echo::Write, 0},
    {0, kAnyOtherByte, "", Echo::Write, 0},
};
constexpr RuleRow kPairOnItsLead[] = {
    // An a followed by anything but z is written as read, a followed by a
    // included: pairs could end on their own lead, so none may be taken in bulk.
    {0, 'a', "", Echo::Drop, 1},
    {0, kAnyOtherByte, "", Echo::Write, 0},
    {1, 'z', "Z", Echo::Drop, 0},
    {1, kAnyOtherByte, "a", Echo::Write, 0},
};
constexpr RuleRow kThreeStops[] = {
    // Too many stops for one stretch; state 1 drops all but two.
    {0, 'x', "X", Echo::Drop, 0},
    {0, 'y', "", Echo::Drop, 1},
    {0, 'z', "", Echo::Drop, 0},
    {0, kAnyOtherByte, "", Echo::Write, 0},
    {1, 'x', "", Echo::Write, 0},
    {1, 'y', "", Echo::Write, 0},
    {1, kAnyOtherByte, "", Echo::Drop, 1},
};

TEST(StretchPlan, OtherTablesGetOnlyWhatIsSafe) {
  const ByteRule doubler(kDoubler);
  EXPECT_EQ(doubler.StretchIn(0).runLength, 1);
  EXPECT_EQ(doubler.StretchIn(0).runWriteCount, 2);
  EXPECT_FALSE(doubler.StretchIn(0).pairs);
  const ByteRule pairOnItsLead(kPairOnItsLead);
  EXPECT_EQ(pairOnItsLead.StretchIn(0).kind, Stretch::Kind::Copy);
  EXPECT_FALSE(pairOnItsLead.StretchIn(0).pairs);
  const ByteRule threeStops(kThreeStops);
  EXPECT_EQ(threeStops.StretchIn(0).kind, Stretch::Kind::None);
  EXPECT_EQ(threeStops.StretchIn(1).kind, Stretch::Kind::Drop);
}

TEST(StretchPlan, OtherTablesWriteWhatTheirStepsWrite) {
  const ByteRule doubler(kDoubler);
  const ByteRule pairOnItsLead(kPairOnItsLead);
  const ByteRule threeStops(kThreeStops);
  const struct {
    const ByteRule& rule;
    std::string alphabet;
  } kTables[] = {{doubler, "qqqqqqx"}, {pairOnItsLead, "aaazxb"}, {threeStops, "xyzabcd"}};
  Random random(7);
  for (const auto& table : kTables) {
    for (int round = 0; round < 100; ++round) {
      std::string input;
      for (std::uint32_t i = random.Below(400); i > 0; --i) {
        input += table.alphabet[random.Below(static_cast<std::uint32_t>(table.alphabet.size()))];
      }
      const std::size_t sizes[] = {1 + random.Below(90), random.Below(20)};
      ASSERT_EQ(ApplyRuleInBlocks(table.rule, input, sizes), ApplyRuleByteByByte(table.rule, input)) << input;
    }
  }
}

}  // namespace
}  // namespace kelbrin::test
