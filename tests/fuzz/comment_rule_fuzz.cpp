// Properties of the comment rule that must hold for every input, through each
// width of the block path (the top two switches).
#include "CommentRule.h"
#include "FuzzInput.h"

using namespace kelbrin;
using namespace kelbrin::fuzz;


extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const FuzzInput input = ParseFuzzInput(data, size);
  const ByteRule& rule = CommentRule(input.BlockWidth());
  const std::string output = FeedByteByByte(rule, input.text);

  Require(FeedInBlocks(rule, CutIntoBlocks(input.text, input.blockLengths)) == output,
          "feeding blocks gives what feeding single bytes gives");
  if (input.text.find("//") == std::string_view::npos)
    Require(output == input.text, "text without two adjacent slashes passes unchanged");
  Require(BytesComeFrom(output, input.text, ""), "writes no byte that is not in its input");
  Require(IsSubsequence(output, input.text), "only leaves bytes out");
  Require(CountOf(output, '\r') == CountOf(input.text, '\r') && CountOf(output, '\n') == CountOf(input.text, '\n'),
          "keeps every line end");
  Require(output.find("//") == std::string::npos, "leaves no comment behind, so a second pass changes nothing");
  return 0;
}
