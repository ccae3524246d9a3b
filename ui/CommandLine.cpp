#include "CommandLine.h"

namespace kelbrin::ui {
namespace {

constexpr char kQuote = '"';

bool IsSeparator(char c) {
  const auto byte = static_cast<unsigned char>(c);
  return byte >= 0x01 && byte <= 0x20;
}

// Skips separators and empty quote pairs, in any mix, up to the next argument.
void SkipToArgument(std::string_view line, std::size_t& at) {
  for (;;) {
    while (at < line.size() && IsSeparator(line[at])) ++at;
    if (line.substr(at, 2) != "\"\"") return;
    at += 2;
  }
}

std::string ReadArgument(std::string_view line, std::size_t& at) {
  std::string argument;
  while (at < line.size() && !IsSeparator(line[at])) {
    if (line[at] != kQuote) {
      argument += line[at++];
      continue;
    }
    const std::size_t close = line.find(kQuote, at + 1);
    const std::size_t end = close == std::string_view::npos ? line.size() : close;
    argument.append(line.substr(at + 1, end - at - 1));
    at = close == std::string_view::npos ? end : close + 1;
  }
  return argument;
}

}  // namespace

std::vector<std::string> SplitCommandLine(std::string_view commandLine) {
  std::vector<std::string> arguments;
  std::size_t at = 0;
  for (SkipToArgument(commandLine, at); at < commandLine.size(); SkipToArgument(commandLine, at))
    arguments.push_back(ReadArgument(commandLine, at));
  return arguments;
}

std::optional<std::string> FirstArgument(std::string_view commandLine) {
  std::vector<std::string> arguments = SplitCommandLine(commandLine);
  if (arguments.size() < 2) return std::nullopt;
  return std::move(arguments[1]);
}

}  // namespace kelbrin::ui
