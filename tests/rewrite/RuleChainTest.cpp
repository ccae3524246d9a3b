// Two rules chained in one stream write what the two applied one after the
// other write, however the input arrives.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "CommentRule.h"
#include "RewriteStream.h"
#include "RuleChain.h"
#include "RuleHarness.h"
#include "TabRule.h"
#include "TestFiles.h"

namespace kelbrin::test {
namespace {

// Source-like lines with every shape both rules care about, some of them
// long enough to cross the stream's read blocks.
std::string SourceLikeText(std::size_t lines) {
  const std::string shapes[] = {
      "    x := a / b;  // note\r\n", "\tif a then  // \x83\x5c//\r\n", "s := 'http://x';   \r\n",
      "  /* a // b */\n",             "        y  :=  1;\r\n",         "   \t//\r// \t  \n",
      "a/ /b  /",                     std::string(70, ' ') + "//" + std::string(9, '/') + "\r\n",
  };
  std::string text;
  for (std::size_t i = 0; i < lines; ++i) text += shapes[(i * 7 + i / 3) % std::size(shapes)];
  return text;
}

std::string OneAfterTheOther(const std::string& input, bool threeBlanks) {
  return ApplyRuleByteByByte(TabRule(threeBlanks), ApplyRuleByteByByte(CommentRule(), input));
}

std::string ThroughChain(const std::string& input, bool threeBlanks, std::size_t blockSize) {
  RuleChain chain(CommentRule(), TabRule(threeBlanks));
  StringSink out;
  for (std::size_t at = 0; at < input.size(); at += blockSize) {
    const std::string_view block = std::string_view(input).substr(at, blockSize);
    chain.Feed(BytesOf(block), block.size(), out);
  }
  chain.Finish(out);
  return out.bytes;
}

TEST(RuleChain, InMemoryInBlocksOfEverySize) {
  const std::string input = SourceLikeText(60);
  for (bool threeBlanks : {false, true}) {
    const std::string expected = OneAfterTheOther(input, threeBlanks);
    for (std::size_t size = 1; size <= 70; ++size) {
      ASSERT_EQ(ThroughChain(input, threeBlanks, size), expected)
          << "blocks of " << size << (threeBlanks ? ", three blanks" : "");
    }
  }
}

// The chain hands the second rule what the first wrote a piece at a time.
TEST(RuleChain, InMemoryAcrossItsPieces) {
  const std::string input = SourceLikeText(3000);
  ASSERT_GT(input.size(), 3 * RuleChain::kPiece);
  for (bool threeBlanks : {false, true}) {
    const std::string expected = OneAfterTheOther(input, threeBlanks);
    for (std::size_t size : {RuleChain::kPiece - 1, RuleChain::kPiece, RuleChain::kPiece + 1, input.size()}) {
      ASSERT_EQ(ThroughChain(input, threeBlanks, size), expected)
          << "blocks of " << size << (threeBlanks ? ", three blanks" : "");
    }
  }
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
    const std::string outName = threeBlanks ? "out3" : "out";
    ASSERT_TRUE(fs.OpenForReading(dir / "in", in));
    ASSERT_TRUE(fs.CreateForWriting(dir / outName, out));
    const ByteRule* rules[] = {&CommentRule(), &TabRule(threeBlanks)};
    const StreamResult result = RewriteStream(fs, in, out, rules, [](std::int64_t) {});
    fs.Close(in);
    fs.Close(out);
    ASSERT_TRUE(result.status);
    EXPECT_EQ(result.consumed, static_cast<std::int64_t>(input.size()));
    EXPECT_EQ(ReadBytes(dir / outName), OneAfterTheOther(input, threeBlanks));
  }
}

}  // namespace
}  // namespace kelbrin::test
