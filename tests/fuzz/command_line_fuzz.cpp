// Properties of the command-line splitting rule for any command line: it never
// reads past the line's end (the sanitizers watch), the quotes never reach an
// argument, the arguments are taken from the line in order, and a line
// without quotes splits exactly at its separator bytes.
#include "CommandLine.h"
#include "FuzzInput.h"

using namespace kelbrin::fuzz;
using kelbrin::ui::FirstArgument;
using kelbrin::ui::SplitCommandLine;

namespace {

bool IsSeparator(char c) { return static_cast<unsigned char>(c) >= 0x01 && static_cast<unsigned char>(c) <= 0x20; }

std::vector<std::string> SplitAtSeparators(std::string_view line) {
  std::vector<std::string> words;
  std::string word;
  for (char c : line) {
    if (!IsSeparator(c)) {
      word += c;
    } else if (!word.empty()) {
      words.push_back(std::move(word));
      word.clear();
    }
  }
  if (!word.empty()) words.push_back(std::move(word));
  return words;
}

// Whether `arguments`, one after the other, are a subsequence of `line`.
bool TakenInOrder(const std::vector<std::string>& arguments, std::string_view line) {
  std::size_t at = 0;
  for (const std::string& argument : arguments)
    for (char c : argument) {
      at = line.find(c, at);
      if (at == std::string_view::npos) return false;
      ++at;
    }
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view line(reinterpret_cast<const char*>(data), size);
  const std::vector<std::string> arguments = SplitCommandLine(line);

  for (const std::string& argument : arguments)
    Require(argument.find('"') == std::string::npos, "no argument holds a quote");
  Require(TakenInOrder(arguments, line), "the arguments are bytes of the line, in order");
  if (line.find('"') == std::string_view::npos)
    Require(arguments == SplitAtSeparators(line), "without quotes the line splits at its separators");
  const auto first = FirstArgument(line);
  Require(first ? arguments.size() >= 2 && *first == arguments[1] : arguments.size() < 2,
          "the first argument is the one after the program's name");
  return 0;
}
