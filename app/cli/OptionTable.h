#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace kelbrin::cli {

struct CliRequest;

// One row of the command line's options: a switch, which `set` records in
// the request, or an option with a value (`--word=VALUE`, `--word VALUE`,
// `-xVALUE`, `-x VALUE`), which `take` records, false for a value that the
// option cannot take; `values` says which it can.
struct Option {
  using Set = void (*)(CliRequest& request);
  using Take = bool (*)(CliRequest& request, std::string_view value);

  constexpr Option(char theLetter, const char* theWord, Set setter) : letter(theLetter), word(theWord), set(setter) {}
  constexpr Option(char theLetter, const char* theWord, Take taker, const char* theValues)
      : letter(theLetter), word(theWord), take(taker), values(theValues) {}

  bool TakesValue() const { return take != nullptr; }

  char letter;       // '\0' for an option that only has a word
  const char* word;  // every option has one
  Set set = nullptr;
  Take take = nullptr;
  const char* values = nullptr;  // the values it takes, for the message about one it cannot
};

struct UsageError {
  std::string message;
};

// Reads the options of `table` from `arguments` (the program's name left
// out) with the system's getopt_long, and the rest as files, in order: long
// options by any unambiguous start of their word, options and files in any
// order, `--` ending the options. Says what is wrong with the first option it
// cannot take, as "option '--check' doesn't allow an argument".
std::optional<UsageError> ParseOptions(std::span<const Option> table, const std::vector<std::string_view>& arguments,
                                       CliRequest& request);

}  // namespace kelbrin::cli
