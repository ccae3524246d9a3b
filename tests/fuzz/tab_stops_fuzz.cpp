// Properties of the tab-stop rule that must hold for every input: stops every
// 1 to 8 columns from the first three switches (and 64 for their last value),
// UTF-8 or code page 932 from the fourth, the block path's width from the top
// two.
#include <string>

#include "FuzzInput.h"
#include "TabStopRule.h"

using namespace kelbrin;
using namespace kelbrin::fuzz;

namespace {

// The text as shown with tabs `every` columns apart, tabs written as blanks:
// what the rule must keep, wherever it has no character wider than a byte.
std::string Shown(std::string_view text, std::size_t every) {
  std::string shown;
  std::size_t column = 0;
  for (const char c : text) {
    if (c == '\t') {
      const std::size_t to = column + every - column % every;
      shown.append(to - column, ' ');
      column = to;
      continue;
    }
    shown += c;
    column = c == '\r' || c == '\n' ? 0 : column + 1;
  }
  return shown;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const FuzzInput input = ParseFuzzInput(data, size);
  const int every = (input.switches & 7) == 7 ? TabStopRule::kMostColumns : (input.switches & 7) + 1;
  const bool utf8 = input.Switch(3);
  const TabStopRule rule(every, utf8 ? Encoding::Utf8 : Encoding::Cp932, SystemCharWidth, input.BlockWidth());
  const std::string output = FeedByteByByte(rule, input.text);

  Require(FeedInBlocks(rule, CutIntoBlocks(input.text, input.blockLengths)) == output,
          "feeding blocks gives what feeding single bytes gives");
  Require(output.size() <= input.text.size(), "never makes its input longer");
  Require(WithoutBlanksAndTabs(output) == WithoutBlanksAndTabs(input.text), "changes nothing but blanks and tabs");
  if (!utf8 && input.text.find('\b') == std::string_view::npos)
    Require(Shown(output, static_cast<std::size_t>(every)) == Shown(input.text, static_cast<std::size_t>(every)),
            "every character keeps its column");
  return 0;
}
