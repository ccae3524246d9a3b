// Two rules chained as one write what the two applied one after the other
// write, however the input arrives.
#include <gtest/gtest.h>

#include <cstdint>
#include <stdexcept>
#include <string>

#include "CommentRule.h"
#include "RewriteStream.h"
#include "RuleChain.h"
#include "RuleHarness.h"
#include "TabRule.h"
#include "TestFiles.h"

namespace kelbrin::test {
namespace {

std::string OneAfterTheOther(const std::string& input, bool threeBlanks) {
  return ApplyRuleByteByByte(TabRule(threeBlanks), ApplyRuleByteByByte(CommentRule(), input));
}

// The chained rule's own steps are the two rules' steps one after the other,
// from every state the two can be in together, for every byte and at the end.
TEST(RuleChain, ItsStepsAreTheTwoRulesOneAfterTheOther) {
  const std::string intoEveryState[] = {"", "/", "//", " ", "  ", "   ", "/ ", " /", "   /", "//   ", "  //", "x/  "};
  for (bool threeBlanks : {false, true}) {
    const ByteRule& chained = CommentThenTabRule(threeBlanks);
    for (const std::string& prefix : intoEveryState) {
      for (int b = 0; b < 256; ++b) {
        for (const std::string& suffix : {std::string(), std::string("/ \tx"), std::string("  \r\n")}) {
          const std::string input = prefix + static_cast<char>(b) + suffix;
          ASSERT_EQ(ApplyRuleByteByByte(chained, input), OneAfterTheOther(input, threeBlanks))
              << testing::PrintToString(input) << (threeBlanks ? ", three blanks" : "");
        }
      }
    }
  }
}

TEST(RuleChain, InMemoryInBlocksOfEverySize) {
  const std::string input = SourceLikeText(60);
  for (bool threeBlanks : {false, true}) {
    const std::string expected = OneAfterTheOther(input, threeBlanks);
    for (Width width : Widths()) {
      for (std::size_t size = 1; size <= 70; ++size) {
        const std::size_t sizes[] = {size};
        ASSERT_EQ(ApplyRuleInBlocks(CommentThenTabRule(threeBlanks, width), input, sizes), expected)
            << "blocks of " << size << ", " << WidthName(width) << (threeBlanks ? ", three blanks" : "");
      }
    }
  }
}

// A block reaches the block path a piece at a time.
TEST(RuleChain, InMemoryAcrossThePieces) {
  const std::string input = SourceLikeText(3000);
  ASSERT_GT(input.size(), 3 * RuleRunner::kPiece);
  for (bool threeBlanks : {false, true}) {
    const std::string expected = OneAfterTheOther(input, threeBlanks);
    for (std::size_t size : {RuleRunner::kPiece - 1, RuleRunner::kPiece, RuleRunner::kPiece + 1, input.size()}) {
      const std::size_t sizes[] = {size};
      ASSERT_EQ(ApplyRuleInBlocks(CommentThenTabRule(threeBlanks), input, sizes), expected)
          << "blocks of " << size << (threeBlanks ? ", three blanks" : "");
    }
  }
}

// Any two tables chain, as long as one step of the two writes no more than a
// step may.
constexpr RuleRow kFourFold[] = {{0, 'q', "qqq", Echo::Write, 0}, {0, kAnyOtherByte, "", Echo::Write, 0}};
constexpr RuleRow kSwapAfterA[] = {
    {0, 'a', "", Echo::Drop, 1},
    {0, kAnyOtherByte, "", Echo::Write, 0},
    {1, kAnyOtherByte, "a", Echo::Write, 0},
};
constexpr RuleRow kThreeFold[] = {{0, 'q', "qq", Echo::Write, 0}, {0, kAnyOtherByte, "", Echo::Write, 0}};
constexpr RuleRow kTwoFold[] = {{0, 'q', "q", Echo::Write, 0}, {0, kAnyOtherByte, "", Echo::Write, 0}};

TEST(RuleChain, OtherTablesChainAsTheyRun) {
  const ByteRule fourFold(kFourFold);
  const ByteRule swapAfterA(kSwapAfterA);
  const ByteRule chained(fourFold, swapAfterA);
  const std::string inputs[] = {"", "q", "aq", "qa", "aaqqa", "xqaqa", "a"};
  for (const std::string& input : inputs) {
    EXPECT_EQ(ApplyRuleByteByByte(chained, input), ApplyRuleByteByByte(swapAfterA, ApplyRuleByteByByte(fourFold, input)))
        << input;
  }
  const ByteRule threeFold(kThreeFold);
  const ByteRule twoFold(kTwoFold);
  EXPECT_EQ(ByteRule(threeFold, twoFold).MostWritten(), ByteRule::kMaxWritten);  // six bytes for a q
  EXPECT_THROW(ByteRule(fourFold, twoFold), std::logic_error);                   // eight
}

// The stream the filter runs: files read and written in blocks of their own.
TEST(RuleChain, ThroughTheStreamAcrossReadBlocks) {
  TempDir dir;
  std::string input;
  while (input.size() < 5 * kStreamBlockSize / 2) input += SourceLikeText(100);
  WriteBytes(dir / "in", input);
  for (bool threeBlanks : {false, true}) {
    FileSystem& fs = PlatformFileSystem();
    FileHandle in = 0;
    FileHandle out = 0;
    std::string outName;
    ASSERT_TRUE(fs.OpenForReading(dir / "in", in));
    ASSERT_TRUE(fs.CreateWorkFile(dir.Path(), out, outName));
    const StreamResult result = RewriteStream(fs, in, out, CommentThenTabRule(threeBlanks), [](std::int64_t) {});
    fs.Close(in);
    fs.Close(out);
    ASSERT_TRUE(result.status);
    EXPECT_EQ(result.consumed, static_cast<std::int64_t>(input.size()));
    EXPECT_EQ(ReadBytes(outName), OneAfterTheOther(input, threeBlanks));
  }
}

}  // namespace
}  // namespace kelbrin::test
