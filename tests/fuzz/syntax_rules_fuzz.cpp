// Properties of the rules with --syntax that must hold for every input: the
// language from the first two switches, code page 932 or UTF-8 from the
// third, tab stops from the fourth, the block path's width from the top two.
#include "FuzzInput.h"
#include "PassRules.h"

using namespace kelbrin;
using namespace kelbrin::fuzz;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const FuzzInput input = ParseFuzzInput(data, size);
  constexpr Language kLanguages[] = {Language::C, Language::Cpp, Language::Java, Language::Pascal};
  const PassRules rules({.language = kLanguages[input.switches & 3],
                         .encoding = input.Switch(2) ? Encoding::Utf8 : Encoding::Cp932,
                         .threeBlanks = !input.Switch(3),
                         .tabStops = input.Switch(3) ? 4 : 0,
                         .width = input.BlockWidth()});
  const auto blocks = CutIntoBlocks(input.text, input.blockLengths);
  const std::string comments = FeedByteByByte(rules.Comment(), input.text);
  const std::string tabs = FeedByteByByte(rules.Tab(), input.text);
  const std::string both = FeedByteByByte(rules.Both(), input.text);

  Require(FeedInBlocks(rules.Comment(), blocks) == comments, "the comment pass: blocks give what single bytes give");
  Require(FeedInBlocks(rules.Tab(), blocks) == tabs, "the tab pass: blocks give what single bytes give");
  Require(FeedInBlocks(rules.Both(), blocks) == both, "both passes: blocks give what single bytes give");
  Require(both == FeedByteByByte(rules.Tab(), comments), "both passes chained give the two one after the other");
  Require(IsSubsequence(comments, input.text), "the comment pass only leaves bytes out");
  Require(CountOf(comments, '\r') == CountOf(input.text, '\r') && CountOf(comments, '\n') == CountOf(input.text, '\n'),
          "the comment pass keeps every line end");
  Require(WithoutBlanksAndTabs(tabs) == WithoutBlanksAndTabs(input.text), "the tab pass changes nothing but blanks and tabs");
  return 0;
}
