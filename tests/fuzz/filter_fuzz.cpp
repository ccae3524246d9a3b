// The chained filter, end to end through the streaming frame: whatever the
// sizes in which reads deliver and writes take the bytes, its output is what
// the selected rules give when applied one after the other, and it changes
// nothing exactly when it writes as many bytes as it reads.
#include "CommentRule.h"
#include "Filter.h"
#include "FuzzInput.h"
#include "MemoryStreams.h"
#include "PassRules.h"
#include "TabRule.h"

using namespace kelbrin;
using namespace kelbrin::fuzz;
using kelbrin::test::MemoryStreams;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const FuzzInput input = ParseFuzzInput(data, size);
  PassSelection selection{input.Switch(0), input.Switch(1), input.Switch(2)};
  if (!selection.Any()) selection.commentDelete = true;

  std::string expected(input.text);
  if (selection.commentDelete) expected = FeedByteByByte(CommentRule(), expected);
  if (selection.spaceToTab) expected = FeedByteByByte(TabRule(selection.space3), expected);

  // Every read delivers, and every write takes, no more than the next of the
  // fuzzer's lengths (at least one byte: nothing at all would mean the end of
  // the input or a full disk).
  std::vector<std::size_t> lengths;
  for (std::size_t length : input.blockLengths) lengths.push_back(length + 1);
  MemoryStreams streams(input.text, {.readLengths = lengths, .writeLengths = lengths});
  const StreamResult result = RunFilter(PassRules({.threeBlanks = selection.space3}).For(selection), streams);
  Require(static_cast<bool>(result.status), "the filter succeeds when reads and writes do");
  Require(streams.StrayCalls() == 0, "the filter uses standard input and output only");
  Require(streams.Output() == expected, "the chained filter gives what the rules give one after the other");
  Require(BytesComeFrom(streams.Output(), input.text, "\t"), "writes no byte that is not in its input or a tab");
  Require(streams.Output().size() <= input.text.size(), "never makes its input longer");
  Require(result.consumed == static_cast<std::int64_t>(input.text.size()) &&
              result.written == static_cast<std::int64_t>(streams.Output().size()),
          "counts what it read and what it wrote");
  // The default rules only drop bytes or put fewer in their place.
  Require((streams.Output() == input.text) == (result.written == result.consumed),
          "changes nothing exactly when it writes as much as it reads");
  return 0;
}
