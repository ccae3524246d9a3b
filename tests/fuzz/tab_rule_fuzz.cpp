// Properties of the space-to-tab rule that must hold for every input, with
// the three-blank option off and on (the first switch), through each width of
// the block path (the top two).
#include "FuzzInput.h"
#include "TabRule.h"

using namespace kelbrin;
using namespace kelbrin::fuzz;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const FuzzInput input = ParseFuzzInput(data, size);
  const bool threeBlanks = input.Switch(0);
  const ByteRule& rule = TabRule(threeBlanks, input.BlockWidth());
  const std::string output = FeedByteByByte(rule, input.text);

  Require(FeedInBlocks(rule, CutIntoBlocks(input.text, input.blockLengths)) == output,
          "feeding blocks gives what feeding single bytes gives");
  Require(output.size() <= input.text.size(), "never makes its input longer");
  Require(WithoutBlanksAndTabs(output) == WithoutBlanksAndTabs(input.text), "changes nothing but blanks and tabs");
  Require(BytesComeFrom(output, input.text, "\t"), "writes no byte that is not in its input or a tab");
  Require(output.find(threeBlanks ? "   " : "    ") == std::string::npos,
          "leaves no run of blanks that it should have turned into a tab");
  if (input.text.find(' ') == std::string_view::npos) Require(output == input.text, "text without blanks passes unchanged");
  return 0;
}
