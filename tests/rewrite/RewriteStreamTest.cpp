// What a stream counts and tells: every byte it read, every byte the rule
// wrote, and whether the output is the input, which is how a run knows that
// a file would not change.
#include <gtest/gtest.h>

#include <string>

#include "CommentRule.h"
#include "MemoryStreams.h"
#include "NamedRules.h"
#include "PassRules.h"
#include "Random.h"
#include "RewriteStream.h"
#include "RuleHarness.h"

namespace kelbrin::test {
namespace {

StreamResult Rewrite(MemoryStreams& streams, const ByteRule& rule) {
  return RewriteStream(streams, streams.StandardInput(), streams.StandardOutput(), rule, [](std::int64_t) {});
}

// Tab stops one column apart turn two blanks into two tabs: the output is as
// long as the input, and still another.
TEST(RewriteStream, TellsWhetherTheOutputIsTheInput) {
  constexpr std::string_view kBytes = " \t/\r\na";
  const PassRules everyColumn({.tabStops = 1});
  std::vector<NamedRule> rules = EveryRule();
  rules.push_back({"tab stops of 1", everyColumn.Tab()});
  for (const NamedRule& rule : rules) {
    Random random(17);
    int unchanged = 0;
    for (int i = 0; i < 4000; ++i) {
      std::string input(random.Below(24), '\0');
      for (char& c : input) c = kBytes[random.Below(kBytes.size())];
      MemoryStreams streams(input, {.readLengths = {random.Below(5) + 1}});
      const StreamResult result = Rewrite(streams, rule.rule);
      ASSERT_TRUE(result.status);
      ASSERT_EQ(result.consumed, static_cast<std::int64_t>(input.size()));
      ASSERT_EQ(result.written, static_cast<std::int64_t>(streams.Output().size()));
      ASSERT_EQ(streams.Output() == input, result.unchanged) << rule.name << ": " << testing::PrintToString(input);
      unchanged += streams.Output() == input;
    }
    // Both kinds of input were met, many times.
    EXPECT_GT(unchanged, 200) << rule.name;
    EXPECT_LT(unchanged, 3800) << rule.name;
  }
}

// The size a file had when it was opened only sizes the blocks: a file that
// has grown since, or shrunk, still goes through whole.
TEST(RewriteStream, AnExpectedSizeThatIsWrongLosesNothing) {
  const std::string input = SourceLikeText(3000);
  for (const std::int64_t expected : {std::int64_t{0}, std::int64_t{1}, std::int64_t{4095}, std::int64_t{4096},
                                      static_cast<std::int64_t>(input.size()) * 4}) {
    MemoryStreams streams(input);
    const StreamResult result = RewriteStream(streams, streams.StandardInput(), streams.StandardOutput(),
                                              CommentRule(), [](std::int64_t) {}, {}, expected);
    ASSERT_TRUE(result.status);
    EXPECT_EQ(streams.Output(), ApplyRule(CommentRule(), input)) << expected;
    EXPECT_EQ(result.consumed, static_cast<std::int64_t>(input.size())) << expected;
  }
}

TEST(RewriteStream, CountsAcrossBlocks) {
  const std::string input = SourceLikeText(100000);
  ASSERT_GT(input.size(), 2 * kStreamBlockSize);
  for (const NamedRule& rule : EveryRule()) {
    MemoryStreams streams(input);
    const StreamResult result = Rewrite(streams, rule.rule);
    ASSERT_TRUE(result.status);
    EXPECT_EQ(streams.Output(), ApplyRule(rule.rule, input)) << rule.name;
    EXPECT_EQ(result.consumed, static_cast<std::int64_t>(input.size())) << rule.name;
    EXPECT_EQ(result.written, static_cast<std::int64_t>(streams.Output().size())) << rule.name;
  }
}

TEST(RewriteStream, SaysWhichEndFailed) {
  const std::string input = SourceLikeText(10);
  for (const bool inOutput : {false, true}) {
    MemoryStreams streams(input, {.failingRead = inOutput ? MemoryStreams::kNever : 1,
                                               .failingWrite = inOutput ? 1 : MemoryStreams::kNever});
    const StreamResult result = Rewrite(streams, EveryRule().back().rule);
    EXPECT_FALSE(result.status);
    EXPECT_EQ(result.outputFailed, inOutput);
  }
}

}  // namespace
}  // namespace kelbrin::test
