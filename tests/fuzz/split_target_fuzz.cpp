// Properties of the split rule for any path, any set of separators and any
// set of lead bytes. The input starts with the lead bytes as a 32-byte bit
// map, then a byte whose low two bits count the separators that follow, then
// the path.
#include "FuzzInput.h"
#include "SplitTarget.h"

using namespace kelbrin;
using namespace kelbrin::fuzz;

namespace {

constexpr std::size_t kMapSize = 32;

struct SplitInput {
  PathRules rules;
  std::string_view path;
};

SplitInput ParseSplitInput(const std::uint8_t* data, std::size_t size) {
  SplitInput input;
  std::size_t at = 0;
  for (; at < kMapSize && at < size; ++at)
    for (int bit = 0; bit < 8; ++bit)
      if ((data[at] >> bit) & 1) input.rules.leadBytes.set(at * 8 + static_cast<std::size_t>(bit));
  const std::size_t separators = at < size ? data[at++] & 3 : 0;
  for (std::size_t i = 0; i < separators && at < size; ++i) input.rules.separators += static_cast<char>(data[at++]);
  input.path = {reinterpret_cast<const char*>(data + at), size - at};
  return input;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const SplitInput input = ParseSplitInput(data, size);
  const TargetFile split = SplitTarget(input.path, input.rules);
  const std::string& dir = split.TargetDir;

  Require(dir + split.TargetFileName == input.path, "the two parts joined give back the path");
  Require(dir.empty() || input.rules.separators.find(dir.back()) != std::string::npos,
          "the directory part is empty or ends in a separator");
  const TargetFile again = SplitTarget(dir, input.rules);
  Require(again.TargetDir == dir && again.TargetFileName.empty(), "the directory part splits at its own end");
  if (input.rules.leadBytes.none())
    Require(split.TargetFileName.find_first_of(input.rules.separators) == std::string::npos,
            "without lead bytes the name holds no separator");
  return 0;
}
