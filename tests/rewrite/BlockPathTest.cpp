// The block path must write exactly what the rules' byte-at-a-time steps
// write, for any input and any cut of it into blocks.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "CommentRule.h"
#include "Random.h"
#include "RuleChain.h"
#include "RuleHarness.h"
#include "TabRule.h"

namespace kelbrin::test {
namespace {

// Each rule, and the two chained, with each width of its block path that this
// processor runs.
struct NamedRule {
  std::string name;
  const ByteRule* rule;
};

std::vector<NamedRule> AllRules() {
  std::vector<NamedRule> rules;
  for (Width width : Widths()) {
    const std::string suffix = std::string("_") + WidthName(width);
    rules.push_back({"comment" + suffix, &CommentRule(width)});
    rules.push_back({"tab" + suffix, &TabRule(false, width)});
    rules.push_back({"tab3" + suffix, &TabRule(true, width)});
    rules.push_back({"comment_tab" + suffix, &CommentThenTabRule(false, width)});
    rules.push_back({"comment_tab3" + suffix, &CommentThenTabRule(true, width)});
  }
  return rules;
}

void PrintTo(const NamedRule& rule, std::ostream* os) { *os << rule.name; }

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
  const std::string expected = ApplyRuleByteByByte(*GetParam().rule, input);
  EXPECT_EQ(ApplyRule(*GetParam().rule, input), expected);
  for (std::size_t size = 1; size <= 40; ++size) {
    const std::size_t sizes[] = {size};
    EXPECT_EQ(ApplyRuleInBlocks(*GetParam().rule, input, sizes), expected) << "blocks of " << size;
  }
}

TEST_P(BlockPathTest, BlankRunsOfEveryLengthBeforeEveryKindOfByte) {
  const std::string followers[] = {"x", "\t", "/", "//", "\r", "\n", "\r\n", "\x81\x40", ""};
  for (std::size_t blanks = 0; blanks <= 9; ++blanks) {
    for (const std::string& follower : followers) {
      for (const std::string& input : AtEveryOffset(std::string(blanks, ' ') + follower + "z")) {
        ExpectSameAsByteByByte(*GetParam().rule, input);
        ExpectSameAsByteByByte(*GetParam().rule, input.substr(0, input.size() - 1));  // ending on the follower
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
    for (const std::string& input : AtEveryOffset(shape)) ExpectSameAsByteByByte(*GetParam().rule, input);
  }
}

// A shape starting `before` bytes ahead of an edge of the block path's 64-byte
// chunks (the start, the first and the second edge), with text behind it or
// not: the last chunks of a block are walked in a copy, the others in place.
std::vector<std::string> AcrossChunkEdges(const std::string& shape) {
  const std::size_t lead[] = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 30, 31, 32, 33, 34, 35};
  std::vector<std::string> inputs;
  for (const std::size_t edge : {std::size_t{0}, std::size_t{64}, std::size_t{128}}) {
    for (const std::size_t before : lead) {
      if (before > edge) continue;
      for (const std::size_t behind : {std::size_t{0}, std::size_t{1}, std::size_t{140}}) {
        inputs.push_back(std::string(edge - before, 'a') + shape + std::string(behind, 'z'));
      }
    }
  }
  return inputs;
}

// The input whole, in blocks of sizes about the chunks', and cut in two
// around every chunk edge.
void ExpectSameAroundChunkEdges(const ByteRule& rule, const std::string& input) {
  const std::string expected = ApplyRuleByteByByte(rule, input);
  ASSERT_EQ(ApplyRule(rule, input), expected) << "whole: " << testing::PrintToString(input);
  for (std::size_t size : {1, 2, 3, 7, 63, 64, 65, 127, 128, 129, 200}) {
    const std::size_t sizes[] = {size};
    ASSERT_EQ(ApplyRuleInBlocks(rule, input, sizes), expected)
        << "blocks of " << size << ": " << testing::PrintToString(input);
  }
  for (std::size_t cut = 1; cut < input.size(); ++cut) {
    if (cut % 64 > 2 && cut % 64 < 62) continue;
    const std::size_t halves[] = {cut, input.size() - cut};
    ASSERT_EQ(ApplyRuleInBlocks(rule, input, halves), expected)
        << "cut at " << cut << ": " << testing::PrintToString(input);
  }
}

TEST_P(BlockPathTest, ShapesAcrossChunkEdges) {
  const std::string shapes[] = {
      // Runs of blanks ending just before, on and after an edge, before each
      // kind of byte; runs longer than a chunk.
      " ", "  ", "   ", "    ", "     ", "       ", " \t", "  \t", "   \t", "    \t", "   x", "   \r\n",
      std::string(63, ' ') + "x", std::string(64, ' ') + "\t", std::string(65, ' ') + "/", std::string(130, ' '),
      std::string(131, ' ') + "\t" + std::string(67, ' ') + "y",
      // Slashes and comments, their line ends on and after an edge; comments
      // longer than a chunk.
      "/", "//", "///", "/x", "x/", "/ /", "//\r", "//\n", "// c\r\n", "/\r\n//\n",
      "//" + std::string(70, 'c') + "\r\n", "//" + std::string(140, ' ') + "\n   x",
      // Both at once: blanks before a comment and after its line end.
      "   // c\r\n    x", "\t  //\t \n  \t", "    /    //    \r",
  };
  for (const std::string& shape : shapes) {
    for (const std::string& input : AcrossChunkEdges(shape)) ExpectSameAroundChunkEdges(*GetParam().rule, input);
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
    // Small blocks, and blocks large enough to be walked in place.
    std::vector<std::size_t> sizes;
    for (int i = 0; i < 16; ++i) sizes.push_back(random.Below(i % 2 == 0 ? 100 : 600));
    sizes.push_back(1 + random.Below(200));
    ASSERT_EQ(ApplyRuleInBlocks(*GetParam().rule, input, sizes), ApplyRuleByteByByte(*GetParam().rule, input))
        << "round " << round;
  }
}

// Megabytes of dense and plain text in turn, in blocks of the program's size
// and of others.
TEST_P(BlockPathTest, DenseAndPlainTextInTurn) {
  const std::string dense = "  / // \t x   /\r\n";
  const std::string plain = "    total := count / 2;  // note\r\n";
  std::string input;
  for (int part = 0; part < 6; ++part) {
    const std::string& piece = part % 2 == 0 ? dense : plain;
    while (input.size() < (part + 1) * 300u * 1024) input += piece;
  }
  const std::size_t sizes[] = {1024 * 1024, 5, 4000, 1, 70000};
  const std::string expected = ApplyRuleByteByByte(*GetParam().rule, input);
  const std::string written = ApplyRuleInBlocks(*GetParam().rule, input, sizes);
  // Megabytes apart: say where, not what.
  const auto [at, _] = std::mismatch(written.begin(), written.end(), expected.begin(), expected.end());
  EXPECT_TRUE(written == expected) << "first difference at byte " << (at - written.begin()) << " of "
                                   << written.size() << " (expected " << expected.size() << ")";
}

INSTANTIATE_TEST_SUITE_P(Rules, BlockPathTest, testing::ValuesIn(AllRules()),
                         [](const testing::TestParamInfo<NamedRule>& rule) { return rule.param.name; });

// Tables without a block path of their own are stepped through, whatever
// they write for a byte.
constexpr RuleRow kDoubler[] = {
    // Every q is written twice: more bytes out than in.
    {0, 'q', "q", Echo::Write, 0},
    {0, kAnyOtherByte, "", Echo::Write, 0},
};
constexpr RuleRow kPairOnItsLead[] = {
    // An a followed by anything but z is written as read.
    {0, 'a', "", Echo::Drop, 1},
    {0, kAnyOtherByte, "", Echo::Write, 0},
    {1, 'z', "Z", Echo::Drop, 0},
    {1, kAnyOtherByte, "a", Echo::Write, 0},
};
constexpr RuleRow kThreeStops[] = {
    // Three bytes that act; state 1 drops all but two.
    {0, 'x', "X", Echo::Drop, 0},
    {0, 'y', "", Echo::Drop, 1},
    {0, 'z', "", Echo::Drop, 0},
    {0, kAnyOtherByte, "", Echo::Write, 0},
    {1, 'x', "", Echo::Write, 0},
    {1, 'y', "", Echo::Write, 0},
    {1, kAnyOtherByte, "", Echo::Drop, 1},
};

TEST(OtherTables, WriteWhatTheirStepsWrite) {
  const ByteRule doubler(kDoubler);
  const ByteRule pairOnItsLead(kPairOnItsLead);
  const ByteRule threeStops(kThreeStops);
  // Chained, they pass what the first writes on to the second a piece at a time.
  const ByteRule chained(doubler, pairOnItsLead);
  const struct {
    const ByteRule& rule;
    std::string alphabet;
  } kTables[] = {{doubler, "qqqqqqx"}, {pairOnItsLead, "aaazxb"}, {threeStops, "xyzabcd"}, {chained, "qaqazxb"}};
  Random random(7);
  for (const auto& table : kTables) {
    for (int round = 0; round < 100; ++round) {
      std::string input;
      for (std::uint32_t i = random.Below(round % 10 == 0 ? 40000 : 400); i > 0; --i) {
        input += table.alphabet[random.Below(static_cast<std::uint32_t>(table.alphabet.size()))];
      }
      // Now and then a block larger than a piece of the chain's buffer.
      const std::size_t sizes[] = {1 + random.Below(90), random.Below(20), round % 10 == 0 ? 30000u : 5u};
      ASSERT_EQ(ApplyRuleInBlocks(table.rule, input, sizes), ApplyRuleByteByByte(table.rule, input)) << input;
    }
  }
}

}  // namespace
}  // namespace kelbrin::test
