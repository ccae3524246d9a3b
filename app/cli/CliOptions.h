#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "Lexer.h"
#include "RunJunbi.h"

namespace kelbrin::cli {

// What the command line asks for.
struct CliRequest {
  enum class Action { Rewrite, ShowHelp, ShowVersion };
  Action action = Action::Rewrite;
  PassSelection selection;
  std::vector<std::string> files;  // "-" is standard input; none means standard input
  // --syntax: a language, or by each file's extension (auto); none: the plain rules.
  std::optional<Language> language;
  bool languageByExtension = false;
  // --encoding: none for auto.
  std::optional<Encoding> encoding;
  int tabStops = 0;  // --tab-stops; 0 for the counting rule
  bool leading = false;
};

struct UsageError {
  std::string message;
};

std::variant<CliRequest, UsageError> ParseArguments(const std::vector<std::string_view>& arguments);

extern const char* const kUsage;

}  // namespace kelbrin::cli
