// Two threads taking blocks in turn write exactly what one thread writes,
// wherever the blocks can or cannot be cut, and stop at the first failure.
#include <gtest/gtest.h>

#include <cctype>
#include <string>
#include <vector>

#include "CommentRule.h"
#include "MemoryStreams.h"
#include "NamedRules.h"
#include "ParallelStream.h"
#include "Random.h"
#include "RuleChain.h"
#include "RuleHarness.h"
#include "TabRule.h"

namespace kelbrin::test {
namespace {

// Every byte written three times over: it writes more than it reads, so a
// block's output goes out before the block ends.
constexpr RuleRow kTripling[] = {{0, kAnyOtherByte, "ab", Echo::Write, 0}};

// Drops every byte between two x's: no byte brings it back to state 0 from
// both states, so no block can be cut where its state is known.
constexpr RuleRow kBetweenXs[] = {
    {0, 'x', "", Echo::Drop, 1},
    {0, kAnyOtherByte, "", Echo::Write, 0},
    {1, 'x', "", Echo::Drop, 0},
    {1, kAnyOtherByte, "", Echo::Drop, 1},
};

std::string Repeated(const std::string& text, std::size_t size) {
  std::string out;
  while (out.size() < size) out += text;
  return out;
}

std::string RandomBytes(std::size_t size, std::uint32_t seed, std::string_view alphabet) {
  Random random(seed);
  std::string out(size, '\0');
  for (char& c : out) c = alphabet[random.Below(static_cast<std::uint32_t>(alphabet.size()))];
  return out;
}

// Three of the filter's 512 KiB blocks and part of a fourth.
constexpr std::size_t kLarge = 1600 * 1024;

// The inputs are made only in the test that takes them: every test of the
// program runs in a process of its own.
struct Input {
  const char* name;
  std::string (*make)();
};

std::string EveryByte() {
  std::string bytes(256, '\0');
  for (int b = 0; b < 256; ++b) bytes[b] = static_cast<char>(b);
  return bytes;
}

const Input kInputs[] = {
    {"empty", [] { return std::string(); }},
    {"one slash", [] { return std::string("/"); }},
    {"source", [] { return Repeated(SourceLikeText(100), kLarge); }},
    // Lines longer than the stretch where a cut is looked for.
    {"long lines", [] { return Repeated(Repeated("a  b  // c / ", 40000) + "\r\n", kLarge); }},
    {"no line end", [] { return Repeated("x    // y  / ", kLarge); }},
    {"few line ends", [] { return RandomBytes(kLarge, 7, Repeated(" /", 5000) + "\r\n\tx"); }},
    {"every byte", [] { return RandomBytes(kLarge, 11, EveryByte()); }},
    // Line ends inside a comment longer than a block: a guess that the next
    // block starts in state 0 is wrong there.
    {"a block comment over blocks",
     [] { return Repeated("/*" + Repeated("x  // y\r\n", 1 << 20) + "*/ z  // w\r\n", kLarge); }},
    {"raw strings across blocks",
     [] { return Repeated("R\"delimiter(  //  )\"  )delimiter\"    // c\r\n", kLarge); }},
};

StreamResult RunParallel(MemoryStreams& streams, const ByteRule& rule) {
  return RewriteStreamInParallel(streams, streams.StandardInput(), streams.StandardOutput(), rule);
}

void PrintTo(const Input& input, std::ostream* out) { *out << input.name; }

class EveryInput : public testing::TestWithParam<Input> {};

TEST_P(EveryInput, WritesWhatTheRuleWritesInOneGo) {
  const std::string bytes = GetParam().make();
  const std::vector<std::vector<std::size_t>> readPlans = {{}, {100003}, {1, 4096, 70001}};
  for (const NamedRule& rule : EveryRule()) {
    const std::string expected = ApplyRule(rule.rule, bytes);
    for (const auto& reads : readPlans) {
      MemoryStreams streams(bytes, {.readLengths = reads, .writeLengths = {65537}});
      const StreamResult result = RunParallel(streams, rule.rule);
      ASSERT_TRUE(result.status) << rule.name;
      ASSERT_EQ(streams.Output(), expected) << rule.name << ", reads of " << testing::PrintToString(reads);
      EXPECT_EQ(result.consumed, static_cast<std::int64_t>(bytes.size()));
      EXPECT_EQ(result.written, static_cast<std::int64_t>(expected.size()));
      EXPECT_EQ(streams.StrayCalls(), 0);
    }
  }
}

std::string TestName(const testing::TestParamInfo<Input>& input) {
  std::string name = input.param.name;
  for (char& c : name)
    if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
  return name;
}

// One test per input, so that they share the processors.
INSTANTIATE_TEST_SUITE_P(ParallelStream, EveryInput, testing::ValuesIn(kInputs), TestName);

// Reads that deliver a few bytes make a block of every few bytes, most of
// which cannot be cut.
TEST(ParallelStream, TinyReads) {
  const std::string input = SourceLikeText(300);
  for (const NamedRule& rule : EveryRule()) {
    for (std::size_t length : {1, 7}) {
      MemoryStreams streams(input, {.readLengths = {length}});
      ASSERT_TRUE(RunParallel(streams, rule.rule).status);
      ASSERT_EQ(streams.Output(), ApplyRule(rule.rule, input)) << rule.name << ", reads of " << length;
    }
  }
}

// A second thread costs more than it saves on a small input.
TEST(ParallelStream, ASmallInputStaysOnTheCallingThread) {
  const ByteRule& rule = CommentThenTabRule(true);
  for (std::size_t size : {std::size_t{2048}, std::size_t{200 * 1024}}) {
    const std::string input = Repeated(SourceLikeText(100), size).substr(0, size);
    for (const std::vector<std::size_t>& reads : {std::vector<std::size_t>{}, {4096}}) {
      MemoryStreams streams(input, {.readLengths = reads});
      ASSERT_TRUE(RunParallel(streams, rule).status);
      EXPECT_EQ(streams.Output(), ApplyRule(rule, input)) << size;
      EXPECT_TRUE(streams.OneThread()) << size << " bytes, reads of " << testing::PrintToString(reads);
    }
  }
}

TEST(ParallelStream, RulesThatGrowOrNeverReset) {
  const ByteRule tripling(kTripling);
  const ByteRule betweenXs(kBetweenXs);
  const std::string input = RandomBytes(kLarge, 3, "abcx\n");
  for (const ByteRule* rule : {&tripling, &betweenXs}) {
    for (const std::vector<std::size_t>& reads : {std::vector<std::size_t>{}, {5000}}) {
      MemoryStreams streams(input, {.readLengths = reads});
      ASSERT_TRUE(RunParallel(streams, *rule).status);
      ASSERT_EQ(streams.Output(), ApplyRule(*rule, input));
    }
  }
  for (int b = 0; b < 256; ++b) EXPECT_FALSE(betweenXs.Resets(static_cast<std::uint8_t>(b))) << b;
}

// What the cuts rely on: these bytes, and only these, bring each rule back
// to state 0, whatever came before.
TEST(ParallelStream, BytesThatResetTheRules) {
  const auto lineEnds = [](int b) { return b == '\r' || b == '\n'; };
  const auto notBlank = [](int b) { return b != ' '; };
  const struct {
    const char* name;
    const ByteRule& rule;
    bool (*resets)(int);
  } cases[] = {
      {"comment", CommentRule(), lineEnds},          {"tab", TabRule(false), notBlank},
      {"tab3", TabRule(true), notBlank},             {"comment+tab", CommentThenTabRule(false), lineEnds},
      {"comment+tab3", CommentThenTabRule(true), lineEnds},
  };
  const std::string prefixes[] = {"", "/", "//", " ", "  ", "   ", "// ", "/ ", " /"};
  for (const auto& c : cases) {
    for (int b = 0; b < 256; ++b) {
      const auto byte = static_cast<std::uint8_t>(b);
      ASSERT_EQ(c.rule.Resets(byte), c.resets(b)) << c.name << ", byte " << b;
      if (!c.rule.Resets(byte)) continue;
      for (const std::string& prefix : prefixes) {
        RuleRunner runner(c.rule);
        StringSink out;
        for (char p : prefix) runner.Feed(static_cast<std::uint8_t>(p), out);
        runner.Feed(byte, out);
        ASSERT_TRUE(runner.State() == RuleState{}) << c.name << ", byte " << b << " after " << testing::PrintToString(prefix);
      }
    }
  }
}

// Bytes read before the stream starts (standard input judged for its
// encoding) come first; more than the first block takes are taken alone.
TEST(ParallelStream, BytesReadBeforeComeFirst) {
  const std::string input = Repeated(SourceLikeText(100), kLarge);
  for (const NamedRule& rule : EveryRule()) {
    const std::string expected = ApplyRule(rule.rule, input);
    for (std::size_t before : {std::size_t{1}, std::size_t{70000}, std::size_t{512 * 1024}, std::size_t{600000}}) {
      MemoryStreams streams(std::string_view(input).substr(before));
      const StreamResult result = RewriteStreamInParallel(streams, streams.StandardInput(), streams.StandardOutput(),
                                                          rule.rule, {BytesOf(input), before});
      ASSERT_TRUE(result.status) << rule.name;
      ASSERT_EQ(streams.Output(), expected) << rule.name << ", " << before << " bytes read before";
    }
  }
}

TEST(ParallelStream, StopsAtTheFirstFailure) {
  const std::string input = Repeated(SourceLikeText(100), kLarge);
  const ByteRule& rule = CommentThenTabRule(true);
  const std::string whole = ApplyRule(rule, input);
  const IoStatus injected{FailureReason::Other, 5};
  const struct {
    const char* name;
    MemoryStreams::Plan plan;
    FailureReason reason;
  } cases[] = {
      {"first read", {.failingRead = 1, .failure = injected}, FailureReason::Other},
      {"third read", {.failingRead = 3, .failure = injected}, FailureReason::Other},
      {"first write", {.failingWrite = 1, .failure = injected}, FailureReason::Other},
      {"second write", {.failingWrite = 2, .failure = injected}, FailureReason::Other},
      {"a write that stores nothing", {.writeLengths = {0}}, FailureReason::DiskFull},
  };
  for (const auto& c : cases) {
    MemoryStreams streams(input, c.plan);
    const StreamResult result = RunParallel(streams, rule);
    EXPECT_EQ(result.status.reason, c.reason) << c.name;
    EXPECT_EQ(result.outputFailed, c.plan.failingRead == MemoryStreams::kNever) << c.name;
    // What went out is the start of the output, in order.
    EXPECT_EQ(streams.Output(), whole.substr(0, streams.Output().size())) << c.name;
    if (c.plan.failingRead != MemoryStreams::kNever) {
      EXPECT_EQ(streams.Reads(), c.plan.failingRead) << c.name << ": no read after the failed one";
    } else {
      // The failed block's and the one the other thread may have read since.
      EXPECT_LE(streams.Reads(), std::max(streams.Writes(), 1) + 1) << c.name << ": reading stops";
    }
  }
}

}  // namespace
}  // namespace kelbrin::test
